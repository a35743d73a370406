// The layout of the main window: the window's own frame, the pages, every
// control of the window description with its class, parent, geometry,
// caption, font and hint, the hot zones, the non-visual components and the
// pixel heights of the design fonts.
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "tests/ui/mainformfixture.h"
#include "tests/ui/windowtexts.h"
#include "ui/lookandfeel.h"
#include "ui/mainwindow.h"
#include "ui/pagecontrol.h"
#include "ui_Form_Main.h"
#include "widgets/flatfloatedit.h"
#include "widgets/flathint.h"
#include "widgets/flatmanager.h"
#include "widgets/image.h"
#include "widgets/panel.h"
#include "widgets/xpstylepainter.h"

class TestLayout : public MainFormFixture
{
    Q_OBJECT

private:
    QWidget *control(const QString &name) const { return m_form->findChild<QWidget *>(name); }

private slots:
    void window()
    {
        QCOMPARE(m_form->objectName(), QStringLiteral("Form_Main"));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Подбор клапана регулирующего v1.02"));
        QCOMPARE(m_form->size(), QSize(808, 588));
        QCOMPARE(m_form->minimumSize(), QSize(808, 588));
        QCOMPARE(m_form->maximumSize(), QSize(808, 588));
        const Qt::WindowFlags f = m_form->windowFlags();
        QVERIFY(f.testFlag(Qt::Window));
        QVERIFY(f.testFlag(Qt::WindowTitleHint));
        QVERIFY(f.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(f.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(f.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!f.testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(m_form->palette().color(QPalette::Window), resolveColor(clBtnFace));
        QCOMPARE(QFontInfo(m_form->font()).family(), QString::fromLatin1(kSub));
        QCOMPARE(m_form->font().pixelSize(), 11);
        QVERIFY(!m_form->font().bold());

        const QList<QSize> sizes = m_form->windowIcon().availableSizes();
        for (int s : {16, 32, 48})
            QVERIFY2(sizes.contains(QSize(s, s)), qPrintable(QString::number(s)));
    }

    void pages()
    {
        auto *pc = m_form->findChild<TPageControl *>(QStringLiteral("PgCtrl_Sys"));
        QVERIFY(pc);
        QCOMPARE(pc->parentWidget(), m_form);
        QCOMPARE(pc->geometry(), QRect(0, 0, 808, 588));
        QCOMPARE(pc->focusPolicy(), Qt::NoFocus);
        QCOMPARE(pc->tabBar()->focusPolicy(), Qt::NoFocus);
        QCOMPARE(pc->count(), 3);
        const QStringList names{"Sht_Sys1", "Sht_Sys2", "Sht_Dia"};
        const QStringList captions{QStringLiteral("Система с ЗАВИСИМЫМ присоединением потребителя"),
                                   QStringLiteral("Система с НЕЗАВИСИМЫМ присоединением потребителя"),
                                   QStringLiteral("Выбор клапана по диаграмме")};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(pc->widget(i)->objectName(), names[i]);
            QCOMPARE(pc->tabText(i), captions[i]);
            // Pages fill the page control below the tab row, without a frame.
            pc->setCurrentIndex(i);
            QCOMPARE(pc->widget(i)->size(), QSize(800, 557));
            QCOMPARE(pc->widget(i)->mapTo(m_form, QPoint(0, 0)), QPoint(4, 27));
        }
        // Every tab caption fits its button, and the buttons fit the row.
        auto *bar = pc->flatTabBar();
        QFontMetrics fm(bar->font());
        for (int i = 0; i < 3; ++i) {
            QVERIFY(fm.horizontalAdvance(pc->tabText(i)) <= bar->buttonRect(i).width() - 2);
            QVERIFY(bar->mapTo(m_form, bar->tabRect(i).topRight()).x() < 808);
            QCOMPARE(bar->buttonRect(i).height(), FlatTabBar::kTabHeight);
        }
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QString>("hint");

        auto row = [](const char *name, const char *cls, const char *parent, QRect g, const QString &caption, int px,
                      bool bold, const QString &hint) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(cls) << QString::fromLatin1(parent)
                                << g << caption << px << bold << hint;
        };
        const QString none;
        // Pictures
        row("Img1", "TImage", "Sht_Sys1", {0, 0, 800, 400}, none, 11, false, none);
        row("Img2", "TImage", "Sht_Sys2", {0, 0, 800, 400}, none, 11, false, none);
        row("Img3", "TImage", "Sht_Dia", {0, 0, 423, 557}, none, 11, false, none);
        // Hot zones
        row("L__dPf1a", "QLabel", "Sht_Sys1", {171, 51, 80, 115}, none, 11, false, kHintFilter);
        row("L__dPPR1", "QLabel", "Sht_Sys1", {286, 50, 90, 115}, none, 11, false, kHintMeter);
        row("L__dPkl1", "QLabel", "Sht_Sys1", {414, 8, 79, 159}, none, 11, false, kHintValve);
        row("L__dPf1b", "QLabel", "Sht_Sys1", {598, 269, 80, 115}, none, 11, false, kHintFilter);
        row("L__dPr1", "QLabel", "Sht_Sys1", {48, 77, 69, 212}, none, 11, false, kHintInlet);
        row("L__dPs", "QLabel", "Sht_Sys1", {702, 77, 69, 212}, none, 11, false, kHintSystem);
        row("L__dPtr1", "QLabel", "Sht_Sys1", {232, 256, 173, 55}, none, 11, false, kHintPipes);
        row("L__dPn", "QLabel", "Sht_Sys1", {598, 38, 79, 131}, none, 11, false, kHintPump);
        row("L__dPf2", "QLabel", "Sht_Sys2", {171, 51, 80, 115}, none, 11, false, kHintFilter);
        row("L__dPPR2", "QLabel", "Sht_Sys2", {309, 51, 90, 115}, none, 11, false, kHintMeter);
        row("L__dPkl2", "QLabel", "Sht_Sys2", {273, 225, 79, 159}, none, 11, false, kHintValve);
        row("L__dPr2", "QLabel", "Sht_Sys2", {48, 77, 69, 212}, none, 11, false, kHintInlet);
        row("L__dPt", "QLabel", "Sht_Sys2", {424, 77, 69, 212}, none, 11, false, kHintExchanger);
        row("L__dPtr2", "QLabel", "Sht_Sys2", {156, 256, 89, 55}, none, 11, false, kHintPipes);
        // Result lines
        for (const char *n : {"1", "2"}) {
            const QString s = QString::fromLatin1(n);
            const QByteArray sys = QByteArray("Sht_Sys") + n;
            auto name = [&](const char *base) { return QByteArray(base) + n; };
            row(name("L_dPkl"), "QLabel", sys, {284, 417, 503, 16},
                QStringLiteral("Перепад давления на полностью открытом клапане dPкл = 0.00 атм"), 13, true, none);
            row(name("L_Kv"), "QLabel", sys, {284, 441, 475, 16},
                QStringLiteral("Пропускная способность регулирующего клапана Кv = 0.00 м3/ч"), 13, true,
                s == "1" ? none : QStringLiteral("Пропусная способность регулирующего клапана, м3/ч"));
            row(name("L_Kvy"), "QLabel", sys, {284, 465, 405, 16},
                QStringLiteral("Ближайшая к Kv пропускная способность клапана Kvy:"), 13, true, kHintKvyLabel);
            row(name("L_Kvy") + "unit", "QLabel", sys, {741, 465, 33, 16}, QStringLiteral("м3/ч"), 13, true, none);
            row(name("Pan_dPklReal"), "TPanel", sys, {292, 500, 487, 55}, none, 11, false, none);
            row(name("L_dPklReal"), "QLabel", name("Pan_dPklReal"), {16, 8, 455, 40},
                QStringLiteral("Действительные гидравлические потери на клапане dPкл = 0.00 атм"), 16, true,
                kHintActualLoss);
            row(name("GrBox_Sys"), "QGroupBox", sys, {0, 408, 264, 147}, QStringLiteral("Ввод расчётных параметров"),
                11, false, none);
            row(name("Btn_Clear"), "QPushButton", name("GrBox_Sys"), {67, 118, 129, 21},
                QStringLiteral("Обнулить параметры"), 11, false, kHintClear);
        }
        // Nomogram page
        row("L_Top", "QLabel", "Sht_Dia", {0, 0, 423, 557}, none, 11, false, none);
        row("Pan_Dia", "TPanel", "Sht_Dia", {464, 211, 309, 135}, none, 11, false, none);
        row("L_Dia", "QLabel", "Pan_Dia", {22, 19, 264, 96},
            QStringLiteral("Kvy клапана определяется по пересечению линий расхода Q и перепада давления dPкл"), 19,
            true, none);

        // Caption and unit labels of the input groups (autosized: height 13).
        struct Cap {
            const char *label;
            int x, y;
            const char *caption;
            QString hint;
        };
        const Cap caps1[] = {{"L_dPr1", 8, 20, "dPр:", kHintInlet},     {"L_dPf1", 8, 45, "dPф:", kHintFilter},
                             {"L_dPppr1", 8, 70, "dPппр:", kHintMeter}, {"L_dPs", 8, 95, "dPс:", kHintSystem},
                             {"L_dPtr1", 144, 20, "dPтр:", kHintPipes}, {"L_dPdr1", 144, 45, "dPдр:", kHintOther},
                             {"L_dPn", 144, 70, "dPн:", kHintPump},     {"L_Q1", 144, 95, "Q:", kHintFlow}};
        const Cap caps2[] = {{"L_dPr2", 8, 20, "dPр:", kHintInlet},     {"L_dPf2", 8, 45, "dPф:", kHintFilter},
                             {"L_dPppr2", 8, 70, "dPппр:", kHintMeter}, {"L_dPt", 8, 95, "dPт:", kHintExchanger},
                             {"L_dPtr2", 144, 20, "dPтр:", kHintPipes}, {"L_dPdr2", 144, 45, "dPдр:", kHintOther},
                             {"L_Q2", 144, 95, "Q:", kHintFlow}};
        auto addCaps = [&](const Cap *b, const Cap *e, const char *group) {
            for (const Cap *c = b; c != e; ++c) {
                QFont f(QStringLiteral("MS Sans Serif"));
                f.setPixelSize(11);
                f.setBold(true);
                const int w = QFontMetrics(f).horizontalAdvance(QString::fromUtf8(c->caption));
                QTest::newRow(c->label) << QString::fromLatin1(c->label) << QStringLiteral("QLabel")
                                        << QString::fromLatin1(group) << QRect(c->x, c->y, w, 13)
                                        << QString::fromUtf8(c->caption) << 11 << true << c->hint;
                const bool q = QByteArray(c->label).startsWith("L_Q");
                const QString unit = q ? QStringLiteral("м3/ч") : QStringLiteral("атм");
                const QByteArray uname = QByteArray(c->label) + "unit";
                QTest::newRow(uname) << QString::fromLatin1(uname) << QStringLiteral("QLabel")
                                     << QString::fromLatin1(group)
                                     << QRect(c->x < 100 ? 99 : 227, c->y, QFontMetrics(f).horizontalAdvance(unit), 13)
                                     << unit << 11 << true << QString();
            }
        };
        addCaps(std::begin(caps1), std::end(caps1), "GrBox_Sys1");
        addCaps(std::begin(caps2), std::end(caps2), "GrBox_Sys2");
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QString, cls);
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        QFETCH(int, pixels);
        QFETCH(bool, bold);
        QFETCH(QString, hint);

        QWidget *w = control(name);
        QVERIFY2(w, qPrintable(name));
        QCOMPARE(QString::fromLatin1(w->metaObject()->className()), cls);
        QCOMPARE(w->parentWidget()->objectName(), parent);
        QCOMPARE(w->geometry(), geometry);
        QCOMPARE(captionOf(w), caption);
        QCOMPARE(QFontInfo(w->font()).family(), QString::fromLatin1(kSub));
        QCOMPARE(w->font().pixelSize(), pixels);
        QCOMPARE(w->font().bold(), bold);
        QCOMPARE(hintOf(w), hint);
        // A hint is switched on for exactly the controls that have one.
        QCOMPARE(showHint(w), !hint.isEmpty());
        // The hint is no tooltip of the toolkit's, but a screen reader
        // reads it all the same.
        QVERIFY(w->toolTip().isEmpty());
        QCOMPARE(accessibleDescription(w), hint);

        if (auto *l = qobject_cast<QLabel *>(w)) {
            // Labels are transparent and draw their caption from the top.
            QVERIFY(!l->autoFillBackground());
            QCOMPARE(l->frameShape(), QFrame::NoFrame);
            const bool centred = name.startsWith("L_dPklReal") || name == "L_Dia";
            QCOMPARE(l->wordWrap(), centred);
            if (!caption.isEmpty()) {
                QCOMPARE(l->alignment() & Qt::AlignVertical_Mask, Qt::AlignTop);
                QCOMPARE(l->alignment() & Qt::AlignHorizontal_Mask, centred ? Qt::AlignHCenter : Qt::AlignLeft);
            }
        }
        if (auto *p = qobject_cast<TPanel *>(w)) {
            QCOMPARE(p->BevelOuter(), TPanel::bvRaised);
            QCOMPARE(p->BevelInner(), TPanel::bvNone);
            QCOMPARE(p->BevelWidth(), 1);
            QCOMPARE(p->BorderWidth(), 0);
        }
    }

    void captionsFit()
    {
        // Every caption fits the box of its control, word-wrapped captions
        // within their width and height.
        int checked = 0;
        for (QWidget *w : m_form->findChildren<QWidget *>()) {
            QFontMetrics fm(w->font());
            if (auto *l = qobject_cast<QLabel *>(w)) {
                if (l->text().isEmpty())
                    continue;
                QRect need;
                if (l->wordWrap())
                    need =
                        fm.boundingRect(QRect(0, 0, l->width(), 10000), Qt::TextWordWrap | l->alignment(), l->text());
                else
                    need = QRect(0, 0, fm.horizontalAdvance(l->text()), fm.height());
                QVERIFY2(need.width() <= l->width() && need.height() <= l->height(),
                         qPrintable(QStringLiteral("%1: needs %2 x %3, has %4 x %5")
                                        .arg(l->objectName())
                                        .arg(need.width())
                                        .arg(need.height())
                                        .arg(l->width())
                                        .arg(l->height())));
                ++checked;
            } else if (auto *b = qobject_cast<QPushButton *>(w)) {
                QVERIFY2(fm.horizontalAdvance(b->text()) + 8 <= b->width() && fm.height() + 4 <= b->height(),
                         qPrintable(b->objectName()));
                ++checked;
            } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
                QVERIFY2(fm.horizontalAdvance(g->title()) + 16 <= g->width(), qPrintable(g->objectName()));
                // The title stays clear of the first row of controls.
                QVERIFY(fm.height() <= 16);
                ++checked;
            }
        }
        // 30 labels with captions and units, 10 result lines, the nomogram
        // caption, 2 buttons and 2 group boxes.
        QCOMPARE(checked, 30 + 10 + 1 + 2 + 2);
    }

    void hintsOnlyWhereGiven()
    {
        // Across the whole window: ShowHint is on exactly where a hint is,
        // and no control has a tooltip of the toolkit's.
        for (QWidget *w : m_form->findChildren<QWidget *>()) {
            QVERIFY2(w->toolTip().isEmpty(), qPrintable(w->objectName()));
            if (w->objectName().isEmpty() || w->objectName().startsWith("qt_"))
                continue;
            QVERIFY2(showHint(w) == !hintOf(w).isEmpty(), qPrintable(w->objectName()));
        }
        QVERIFY(!showHint(m_form));
    }

    void hotZonesLieOverPictures_data()
    {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("picture");
        for (const char *z :
             {"L__dPf1a", "L__dPPR1", "L__dPkl1", "L__dPf1b", "L__dPr1", "L__dPs", "L__dPtr1", "L__dPn"})
            QTest::newRow(z) << z << "Img1";
        for (const char *z : {"L__dPf2", "L__dPPR2", "L__dPkl2", "L__dPr2", "L__dPt", "L__dPtr2"})
            QTest::newRow(z) << z << "Img2";
        QTest::newRow("L_Top") << "L_Top"
                               << "Img3";
    }

    void hotZonesLieOverPictures()
    {
        QFETCH(QString, zone);
        QFETCH(QString, picture);
        QWidget *z = control(zone);
        QWidget *img = control(picture);
        QVERIFY(z && img);
        QCOMPARE(z->parentWidget(), img->parentWidget());
        QVERIFY(img->geometry().contains(z->geometry()));
        // The zone is above the picture: the page finds the zone at its centre.
        QCOMPARE(z->parentWidget()->childAt(z->geometry().center()), z);
        QVERIFY(!z->autoFillBackground());
        QVERIFY(!z->testAttribute(Qt::WA_OpaquePaintEvent));
    }

    void nomogramOverlayTracksTheMouse()
    {
        QVERIFY(control("L_Top")->hasMouseTracking());
        QVERIFY(control("Sht_Dia")->hasMouseTracking());
    }

    void nonVisualComponents()
    {
        auto *mgr = m_form->findChild<TFlatManager *>(QStringLiteral("FlatManager1"), Qt::FindDirectChildrenOnly);
        auto *hint = m_form->findChild<TFlatHint *>(QStringLiteral("FlatHint"), Qt::FindDirectChildrenOnly);
        auto *xp = m_form->findChild<TXPStylePainter *>(QStringLiteral("XPStylePainter1"), Qt::FindDirectChildrenOnly);
        QVERIFY(mgr && hint && xp);
        // The flat hint component with the values stored on the window.
        QCOMPARE(hint->ColorBackground(), clWhite);
        QCOMPARE(hint->ColorBorder(), clHighlight);
        QCOMPARE(hint->ColorArrowBackground(), clInactiveCaption);
        QCOMPARE(hint->ColorArrow(), clMenuText);
        QCOMPARE(hint->MaxHintWidth(), 230);
        QCOMPARE(hint->Font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(QFontInfo(hint->Font()).family(), QString::fromLatin1(kSub));
        QCOMPARE(hint->Font().pixelSize(), 11);
        QVERIFY(!hint->Font().bold() && !hint->Font().italic() && !hint->Font().underline());
        QCOMPARE(hint->FontColor(), clWindowText);
        QVERIFY(!hint->OnShowHint);
        QVERIFY(!mgr->Activate());
        QVERIFY(mgr->Flat());
        QVERIFY(mgr->ShowBorder());
        QCOMPARE(mgr->BorderColor(), clBtnShadow);
        QCOMPARE(mgr->Version(), QStringLiteral("1.29"));
        // The manager is the last component: created after every control.
        const QObjectList &kids = m_form->children();
        const auto idx = [&](QObject *o) { return kids.indexOf(o); };
        QVERIFY(idx(mgr) > idx(m_form->findChild<QObject *>("PgCtrl_Sys")));
        QVERIFY(idx(mgr) > idx(hint));
        QVERIFY(idx(mgr) > idx(xp));
        // Its style applies to every field of the window: a new border
        // colour reaches all 17, and the old one restores them.
        mgr->setBorderColor(clRed);
        const QList<TFlatFloatEdit *> fields = m_form->findChildren<TFlatFloatEdit *>();
        QCOMPARE(fields.size(), 17);
        for (TFlatFloatEdit *f : fields)
            QCOMPARE(f->BorderColor(), clRed);
        mgr->setBorderColor(clBtnShadow);
        for (TFlatFloatEdit *f : fields)
            QCOMPARE(f->BorderColor(), clBtnShadow);
    }

    void pixelHeightsOfPointSizes()
    {
        QCOMPARE(pointsToPixels(8), 11);
        QCOMPARE(pointsToPixels(10), 13);
        QCOMPARE(pointsToPixels(12), 16);
        QCOMPARE(pointsToPixels(14), 19);
        QCOMPARE(pointsToPixels(9), 12);
    }
};

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
