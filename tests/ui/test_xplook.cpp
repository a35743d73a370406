// The flat look of the main window: the painter loaded from the window
// description, the seven controls it hooks, and their pixels as the screen
// shows the window.
#include <QGroupBox>
#include <QPushButton>
#include <QtTest>

#include "tests/ui/mainformfixture.h"
#include "tests/widgets/xphost.h"
#include "ui/pagecontrol.h"
#include "ui_Form_Main.h"
#include "widgets/xpstylemanager.h"

namespace {

const QString kSeven = "Btn_Clear1 Btn_Clear2 GrBox_Sys1 GrBox_Sys2 Pan_Dia Pan_dPklReal1 Pan_dPklReal2";

// The places of the children of `w`: they paint over it.
QList<QRect> ChildRects(QWidget *w)
{
    QList<QRect> rects;
    for (QWidget *child : w->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        rects << child->geometry();
    return rects;
}

} // namespace

class TestXPLook : public MainFormFixture
{
    Q_OBJECT

private slots:
    // As loaded: the stored values, the scheme computed at construction
    // (the colours written afterwards only mark it dirty), registered as the
    // active painter of its window.
    void painter()
    {
        TXPStylePainter *p = form->ui->XPStylePainter1;
        QVERIFY(p->Active());
        QVERIFY(p->AutoDetect());
        QCOMPARE(p->DimLevel(), 30);
        QCOMPARE(p->Font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(p->SelectFontColor(), clMenuText);
        QCOMPARE(p->XPControls(), kAllXPControls);
        QVERIFY(p->SchemeDirty());
        QVERIFY(p->HighColor());
        QCOMPARE(p->XPColorScheme().IconStripBack, QColorToColor(Lighten(Sys(clBtnFace), 16)));
        QCOMPARE(p->XPColorScheme().SelectFrame, clHighlight);
        QCOMPARE(p->XPColorScheme().DisabledText, QColorToColor(Lighten(Sys(clBtnShadow), 10)));
        TXPStyleManager *m = TXPStyleManager::Instance();
        QVERIFY(m);
        QCOMPARE(m->ActivePainter(), p);
        QCOMPARE(m->HandledWindows(), QList<QWidget *>{form});
    }

    // Exactly the two buttons, two group boxes and three panels; switched
    // off, every hook goes at once; on again, the same seven.
    void hooks()
    {
        QCOMPARE(HookedNames(form), kSeven);
        TXPStylePainter *p = form->ui->XPStylePainter1;
        p->setActive(false);
        QCOMPARE(HookedNames(form), QString());
        p->setActive(true);
        QCOMPARE(HookedNames(form), kSeven);
    }

    void onScreen_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("panel");
        QTest::newRow("Sht_Sys1") << 0 << "GrBox_Sys1" << "Btn_Clear1" << "Pan_dPklReal1";
        QTest::newRow("Sht_Sys2") << 1 << "GrBox_Sys2" << "Btn_Clear2" << "Pan_dPklReal2";
        QTest::newRow("Sht_Dia") << 2 << QString() << QString() << "Pan_Dia";
    }

    void onScreen()
    {
        QFETCH(int, page);
        QFETCH(QString, group);
        QFETCH(QString, button);
        QFETCH(QString, panel);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->ui->PgCtrl_Sys->setCurrentIndex(page);
        const QColor face = Sys(clBtnFace);
        if (auto *g = group.isEmpty() ? nullptr : form->findChild<QGroupBox *>(group)) {
            const QImage img = OnScreen(g);
            const QFontMetrics fm(g->font());
            const int edgeRow = fm.height() / 2 + 1;
            QCOMPARE(edgeRow, 7);
            QList<QRect> skip = ChildRects(g);
            skip << QRect(9, 0, fm.horizontalAdvance(g->title()), fm.height()); // the caption
            const QString wrong =
                Mismatch(img, GroupBoxRule(img.width(), img.height(), face, face, edgeRow, Lighten(face, 60)), skip);
            QVERIFY2(wrong.isEmpty(), qPrintable(group + ": " + wrong));
        }
        if (auto *b = button.isEmpty() ? nullptr : form->findChild<QPushButton *>(button)) {
            const QImage img = OnScreen(b);
            const QSize text = b->fontMetrics().size(Qt::TextShowMnemonic, b->text());
            const QRect box((b->width() - text.width()) / 2, (b->height() - text.height()) / 2, text.width(),
                            text.height());
            const QString wrong = Mismatch(
                img, ButtonRule(img.width(), img.height(), face, Lighten(face, 16), Sys(clBtnShadow), 1), {box});
            QVERIFY2(wrong.isEmpty(), qPrintable(button + ": " + wrong));
        }
        auto *pan = form->findChild<QWidget *>(panel);
        const QImage img = OnScreen(pan);
        const QString wrong = Mismatch(
            img, PanelRule(img.width(), img.height(), face, {{Lighten(face, 60), Darken(face, 60)}}), ChildRects(pan));
        QVERIFY2(wrong.isEmpty(), qPrintable(panel + ": " + wrong));
    }
};

QTEST_MAIN(TestXPLook)
#include "test_xplook.moc"
