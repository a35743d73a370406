// The fields of the main window and how they are bound: each field's place,
// hint, decimals and text, the tab order within the groups and on the
// pages, and the handlers the window description binds to the fields, the
// clearing buttons and the page control.
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

namespace {

using ChangeSlot = void (TForm_Main::*)();
using KeyUpSlot = void (TForm_Main::*)(int, Qt::KeyboardModifiers);

// Removes the binding of `signal` of `sender` to `slot` of `receiver`,
// whether it was made by member pointers or by signatures; true when there
// was one.
template <typename Sender, typename Signal, typename Slot>
bool unbind(Sender *sender, Signal signal, const char *signalSig, TForm_Main *receiver, Slot slot,
            const QByteArray &slotSig)
{
    const bool byPointer = QObject::disconnect(sender, signal, receiver, slot);
    const QByteArray sig = QByteArray::number(QSIGNAL_CODE) + signalSig;
    const QByteArray sl = QByteArray::number(QSLOT_CODE) + slotSig;
    const bool bySignature = QObject::disconnect(sender, sig.constData(), receiver, sl.constData());
    return byPointer || bySignature;
}

} // namespace

class TestBindings : public MainFormFixture
{
    Q_OBJECT

private:
    QWidget *control(const QString &name) const { return m_form->findChild<QWidget *>(name); }

    // The widgets of `names`, in the order they come in the focus chain
    // starting at `from`.
    QStringList chainOrder(QWidget *from, const QStringList &names) const
    {
        QStringList seen;
        QWidget *w = from;
        for (int guard = 0; guard < 1000; ++guard) {
            if (names.contains(w->objectName()) && !seen.contains(w->objectName()))
                seen << w->objectName();
            w = w->nextInFocusChain();
            if (w == from)
                break;
        }
        return seen;
    }

private slots:
    void fields_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");

        struct F {
            const char *name;
            int x, y, w;
            QString hint;
        };
        const F g1[] = {{"FlEdt_dPr1", 52, 16, 45, kHintInlet},   {"FlEdt_dPf1", 52, 41, 45, kHintFilter},
                        {"FlEdt_dPppr1", 52, 66, 45, kHintMeter}, {"FlEdt_dPs", 52, 91, 45, kHintSystem},
                        {"FlEdt_dPtr1", 180, 16, 45, kHintPipes}, {"FlEdt_dPdr1", 180, 41, 45, kHintOther},
                        {"FlEdt_dPn", 180, 66, 45, kHintPump},    {"FlEdt_Q1", 170, 91, 55, kHintFlow}};
        const F g2[] = {{"FlEdt_dPr2", 52, 16, 45, kHintInlet},   {"FlEdt_dPf2", 52, 41, 45, kHintFilter},
                        {"FlEdt_dPppr2", 52, 66, 45, kHintMeter}, {"FlEdt_dPt", 52, 91, 45, kHintExchanger},
                        {"FlEdt_dPtr2", 180, 16, 45, kHintPipes}, {"FlEdt_dPdr2", 180, 41, 45, kHintOther},
                        {"FlEdt_Q2", 170, 91, 55, kHintFlow}};
        for (const F &f : g1)
            QTest::newRow(f.name) << QString::fromLatin1(f.name) << "GrBox_Sys1" << QRect(f.x, f.y, f.w, 21) << f.hint
                                  << 2 << "0.00";
        for (const F &f : g2)
            QTest::newRow(f.name) << QString::fromLatin1(f.name) << "GrBox_Sys2" << QRect(f.x, f.y, f.w, 21) << f.hint
                                  << 2 << "0.00";
        QTest::newRow("FlEdt_Kvy1") << "FlEdt_Kvy1"
                                    << "Sht_Sys1" << QRect(693, 463, 45, 21) << kHintKvyField << 1 << "0.0";
        QTest::newRow("FlEdt_Kvy2") << "FlEdt_Kvy2"
                                    << "Sht_Sys2" << QRect(693, 463, 45, 21) << kHintKvyField << 1 << "0.0";
    }

    void fields()
    {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        QFETCH(QString, hint);
        QFETCH(int, decimals);
        QFETCH(QString, text);

        auto *f = m_form->findChild<TFlatFloatEdit *>(name);
        QVERIFY2(f, qPrintable(name));
        QCOMPARE(QString::fromLatin1(f->metaObject()->className()), QStringLiteral("TFlatFloatEdit"));
        QCOMPARE(f->parentWidget()->objectName(), parent);
        QCOMPARE(f->geometry(), geometry);
        QCOMPARE(hintOf(f), hint);
        QVERIFY(showHint(f));
        QVERIFY(f->toolTip().isEmpty());
        QCOMPARE(accessibleDescription(f), hint);
        QCOMPARE(f->Decimals(), decimals);
        QCOMPARE(f->MaxValue(), 100.0);
        QCOMPARE(f->MinValue(), 0.0);
        QCOMPARE(f->text(), text);
        QCOMPARE(f->Alignment(), TCustomFlatFloatEdit::taRightJustify);
        QVERIFY(!f->Activate());
        QVERIFY(f->Flat());
        QVERIFY(f->ShowBorder());
        QCOMPARE(f->BorderColor(), clBtnShadow);
        QCOMPARE(QFontInfo(f->font()).family(), QString::fromLatin1(kSub));
        QCOMPARE(f->font().pixelSize(), 11);
        QVERIFY(f->font().bold());
        QCOMPARE(f->focusPolicy(), Qt::StrongFocus);
        // The largest value the field takes fits into its text area.
        const QString widest = f->formatValue(100.0L);
        QVERIFY2(f->fontMetrics().horizontalAdvance(widest) <= f->width() - 2 * TCustomFlatEdit::kFrameWidth - 4,
                 qPrintable(widest));
    }

    void tabOrderWithinGroups_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("GrBox_Sys1") << "GrBox_Sys1" << QStringList{"FlEdt_dPr1", "FlEdt_dPf1",  "FlEdt_dPppr1",
                                                                   "FlEdt_dPs",  "FlEdt_dPtr1", "FlEdt_dPdr1",
                                                                   "FlEdt_dPn",  "FlEdt_Q1",    "Btn_Clear1"};
        QTest::newRow("GrBox_Sys2") << "GrBox_Sys2"
                                    << QStringList{"FlEdt_dPr2",  "FlEdt_dPf2",  "FlEdt_dPppr2", "FlEdt_dPt",
                                                   "FlEdt_dPtr2", "FlEdt_dPdr2", "FlEdt_Q2",     "Btn_Clear2"};
    }

    void tabOrderWithinGroups()
    {
        QFETCH(QString, group);
        QFETCH(QStringList, order);
        QWidget *g = control(group);
        QVERIFY(g);
        QCOMPARE(chainOrder(g, order), order);
        // Within the group, the focusable controls follow each other directly:
        // walking the chain from one to the next meets no other focusable
        // control.
        for (int i = 0; i + 1 < order.size(); ++i) {
            QWidget *w = control(order[i])->nextInFocusChain();
            while (w->focusPolicy() == Qt::NoFocus)
                w = w->nextInFocusChain();
            QCOMPARE(w->objectName(), order[i + 1]);
        }
    }

    void tabOrderOnPages_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QString>("lastInGroup");
        QTest::newRow("Sht_Sys1") << "Sht_Sys1" << QStringList{"GrBox_Sys1", "FlEdt_Kvy1", "Pan_dPklReal1"}
                                  << "Btn_Clear1";
        QTest::newRow("Sht_Sys2") << "Sht_Sys2" << QStringList{"GrBox_Sys2", "FlEdt_Kvy2", "Pan_dPklReal2"}
                                  << "Btn_Clear2";
    }

    void tabOrderOnPages()
    {
        QFETCH(QString, page);
        QFETCH(QStringList, order);
        QFETCH(QString, lastInGroup);
        QCOMPARE(chainOrder(control(page), order), order);
        // Tab from the group's last control reaches the Kvy field next.
        QWidget *w = control(lastInGroup)->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus)
            w = w->nextInFocusChain();
        QCOMPARE(w->objectName(), order[1]);
    }

    void tabKeyWalksTheShownPage()
    {
        // The Tab key on the shown window follows the tab order and comes
        // back round to the first field.
        auto *pc = m_form->findChild<TPageControl *>(QStringLiteral("PgCtrl_Sys"));
        m_form->show();
        QApplication::setActiveWindow(m_form);
        pc->setCurrentIndex(1);
        const QStringList cycle{"FlEdt_dPr2",  "FlEdt_dPf2", "FlEdt_dPppr2", "FlEdt_dPt",  "FlEdt_dPtr2",
                                "FlEdt_dPdr2", "FlEdt_Q2",   "Btn_Clear2",   "FlEdt_Kvy2", "FlEdt_dPr2"};
        control(cycle[0])->setFocus(Qt::OtherFocusReason);
        QCOMPARE(QApplication::focusWidget()->objectName(), cycle[0]);
        for (int i = 1; i < cycle.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), cycle[i]);
        }
        m_form->hide();
    }

    void handlersBound_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<void *>("change");
        QTest::addColumn<void *>("keyUp");
        const struct {
            const char *field;
            ChangeSlot change;
            KeyUpSlot keyUp;
        } rows[] = {
            {"dPr1", &TForm_Main::FlEdt_dPr1Change, &TForm_Main::FlEdt_dPr1KeyUp},
            {"dPf1", &TForm_Main::FlEdt_dPf1Change, &TForm_Main::FlEdt_dPf1KeyUp},
            {"dPppr1", &TForm_Main::FlEdt_dPppr1Change, &TForm_Main::FlEdt_dPppr1KeyUp},
            {"dPs", &TForm_Main::FlEdt_dPsChange, &TForm_Main::FlEdt_dPsKeyUp},
            {"dPtr1", &TForm_Main::FlEdt_dPtr1Change, &TForm_Main::FlEdt_dPtr1KeyUp},
            {"dPdr1", &TForm_Main::FlEdt_dPdr1Change, &TForm_Main::FlEdt_dPdr1KeyUp},
            {"dPn", &TForm_Main::FlEdt_dPnChange, &TForm_Main::FlEdt_dPnKeyUp},
            {"Q1", &TForm_Main::FlEdt_Q1Change, &TForm_Main::FlEdt_Q1KeyUp},
            {"Kvy1", &TForm_Main::FlEdt_Kvy1Change, &TForm_Main::FlEdt_Kvy1KeyUp},
            {"dPr2", &TForm_Main::FlEdt_dPr2Change, &TForm_Main::FlEdt_dPr2KeyUp},
            {"dPf2", &TForm_Main::FlEdt_dPf2Change, &TForm_Main::FlEdt_dPf2KeyUp},
            {"dPppr2", &TForm_Main::FlEdt_dPppr2Change, &TForm_Main::FlEdt_dPppr2KeyUp},
            {"dPt", &TForm_Main::FlEdt_dPtChange, &TForm_Main::FlEdt_dPtKeyUp},
            {"dPtr2", &TForm_Main::FlEdt_dPtr2Change, &TForm_Main::FlEdt_dPtr2KeyUp},
            {"dPdr2", &TForm_Main::FlEdt_dPdr2Change, &TForm_Main::FlEdt_dPdr2KeyUp},
            {"Q2", &TForm_Main::FlEdt_Q2Change, &TForm_Main::FlEdt_Q2KeyUp},
            {"Kvy2", &TForm_Main::FlEdt_Kvy2Change, &TForm_Main::FlEdt_Kvy2KeyUp},
        };
        for (const auto &row : rows)
            QTest::newRow(row.field) << QString::fromLatin1(row.field)
                                     << static_cast<void *>(new ChangeSlot(row.change))
                                     << static_cast<void *>(new KeyUpSlot(row.keyUp));
    }

    void handlersBound()
    {
        // Each field's OnChange and OnKeyUp are bound to the window's handler
        // of that name: unbinding finds exactly that binding, and a second
        // unbinding finds none left. The bindings are restored afterwards.
        QFETCH(QString, field);
        QFETCH(void *, change);
        QFETCH(void *, keyUp);
        std::unique_ptr<ChangeSlot> changeSlot(static_cast<ChangeSlot *>(change));
        std::unique_ptr<KeyUpSlot> keyUpSlot(static_cast<KeyUpSlot *>(keyUp));
        auto *f = m_form->findChild<TFlatFloatEdit *>("FlEdt_" + field);
        QVERIFY(f);
        const QByteArray changeName = "FlEdt_" + field.toLatin1() + "Change()";
        const QByteArray keyUpName = "FlEdt_" + field.toLatin1() + "KeyUp(int,Qt::KeyboardModifiers)";

        QVERIFY(unbind(f, &TCustomFlatFloatEdit::OnChange, "OnChange()", m_form, *changeSlot, changeName));
        QVERIFY(!unbind(f, &TCustomFlatFloatEdit::OnChange, "OnChange()", m_form, *changeSlot, changeName));
        QVERIFY(unbind(f, &TCustomFlatFloatEdit::OnKeyUp, "OnKeyUp(int,Qt::KeyboardModifiers)", m_form, *keyUpSlot,
                       keyUpName));
        QVERIFY(!unbind(f, &TCustomFlatFloatEdit::OnKeyUp, "OnKeyUp(int,Qt::KeyboardModifiers)", m_form, *keyUpSlot,
                        keyUpName));
        QVERIFY(connect(f, &TCustomFlatFloatEdit::OnChange, m_form, *changeSlot));
        QVERIFY(connect(f, &TCustomFlatFloatEdit::OnKeyUp, m_form, *keyUpSlot));
    }

    void buttonsAndPageBound()
    {
        auto *b1 = m_form->findChild<QPushButton *>("Btn_Clear1");
        auto *b2 = m_form->findChild<QPushButton *>("Btn_Clear2");
        auto *pc = m_form->findChild<TPageControl *>("PgCtrl_Sys");
        QVERIFY(b1 && b2 && pc);
        QVERIFY(unbind(b1, &QPushButton::clicked, "clicked(bool)", m_form, &TForm_Main::Btn_Clear1Click,
                       "Btn_Clear1Click()"));
        QVERIFY(unbind(b2, &QPushButton::clicked, "clicked(bool)", m_form, &TForm_Main::Btn_Clear2Click,
                       "Btn_Clear2Click()"));
        QVERIFY(unbind(pc, &TPageControl::OnChange, "OnChange()", m_form, &TForm_Main::PgCtrl_SysChange,
                       "PgCtrl_SysChange()"));
        // Not bound to the page control's currentChanged: a page selected
        // from code raises no handler.
        QVERIFY(!unbind(pc, &QTabWidget::currentChanged, "currentChanged(int)", m_form, &TForm_Main::PgCtrl_SysChange,
                        "PgCtrl_SysChange()"));
        QVERIFY(!unbind(b1, &QPushButton::clicked, "clicked(bool)", m_form, &TForm_Main::Btn_Clear1Click,
                        "Btn_Clear1Click()"));
        connect(b1, &QPushButton::clicked, m_form, &TForm_Main::Btn_Clear1Click);
        connect(b2, &QPushButton::clicked, m_form, &TForm_Main::Btn_Clear2Click);
        connect(pc, &TPageControl::OnChange, m_form, &TForm_Main::PgCtrl_SysChange);
    }
};

QTEST_MAIN(TestBindings)
#include "test_bindings.moc"
