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
QList<QRect> childRects(QWidget *w)
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
        TXPStylePainter *p = m_form->ui->XPStylePainter1;
        QVERIFY(p->Active());
        QVERIFY(p->AutoDetect());
        QCOMPARE(p->DimLevel(), 30);
        QCOMPARE(p->Font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(p->SelectFontColor(), clMenuText);
        QCOMPARE(p->XPControls(), kAllXPControls);
        QVERIFY(p->SchemeDirty());
        QVERIFY(p->HighColor());
        QCOMPARE(p->XPColorScheme().IconStripBack, qColorToColor(lighten(sys(clBtnFace), 16)));
        QCOMPARE(p->XPColorScheme().SelectFrame, clHighlight);
        QCOMPARE(p->XPColorScheme().DisabledText, qColorToColor(lighten(sys(clBtnShadow), 10)));
        TXPStyleManager *m = TXPStyleManager::instance();
        QVERIFY(m);
        QCOMPARE(m->ActivePainter(), p);
        QCOMPARE(m->HandledWindows(), QList<QWidget *>{m_form});
    }

    // Exactly the two buttons, two group boxes and three panels; switched
    // off, every hook goes at once; on again, the same seven.
    void hooks()
    {
        QCOMPARE(hookedNames(m_form), kSeven);
        TXPStylePainter *p = m_form->ui->XPStylePainter1;
        p->setActive(false);
        QCOMPARE(hookedNames(m_form), QString());
        p->setActive(true);
        QCOMPARE(hookedNames(m_form), kSeven);
    }

    void onScreen_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("panel");
        QTest::newRow("Sht_Sys1") << 0 << "GrBox_Sys1"
                                  << "Btn_Clear1"
                                  << "Pan_dPklReal1";
        QTest::newRow("Sht_Sys2") << 1 << "GrBox_Sys2"
                                  << "Btn_Clear2"
                                  << "Pan_dPklReal2";
        QTest::newRow("Sht_Dia") << 2 << QString() << QString() << "Pan_Dia";
    }

    void onScreen()
    {
        QFETCH(int, page);
        QFETCH(QString, group);
        QFETCH(QString, button);
        QFETCH(QString, panel);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        m_form->ui->PgCtrl_Sys->setCurrentIndex(page);
        const QColor face = sys(clBtnFace);
        if (auto *g = group.isEmpty() ? nullptr : m_form->findChild<QGroupBox *>(group)) {
            const QImage img = shownPixels(g);
            const QFontMetrics fm(g->font());
            const int edgeRow = fm.height() / 2 + 1;
            QCOMPARE(edgeRow, 7);
            QList<QRect> skip = childRects(g);
            skip << QRect(9, 0, fm.horizontalAdvance(g->title()), fm.height()); // the caption
            const QString wrong =
                mismatch(img, groupBoxRule(img.width(), img.height(), face, face, edgeRow, lighten(face, 60)), skip);
            QVERIFY2(wrong.isEmpty(), qPrintable(group + ": " + wrong));
        }
        if (auto *b = button.isEmpty() ? nullptr : m_form->findChild<QPushButton *>(button)) {
            const QImage img = shownPixels(b);
            const QSize text = b->fontMetrics().size(Qt::TextShowMnemonic, b->text());
            const QRect box((b->width() - text.width()) / 2, (b->height() - text.height()) / 2, text.width(),
                            text.height());
            const QString wrong = mismatch(
                img, buttonRule(img.width(), img.height(), face, lighten(face, 16), sys(clBtnShadow), 1), {box});
            QVERIFY2(wrong.isEmpty(), qPrintable(button + ": " + wrong));
        }
        auto *pan = m_form->findChild<QWidget *>(panel);
        const QImage img = shownPixels(pan);
        const QString wrong = mismatch(
            img, panelRule(img.width(), img.height(), face, {{lighten(face, 60), darken(face, 60)}}), childRects(pan));
        QVERIFY2(wrong.isEmpty(), qPrintable(panel + ": " + wrong));
    }
};

QTEST_MAIN(TestXPLook)
#include "test_xplook.moc"
