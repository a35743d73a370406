// The flat look pixel by pixel, as the screen shows it after real events:
// the colour functions and the colour scheme, the push button in each of
// its looks, group boxes and panels. Expected colours are worked out from
// the definitions of the look (xphost.h), not taken from the painter.
#include <QFontMetrics>
#include <QStyleFactory>
#include <QtTest>

#include "tests/widgets/testform.h"
#include "tests/widgets/xphost.h"

namespace {

enum class ButtonLook { Normal, FocusedMouseElsewhere, Hot, PressedByMouse, PressedBySpace, Disabled };

// Brings `host.button` into `look` with the mouse and the keyboard.
void drive(XPHost &host, ButtonLook look)
{
    QPushButton *b = host.button;
    host.inner->setFocus(Qt::OtherFocusReason);
    switch (look) {
    case ButtonLook::Normal:
        break;
    case ButtonLook::FocusedMouseElsewhere:
        b->setFocus(Qt::TabFocusReason);
        hover(b, true);
        hover(b, false);
        break;
    case ButtonLook::Hot:
        hover(b, true);
        break;
    case ButtonLook::PressedByMouse:
        hover(b, true);
        QTest::mousePress(b, Qt::LeftButton, {}, b->rect().center());
        break;
    case ButtonLook::PressedBySpace: // just tabbed onto: hot
        b->setFocus(Qt::TabFocusReason);
        QTest::keyPress(b, Qt::Key_Space);
        break;
    case ButtonLook::Disabled:
        b->setEnabled(false);
        hover(b, true);
        break;
    }
}

} // namespace

class TestXPPaint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion"))); }

    void colourFunctions_data()
    {
        QTest::addColumn<bool>("lighten");
        QTest::addColumn<TColor>("color");
        QTest::addColumn<int>("amount");
        QTest::addColumn<QColor>("expected");
        const TColor grey = rgbColor(128, 128, 128);
        QTest::newRow("lighten grey 60") << true << grey << 60 << QColor(204, 204, 204);
        QTest::newRow("lighten black 50, half up to even") << true << clBlack << 50 << QColor(128, 128, 128);
        QTest::newRow("lighten 254 by 50, half down to even")
            << true << rgbColor(254, 252, 0) << 50 << QColor(254, 254, 128);
        QTest::newRow("lighten 100 gives white") << true << grey << 100 << QColor(255, 255, 255);
        QTest::newRow("lighten above 100 gives white") << true << clNavy << 250 << QColor(255, 255, 255);
        QTest::newRow("lighten 0 keeps") << true << rgbColor(1, 2, 3) << 0 << QColor(1, 2, 3);
        QTest::newRow("lighten below 0 darkens, not below 0")
            << true << rgbColor(200, 100, 255) << -100 << QColor(145, 0, 255);
        QTest::newRow("lighten a system colour") << true << clBtnShadow << 30 << QColor(166, 166, 166);
        QTest::newRow("darken grey 60") << false << grey << 60 << QColor(68, 70, 68);
        QTest::newRow("darken black 0") << false << clBlack << 0 << QColor(0, 2, 0);
        QTest::newRow("darken white 0, not above 255") << false << clWhite << 0 << QColor(255, 255, 255);
        QTest::newRow("darken black 10, not below 0") << false << clBlack << 10 << QColor(0, 0, 0);
        QTest::newRow("darken a system colour") << false << clBtnFace << 60 << QColor(152, 150, 140);
    }

    void colourFunctions()
    {
        QFETCH(bool, lighten);
        QFETCH(TColor, color);
        QFETCH(int, amount);
        QFETCH(QColor, expected);
        const TColor got = lighten ? LightenColor(color, amount) : DarkenColor(color, amount);
        QVERIFY(!isSysColor(got));
        QCOMPARE(resolveColor(got), expected);
    }

    void scheme_data()
    {
        QTest::addColumn<QImage::Format>("surface");
        QTest::addColumn<bool>("systemColors");
        QTest::addColumn<bool>("highColor");
        QTest::addColumn<TColor>("iconStripBack");
        QTest::addColumn<TColor>("disabledText");
        QTest::addColumn<TColor>("selectFill");
        const TColor face16 = qColorToColor(lighten(sys(clBtnFace), 16));
        const TColor shadow10 = qColorToColor(lighten(sys(clBtnShadow), 10));
        const TColor select68 = qColorToColor(lighten(sys(clHighlight), 68));
        QTest::newRow("32 bpp") << QImage::Format_RGB32 << true << true << face16 << shadow10 << select68;
        QTest::newRow("16 bpp") << QImage::Format_RGB16 << true << true << face16 << shadow10 << select68;
        QTest::newRow("8 bpp") << QImage::Format_Indexed8 << true << false << clBtnFace << clBtnShadow << clWhite;
        QTest::newRow("1 bpp") << QImage::Format_Mono << true << false << clBtnFace << clBtnShadow << clWhite;
        // The colour properties instead (SelectColor dimmed).
        QTest::newRow("own colours") << QImage::Format_RGB32 << false << true << clYellow << clRed
                                     << qColorToColor(lighten(sys(clLime), 68));
    }

    void scheme()
    {
        QFETCH(QImage::Format, surface);
        QFETCH(bool, systemColors);
        XPHost host;
        TXPStylePainter &p = *host.painter;
        p.setUseSystemColors(systemColors);
        p.setUseDimColor(true);
        p.setIconBackColor(clYellow);
        p.setDisabledColor(clRed);
        p.setSelectColor(clLime);
        p.setSelectBorderColor(clBlue);
        QVERIFY(p.SchemeDirty());
        const QImage image(4, 4, surface);
        p.ComputeColorScheme(&image);
        QVERIFY(!p.SchemeDirty());
        QTEST(p.HighColor(), "highColor");
        QCOMPARE(p.FaceLightenNormal(), 16);
        QCOMPARE(p.FaceLightenHot(), 40);
        QTEST(p.XPColorScheme().IconStripBack, "iconStripBack");
        QTEST(p.XPColorScheme().DisabledText, "disabledText");
        QTEST(p.XPColorScheme().SelectFill, "selectFill");
        QCOMPARE(p.XPColorScheme().SelectFrame, systemColors ? clHighlight : clBlue);
    }

    void button_data()
    {
        QTest::addColumn<int>("look");
        QTest::addColumn<int>("tag");
        QTest::addColumn<QColor>("parent");
        QTest::addColumn<bool>("highColor");
        QTest::addColumn<QColor>("face");
        QTest::addColumn<QColor>("frame"); // the base of outline and shade
        QTest::addColumn<int>("shade");    // 0 none, 1 right and bottom, 2 left and top
        QTest::addColumn<QColor>("caption");
        const QColor face = sys(clBtnFace), shadow = sys(clBtnShadow), black(0, 0, 0);
        const QColor selected = lighten(sys(clHighlight), 60);
        const QColor parent = face, odd(90, 140, 190);
        QTest::newRow("normal") << int(ButtonLook::Normal) << 0 << parent << true << lighten(face, 16) << shadow << 1
                                << black;
        QTest::newRow("focused, mouse elsewhere") << int(ButtonLook::FocusedMouseElsewhere) << 0 << parent << true
                                                  << lighten(face, 16) << selected << 1 << black;
        QTest::newRow("hot") << int(ButtonLook::Hot) << 0 << parent << true << lighten(face, 40) << selected << 1
                             << black;
        QTest::newRow("pressed by the mouse")
            << int(ButtonLook::PressedByMouse) << 0 << parent << true << lighten(face, 40) << selected << 2 << black;
        QTest::newRow("pressed by the space bar")
            << int(ButtonLook::PressedBySpace) << 0 << parent << true << lighten(face, 40) << selected << 2 << black;
        QTest::newRow("disabled") << int(ButtonLook::Disabled) << 0 << parent << true << lighten(face, 16) << shadow
                                  << 0 << lighten(shadow, 10);
        QTest::newRow("Tag 1000") << int(ButtonLook::Normal) << 1000 << odd << true << lighten(odd, 16) << shadow << 1
                                  << black;
        QTest::newRow("Tag 1000, hot") << int(ButtonLook::Hot) << 1000 << odd << true << lighten(odd, 40) << selected
                                       << 1 << black;
        QTest::newRow("under 16 bpp") << int(ButtonLook::Normal) << 0 << parent << false << face << shadow << 1
                                      << black;
        QTest::newRow("under 16 bpp, disabled")
            << int(ButtonLook::Disabled) << 0 << parent << false << face << shadow << 0 << shadow;
    }

    void button()
    {
        QFETCH(int, look);
        QFETCH(int, tag);
        QFETCH(QColor, parent);
        QFETCH(bool, highColor);
        QFETCH(QColor, face);
        QFETCH(QColor, frame);
        QFETCH(int, shade);
        QFETCH(QColor, caption);
        XPHost host;
        host.setPalette(QPalette(parent));
        host.button->setProperty("Tag", tag);
        host.activate();
        if (!highColor) {
            const QImage lowColour(4, 4, QImage::Format_Indexed8);
            host.painter->ComputeColorScheme(&lowColour);
        }
        QVERIFY(showActive(host));
        drive(host, ButtonLook(look));
        const QImage img = shownPixels(host.button);
        const int W = img.width(), H = img.height();
        const QSize text = QFontMetrics(host.button->font()).size(Qt::TextShowMnemonic, host.button->text());
        const QRect box((W - text.width()) / 2, (H - text.height()) / 2, text.width(), text.height());
        const QString wrong = mismatch(img, buttonRule(W, H, parent, face, frame, shade), {box});
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        QVERIFY(contains(img, box, caption));
        QCOMPARE(contains(img, box, QColor(0, 0, 0)), caption == QColor(0, 0, 0));
    }

    // A default button shows four darker copies under its caption: the last
    // ones in the face darkened by 60 and by 30.
    void defaultButton_data()
    {
        QTest::addColumn<bool>("isDefault");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("default") << true << true;
        QTest::newRow("not default") << false << true;
        QTest::newRow("default, disabled") << true << false;
    }

    void defaultButton()
    {
        QFETCH(bool, isDefault);
        QFETCH(bool, enabled);
        XPHost host;
        host.button->setDefault(isDefault);
        host.button->setEnabled(enabled);
        host.activate();
        QVERIFY(showActive(host));
        drive(host, ButtonLook::Normal);
        const QImage img = shownPixels(host.button);
        const QColor face = lighten(sys(clBtnFace), 16);
        const QRect inside = img.rect().adjusted(1, 1, -1, -1);
        QCOMPARE(contains(img, inside, darken(face, 60)), isDefault && enabled);
        QCOMPARE(contains(img, inside, darken(face, 30)), isDefault && enabled);
    }

    void groupBox_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("ctl3D");
        QTest::addColumn<bool>("rightToLeft");
        const QString caption = QStringLiteral("Ввод расчётных параметров");
        QTest::newRow("caption") << caption << true << false;
        QTest::newRow("caption with gaps") << QStringLiteral("Т    Т") << true << false;
        QTest::newRow("empty caption") << QString() << true << false;
        QTest::newRow("Ctl3D off") << caption << false << false;
        QTest::newRow("right to left") << caption << true << true;
    }

    void groupBox()
    {
        QFETCH(QString, caption);
        QFETCH(bool, ctl3D);
        QFETCH(bool, rightToLeft);
        XPHost host;
        QGroupBox *g = host.group;
        const QColor parent = sys(clBtnFace), color(200, 210, 230);
        XPHost::setPaletteColor(g, color);
        g->setTitle(caption);
        g->setProperty("Ctl3D", ctl3D);
        g->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        host.inner->hide();
        host.activate();
        QVERIFY(showActive(host));
        const QImage img = shownPixels(g);
        const int W = img.width(), H = img.height();
        const QFontMetrics fm(g->font());
        const int h = fm.height(), tw = caption.isEmpty() ? 0 : fm.horizontalAdvance(caption);
        const int edgeRow = h / 2 + 1;
        QCOMPARE(edgeRow, 7); // in the window font
        const int capLeft = rightToLeft ? W - 9 - tw : 9;
        const QRect capBox(capLeft, 0, tw, h);
        const QColor edge = ctl3D ? lighten(color, 60) : darken(color, 60);
        const PixelRule frame = groupBoxRule(W, H, parent, color, edgeRow, edge);
        // In the caption box the caption, and the top edge broken: the box
        // colour from the edge's row down, between the glyphs too.
        const QColor ink(0, 0, 0);
        const PixelRule rule = [&](int x, int y) {
            if (!capBox.contains(x, y))
                return frame(x, y);
            return img.pixelColor(x, y) == ink ? ink : y >= edgeRow ? color : parent;
        };
        const QString wrong = mismatch(img, rule);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        QCOMPARE(contains(img, capBox, ink), !caption.isEmpty());
    }

    void panel_data()
    {
        QTest::addColumn<int>("outer");
        QTest::addColumn<int>("inner");
        QTest::addColumn<int>("bevelWidth");
        QTest::addColumn<int>("borderWidth");
        QTest::newRow("raised, as on the window") << int(TPanel::bvRaised) << int(TPanel::bvNone) << 1 << 0;
        QTest::newRow("lowered, 2 wide") << int(TPanel::bvLowered) << int(TPanel::bvNone) << 2 << 0;
        QTest::newRow("space outside, lowered inside") << int(TPanel::bvSpace) << int(TPanel::bvLowered) << 1 << 3;
        QTest::newRow("none outside, raised inside") << int(TPanel::bvNone) << int(TPanel::bvRaised) << 1 << 2;
    }

    void panel()
    {
        QFETCH(int, outer);
        QFETCH(int, inner);
        QFETCH(int, bevelWidth);
        QFETCH(int, borderWidth);
        XPHost host;
        TPanel *p = host.panel;
        const QColor parent = sys(clBtnFace), color(160, 180, 120);
        XPHost::setPaletteColor(p, color);
        p->setBevelOuter(TPanel::TBevelCut(outer));
        p->setBevelInner(TPanel::TBevelCut(inner));
        p->setBevelWidth(bevelWidth);
        p->setBorderWidth(borderWidth);
        host.activate();
        QVERIFY(showActive(host));
        const QImage img = shownPixels(p);
        const int W = img.width(), H = img.height();
        const QColor light = lighten(color, 60), dark = darken(color, 60);
        // Ring k (0 outermost): left and top in the first colour, right and
        // bottom in the second; the top-right pixel goes with the right.
        QList<std::pair<QColor, QColor>> rings;
        const auto add = [&](int cut) {
            for (int i = 0; i < bevelWidth; ++i)
                rings << (cut == TPanel::bvLowered ? std::pair(dark, light) : std::pair(light, dark));
        };
        if (outer != TPanel::bvNone)
            add(outer);
        if (inner != TPanel::bvNone) {
            for (int i = 0; i < borderWidth; ++i)
                rings << std::pair(QColor(), QColor());
            add(inner);
        }
        const QString wrong = mismatch(img, panelRule(W, H, parent, rings));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }
};

QTEST_MAIN(TestXPPaint)
#include "test_xppaint.moc"
