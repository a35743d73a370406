// The flat hint component (what it installs, its hook) and the flat hint
// window: size, corner and place by the pointer, and every pixel it paints.
#include <QScreen>
#include <QWindow>
#include <QtTest>

#include <memory>
#include <set>
#include <utility>

#include "ui/lookandfeel.h"
#include "widgets/flathint.h"
#include "widgets/flathintwindow.h"

using Corner = TFlatHintWindow::TArrowCorner;

namespace {

const QString kPumpHint = QStringLiteral("Перепад давления на насосе, атм");
const QString kLongHint = QStringLiteral("Суммарный перепад давления на оборудовании, не учтённом в данной схеме, атм");

// Hint settings that remember every switch of hints on and off.
class RecordingSettings : public HintSettings
{
public:
    QList<bool> switches;

protected:
    void hintsEnabledChanged(bool enabled) override { switches << enabled; }
};

// The lines of `text` broken between words so that each is at most `limit`
// pixels wide (a word wider than that stands alone).
QStringList wrapWords(const QFontMetricsF &fm, const QString &text, int limit)
{
    QStringList lines;
    for (const QString &word : text.split(QLatin1Char(' '))) {
        if (!lines.isEmpty() && fm.horizontalAdvance(lines.last() + QLatin1Char(' ') + word) <= limit)
            lines.last() += QLatin1Char(' ') + word;
        else
            lines << word;
    }
    return lines;
}

// The arrow glyph of the top-left corner, row by row from the tip's row:
// the offsets dx set in each row.
std::set<std::pair<int, int>> arrowGlyph()
{
    const QList<QList<int>> rows = {
        {0, 1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4},    {0, 1, 2, 3, 4, 5},
        {0, 1, 2, 3, 4, 5, 6}, {0, 1, 3, 4, 5, 6, 7}, {0, 1, 4, 5, 6, 7}, {5, 6}};
    std::set<std::pair<int, int>> glyph;
    for (int dy = 0; dy < rows.size(); ++dy)
        for (int dx : rows[dy])
            glyph.insert({dx, dy});
    return glyph;
}

QSize screenSize() { return QGuiApplication::primaryScreen()->geometry().size(); }

} // namespace

class TestFlatHint : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<RecordingSettings> m_settings;
    // Stands for the main window: owns the component the window consults.
    std::unique_ptr<QWidget> m_owner;
    TFlatHint *m_component = nullptr;
    std::unique_ptr<TFlatHintWindow> m_window;
    QPoint m_pointer;

    // Shows `text` with the pointer at `at`.
    void activate(const QString &text, QPoint at)
    {
        m_pointer = at;
        m_window->activateHint(QRect(), text);
    }

private slots:
    void initTestCase()
    {
        installLookAndFeel();
        m_settings = std::make_unique<RecordingSettings>();
        QCOMPARE(HintSettings::application(), m_settings.get());
        m_owner = std::make_unique<QWidget>();
        m_owner->resize(200, 100);
        m_component = new TFlatHint(m_owner.get());
        // the values stored on the main window
        m_component->setColorBorder(clHighlight);
        m_component->setColorArrowBackground(clInactiveCaption);
        m_component->setColorArrow(clMenuText);
        m_component->setMaxHintWidth(230);
        m_component->setFont(designFont(kWindowFontPixels));
        m_component->setFontColor(clWindowText);
        m_owner->show();
        QApplication::setActiveWindow(m_owner.get());
        QVERIFY(QTest::qWaitForWindowActive(m_owner.get()));

        m_window = std::make_unique<TFlatHintWindow>();
        m_window->setMainWindow(m_owner.get());
        m_window->setPointerSource([this] { return m_pointer; });
    }

    void cleanupTestCase()
    {
        m_window.reset();
        m_owner.reset();
        m_settings.reset();
    }

    void constructionInstallsFlatHints()
    {
        // The component made in initTestCase: flat window class, hints
        // switched off and on (the window is recreated of that class), and
        // the delays.
        QCOMPARE(m_settings->hintWindowClass(), &TFlatHintWindow::staticMetaObject);
        QCOMPARE(m_settings->switches, QList<bool>({false, true}));
        QVERIFY(m_settings->hintsEnabled());
        QCOMPARE(m_settings->showDelay(), 500);
        QCOMPARE(m_settings->nextHintDelay(), 25);
        QCOMPARE(m_settings->displayTime(), 5000);

        TFlatHint fresh;
        QCOMPARE(fresh.ColorBackground(), clWhite);
        QCOMPARE(fresh.ColorBorder(), clBlack);
        QCOMPARE(fresh.ColorArrowBackground(), rgbColor(255, 210, 83));
        QCOMPARE(fresh.ColorArrow(), clBlack);
        QCOMPARE(fresh.MaxHintWidth(), 200);
        QCOMPARE(fresh.Font(), QGuiApplication::font());
        QCOMPARE(fresh.FontColor(), clWindowText);
    }

    void showHintHookPassesThrough()
    {
        auto hint = std::make_unique<TFlatHint>();
        const TShowHintEvent hook = m_settings->showHintHook();
        QVERIFY(hook);
        QString text = kPumpHint;
        bool canShow = true;
        THintInfo info{m_owner.get(), QPoint(3, 4), QRect(0, 0, 5, 6)};
        // Without OnShowHint everything passes unchanged.
        hook(text, canShow, info);
        QCOMPARE(text, kPumpHint);
        QVERIFY(canShow);
        // OnShowHint sees the values and may change them.
        hint->OnShowHint = [&](QString &HintStr, bool &CanShow, THintInfo &HintInfo) {
            QCOMPARE(HintStr, kPumpHint);
            QCOMPARE(HintInfo.HintControl.data(), m_owner.get());
            QCOMPARE(HintInfo.CursorPos, QPoint(3, 4));
            HintStr = QStringLiteral("другой");
            CanShow = false;
        };
        hook(text, canShow, info);
        QCOMPARE(text, QStringLiteral("другой"));
        QVERIFY(!canShow);
        // A hook left behind by a component that is gone does nothing.
        hint.reset();
        canShow = true;
        hook(text, canShow, info);
        QVERIFY(canShow);
    }

    void sizes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("one line") << kPumpHint;
        QTest::newRow("long hint wraps") << kLongHint;
        QTest::newRow("word wider than the limit")
            << QStringLiteral("Теплообменник Гидравлическоесопротивлениетеплообменникаирегулирующегоклапана атм");
        QTest::newRow("ampersand is a character") << QStringLiteral("Давление && расход & Q");
    }

    void sizes()
    {
        QFETCH(QString, text);
        activate(text, QPoint(10, 10));
        QCOMPARE(m_window->HintComponent(), m_component);
        // Expected sizes from the metrics of the font drawn (a substitute):
        // the widest line in whole pixels, and the height of one text line
        // as the toolkit lays it out (13 pixels for "MS Sans Serif" 8 pt).
        const QFontMetricsF fm(m_component->Font());
        QCOMPARE(QFontInfo(m_window->font()).family(), QString::fromLatin1(kSubstituteFamily));
        const QStringList lines = wrapWords(fm, text, 230 - 22);
        qreal widest = 0;
        for (const QString &line : lines)
            widest = qMax(widest, fm.horizontalAdvance(line));
        const int n = int(lines.size());
        const int lineHeight =
            QFontMetrics(m_component->Font())
                .boundingRect(QRect(0, 0, 1000, 0), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Ag"))
                .height();
        QCOMPARE(m_window->width(), qCeil(widest) + 22);
        QCOMPARE(m_window->height(), n * lineHeight + 6);
        if (text == kPumpHint)
            QCOMPARE(n, 1);
        if (text == kLongHint) {
            QVERIFY(n > 1);
            QVERIFY(m_window->width() <= 230);
        }
        if (text.contains(QLatin1String("Гидравлическое")))
            QVERIFY(m_window->width() > 230);
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("screen"); // the primary screen
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<Corner>("corner");
        QTest::addColumn<int>("gap");
        // at the origin, right of another screen, below one, at negative
        // coordinates
        for (const QRect screen : {QRect(QPoint(0, 0), screenSize()), QRect(1920, 0, 1280, 1024),
                                   QRect(0, 1080, 1920, 1200), QRect(-1024, -768, 1024, 768)}) {
            const QPoint o = screen.topLeft();
            const int w = screen.width(), h = screen.height(), cx = w / 2, cy = h / 2;
            const auto row = [&](const char *name, QPoint at, Corner corner, int gap) {
                QTest::addRow("%s, screen at %d,%d", name, o.x(), o.y()) << screen << o + at << corner << gap;
            };
            row("centre is bottom-right", {cx, cy}, TFlatHintWindow::acBottomRight, 5);
            row("just above-left of centre is top-left", {cx - 1, cy - 1}, TFlatHintWindow::acTopLeft, 12);
            row("top-right quarter", {cx, cy - 1}, TFlatHintWindow::acTopRight, 5);
            row("bottom-left quarter", {cx - 1, cy}, TFlatHintWindow::acBottomLeft, 5);
            row("screen origin", {0, 0}, TFlatHintWindow::acTopLeft, 12);
            row("last screen pixel", {w - 1, h - 1}, TFlatHintWindow::acBottomRight, 5);
            row("left of the screen", {-1, 5}, TFlatHintWindow::acBottomRight, 5);
            row("right of the screen", {w, 5}, TFlatHintWindow::acBottomRight, 5);
            row("above the screen", {5, -1}, TFlatHintWindow::acBottomRight, 5);
        }
    }

    void placement()
    {
        QFETCH(QRect, screen);
        QFETCH(QPoint, at);
        QFETCH(Corner, corner);
        QFETCH(int, gap);
        m_window->setScreenSource([screen] { return screen; });
        activate(kPumpHint, at);
        m_window->setScreenSource({});
        QCOMPARE(m_window->ArrowCorner(), corner);
        const int w = m_window->width(), h = m_window->height();
        const bool right = corner == TFlatHintWindow::acTopLeft || corner == TFlatHintWindow::acBottomLeft;
        const bool below = corner == TFlatHintWindow::acTopLeft || corner == TFlatHintWindow::acTopRight;
        // Not kept on the screen: off-screen pointers place it off the screen.
        const QRect expected(right ? at.x() + gap : at.x() - gap - w, below ? at.y() + gap : at.y() - gap - h, w, h);
        QCOMPARE(m_window->geometry(), expected);
        QVERIFY(m_window->isVisible());
    }

    void showsWithoutTakingAnything()
    {
        activate(kPumpHint, QPoint(40, 40));
        QVERIFY(m_window->isVisible());
        QCOMPARE(QApplication::activeWindow(), m_owner.get());
        QVERIFY(m_window->testAttribute(Qt::WA_TransparentForMouseEvents));
        QVERIFY(m_window->testAttribute(Qt::WA_ShowWithoutActivating));
        QCOMPARE(m_window->windowType(), Qt::ToolTip);
        // Placed relative to the main window where the platform needs one.
        QVERIFY(m_window->windowHandle());
        QCOMPARE(m_window->windowHandle()->transientParent(), m_owner->windowHandle());
        m_window->hide();
    }

    void pixels_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<Corner>("corner");
        QTest::addColumn<QPoint>("tip"); // from the right and bottom when negative
        QTest::addColumn<QString>("text");
        QTest::addColumn<TColor>("fontColor");
        const int cx = screenSize().width() / 2, cy = screenSize().height() / 2;
        const QPoint topLeft(cx - 100, cy - 100);
        QTest::newRow("acTopLeft") << topLeft << TFlatHintWindow::acTopLeft << QPoint(3, 3) << kPumpHint
                                   << clWindowText;
        QTest::newRow("acTopRight") << QPoint(cx + 100, cy - 100) << TFlatHintWindow::acTopRight << QPoint(-4, 3)
                                    << kPumpHint << clWindowText;
        QTest::newRow("acBottomLeft") << QPoint(cx - 100, cy + 100) << TFlatHintWindow::acBottomLeft << QPoint(3, -4)
                                      << kPumpHint << clWindowText;
        QTest::newRow("acBottomRight") << QPoint(cx + 100, cy + 100) << TFlatHintWindow::acBottomRight << QPoint(-4, -4)
                                       << kPumpHint << clWindowText;
        // "&" painted as measured: up to the measured width
        QTest::newRow("ampersands") << topLeft << TFlatHintWindow::acTopLeft << QPoint(3, 3)
                                    << QStringLiteral("Давление && расход & Q") << clWindowText;
        QTest::newRow("FontColor") << topLeft << TFlatHintWindow::acTopLeft << QPoint(3, 3) << kPumpHint << clBlue;
    }

    void pixels()
    {
        QFETCH(QPoint, at);
        QFETCH(Corner, corner);
        QFETCH(QPoint, tip);
        QFETCH(QString, text);
        QFETCH(TColor, fontColor);
        m_component->setFontColor(fontColor);
        const auto restore = qScopeGuard([this] { m_component->setFontColor(clWindowText); });
        activate(text, at);
        QCOMPARE(m_window->ArrowCorner(), corner);
        const QImage img = m_window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int w = img.width(), h = img.height();
        QCOMPARE(img.size(), m_window->size());
        const QPoint arrowTip(tip.x() < 0 ? w + tip.x() : tip.x(), tip.y() < 0 ? h + tip.y() : tip.y());
        QCOMPARE(m_window->ArrowTip(), arrowTip);

        // Solid fills and pen pixels: compared exactly.
        const QRgb border = qRgb(10, 36, 106);  // clHighlight
        const QRgb strip = qRgb(128, 128, 128); // clInactiveCaption
        const QRgb arrow = qRgb(0, 0, 0);       // clMenuText
        const QRgb background = qRgb(255, 255, 255);
        const bool left = tip.x() > 0;
        const int sx = left ? 1 : -1, sy = tip.y() > 0 ? 1 : -1;
        const QRect stripRect = left ? QRect(1, 1, 14, h - 2) : QRect(w - 15, 1, 14, h - 2);
        const QRect textArea = left ? QRect(15, 1, w - 16, h - 2) : QRect(1, 1, w - 16, h - 2);
        const QRect textBox(left ? 18 : 4, 2, w - 22, h - 4);
        QCOMPARE(m_window->textBox(), textBox);
        const auto glyph = arrowGlyph();
        // Text pixels mix the font colour into the white: a channel full in
        // the font colour stays full.
        const QColor fontInk = resolveColor(fontColor);
        const QRgb full =
            qRgb(fontInk.red() == 255 ? 255 : 0, fontInk.green() == 255 ? 255 : 0, fontInk.blue() == 255 ? 255 : 0);
        int ink = 0, inkLeft = w, inkRight = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const QRgb px = img.pixel(x, y);
                const QString where = QStringLiteral("%1,%2").arg(x).arg(y);
                if (x == 0 || y == 0 || x == w - 1 || y == h - 1) {
                    QVERIFY2(px == border, qPrintable(where));
                } else if (stripRect.contains(x, y)) {
                    const bool set = glyph.count({(x - arrowTip.x()) * sx, (y - arrowTip.y()) * sy}) > 0;
                    QVERIFY2(px == (set ? arrow : strip), qPrintable(where));
                } else if (!textBox.contains(x, y)) {
                    QVERIFY2(textArea.contains(x, y) && px == background, qPrintable(where));
                } else {
                    QVERIFY2((px & full) == full, qPrintable(where));
                    if (qGray(px) < 96) {
                        ++ink;
                        inkLeft = qMin(inkLeft, x);
                        inkRight = qMax(inkRight, x);
                    }
                }
            }
        }
        // The text is drawn dark on the white area, from the box's left edge
        // to its right one.
        QVERIFY(ink > 50);
        QVERIFY2(inkLeft >= textBox.left() && inkLeft <= textBox.left() + 2, qPrintable(QString::number(inkLeft)));
        QVERIFY2(inkRight >= textBox.right() - 3, qPrintable(QString::number(inkRight)));
        m_window->hide();
    }

    void withoutComponentTheDefaults()
    {
        QWidget bare;
        TFlatHintWindow plain;
        plain.setMainWindow(&bare);
        plain.setPointerSource([] { return QPoint(5, 5); });
        plain.activateHint(QRect(), kLongHint);
        QCOMPARE(plain.HintComponent(), nullptr);
        QVERIFY(plain.width() <= 200);
        QVERIFY(plain.height() > QFontMetrics(plain.font()).height() + 6);
        const QImage img = plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(img.pixel(0, 0), qRgb(0, 0, 0));
        QCOMPARE(img.pixel(1, img.height() - 2), qRgb(255, 210, 83));
        QCOMPARE(img.pixel(img.width() - 2, 1), qRgb(255, 255, 255));
    }
};

QTEST_MAIN(TestFlatHint)
#include "test_flathint.moc"
