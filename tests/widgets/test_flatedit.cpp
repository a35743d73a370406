// The numeric entry field driven through real key, mouse and focus events.
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QtTest>

#include <cmath>
#include <memory>

#include "core/numtext.h"
#include "testform.h"

class TestFlatEdit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newField();
    void keyFilter_data();
    void keyFilter();
    void separatorThenDigit();
    void minusThenDigit();
    void exponentLettersCountedSeparately();
    void escRestoresEntryValue();
    void enterTypesNothingButReachesKeyUp();
    void controlKeysPassUnfiltered();
    void inputMethodCommitIsFiltered();
    void focusEntry_data();
    void focusEntry();
    void exitCheck_data();
    void exitCheck();
    void rejectedExitKeepsFocus_data();
    void rejectedExitKeepsFocus();
    void acceptedExitMovesFocus();
    void windowDeactivationIsNoExit();
    void writeValue_data();
    void writeValue();
    void writeLimits();
    void writeDecimals();
    void readValue_data();
    void readValue();
    void limitsComparedInExtendedPrecision();
    void paste_data();
    void paste();
    void alignmentProperty();
    void propertiesThroughMetaObject();
    void otherInputTypesNothing_data();
    void otherInputTypesNothing();
    void middleClickPastesLikeCtrlV();

private:
    std::unique_ptr<TestForm> m_form;
    void focusWithTab(TFlatFloatEdit *e);
};

void TestFlatEdit::initTestCase()
{
    setDecimalSeparator('.');
    QApplication::setStyle("Fusion");
}

void TestFlatEdit::init()
{
    m_form = std::make_unique<TestForm>();
    QVERIFY(showActive(*m_form));
    m_form->button->setFocus(); // the fields start without the focus
}

void TestFlatEdit::cleanup()
{
    m_form.reset();
}

// Gives `e` the focus as the keyboard would (the field before it has a valid text).
void TestFlatEdit::focusWithTab(TFlatFloatEdit *e)
{
    e->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), e);
}

void TestFlatEdit::newField()
{
    TFlatFloatEdit e;
    QCOMPARE(e.text(), QString("0.00"));
    QCOMPARE(e.Decimals(), 2);
    QCOMPARE(e.MinValueL(), 0.0L);
    QCOMPARE(e.MaxValueL(), 100.0L);
    QCOMPARE(e.Alignment(), TCustomFlatFloatEdit::taRightJustify);
    QVERIFY(e.alignment() & Qt::AlignRight);
    QCOMPARE(e.SeparatorChar(), '.');
    QVERIFY(e.AutoSelect());
    QCOMPARE(e.Color(), clWindow);
    e.setDecimals(1);
    QCOMPARE(e.text(), QString("0.0"));
}

// Initial text and selection, the typed character; the resulting text and
// selection. selLen 0 means a caret at selStart.
void TestFlatEdit::keyFilter_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLen");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("minValue");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expSelStart");
    QTest::addColumn<int>("expSelLen");
    QTest::addColumn<bool>("changed"); // OnChange expected

    // rewrites
    QTest::newRow("sep over all") << "0.00" << 0 << 4 << 2 << 0.0 << "." << "0.0" << 2 << 1 << true;
    QTest::newRow("sep into empty") << "" << 0 << 0 << 2 << 0.0 << "." << "0.0" << 2 << 1 << true;
    QTest::newRow("minus into empty") << "" << 0 << 0 << 2 << -10.0 << "-" << "-0" << 1 << 1 << true;
    QTest::newRow("minus over all") << "5.00" << 0 << 4 << 2 << -10.0 << "-" << "-0" << 1 << 1 << true;
    // digits
    QTest::newRow("digit over all") << "0.00" << 0 << 4 << 2 << 0.0 << "7" << "7" << 1 << 0 << true;
    QTest::newRow("third decimal") << "1.25" << 4 << 0 << 2 << 0.0 << "3" << "1.25" << 4 << 0 << false;
    QTest::newRow("digit before sep") << "1.25" << 1 << 0 << 2 << 0.0 << "7" << "17.25" << 2 << 0 << true;
    QTest::newRow("digit at start") << "1.25" << 0 << 0 << 2 << 0.0 << "5" << "51.25" << 1 << 0 << true;
    QTest::newRow("over decimals") << "12.34" << 3 << 2 << 2 << 0.0 << "5" << "12.5" << 4 << 0 << true;
    QTest::newRow("kvy second decimal") << "2.5" << 3 << 0 << 1 << 0.0 << "5" << "2.5" << 3 << 0 << false;
    QTest::newRow("many integer digits") << "12345678" << 8 << 0 << 2 << 0.0 << "9" << "123456789" << 9
                                         << 0 << true;
    QTest::newRow("arabic digit") << "1" << 1 << 0 << 2 << 0.0 << QString(QChar(0x0663)) << "1" << 1 << 0 << false;
    // separator
    QTest::newRow("second sep") << "1.25" << 0 << 0 << 2 << 0.0 << "." << "1.25" << 0 << 0 << false;
    QTest::newRow("sep over sep") << "1.25" << 1 << 1 << 2 << 0.0 << "." << "1.25" << 2 << 0 << true;
    QTest::newRow("sep leaves 3 decimals") << "123" << 0 << 0 << 2 << 0.0 << "." << "123" << 0 << 0 << false;
    QTest::newRow("sep leaves 2 decimals") << "123" << 1 << 0 << 2 << 0.0 << "." << "1.23" << 2 << 0 << true;
    QTest::newRow("sep at end") << "12" << 2 << 0 << 2 << 0.0 << "." << "12." << 3 << 0 << true;
    QTest::newRow("sep, 0 decimals") << "5" << 1 << 0 << 0 << 0.0 << "." << "5" << 1 << 0 << false;
    QTest::newRow("comma") << "1" << 1 << 0 << 2 << 0.0 << "," << "1" << 1 << 0 << false;
    // minus
    QTest::newRow("minus, min 0") << "5" << 0 << 0 << 2 << 0.0 << "-" << "5" << 0 << 0 << false;
    QTest::newRow("minus first") << "5" << 0 << 0 << 2 << -10.0 << "-" << "-5" << 1 << 0 << true;
    QTest::newRow("minus not first") << "5" << 1 << 0 << 2 << -10.0 << "-" << "5" << 1 << 0 << false;
    QTest::newRow("second minus") << "-5" << 0 << 0 << 2 << -10.0 << "-" << "-5" << 0 << 0 << false;
    // other characters
    QTest::newRow("plus") << "5" << 1 << 0 << 2 << 0.0 << "+" << "5" << 1 << 0 << false;
    QTest::newRow("blank") << "5" << 1 << 0 << 2 << 0.0 << " " << "5" << 1 << 0 << false;
    QTest::newRow("letter") << "5" << 1 << 0 << 2 << 0.0 << "a" << "5" << 1 << 0 << false;
    QTest::newRow("letter x") << "5" << 1 << 0 << 2 << 0.0 << "x" << "5" << 1 << 0 << false;
    QTest::newRow("E") << "1" << 1 << 0 << 2 << 0.0 << "E" << "1E" << 2 << 0 << true;
    QTest::newRow("e") << "1" << 1 << 0 << 2 << 0.0 << "e" << "1e" << 2 << 0 << true;
    QTest::newRow("second E") << "1E" << 2 << 0 << 2 << 0.0 << "E" << "1E" << 2 << 0 << false;
    QTest::newRow("e after E") << "1E" << 2 << 0 << 2 << 0.0 << "e" << "1Ee" << 3 << 0 << true;
    QTest::newRow("E over E") << "1E5" << 1 << 1 << 2 << 0.0 << "E" << "1E5" << 2 << 0 << true;
}

void TestFlatEdit::keyFilter()
{
    QFETCH(QString, initial);
    QFETCH(int, selStart);
    QFETCH(int, selLen);
    QFETCH(int, decimals);
    QFETCH(double, minValue);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QFETCH(int, expSelStart);
    QFETCH(int, expSelLen);
    QFETCH(bool, changed);

    TFlatFloatEdit *e = m_form->a;
    e->setDecimals(decimals);
    e->setMinValue(minValue);
    focusWithTab(e);
    e->setText(initial);
    if (selLen > 0)
        e->setSelection(selStart, selLen);
    else
        e->setCursorPosition(selStart);

    QSignalSpy changes(e, &TCustomFlatFloatEdit::OnChange);
    QSignalSpy presses(e, &TCustomFlatFloatEdit::OnKeyPress);
    if (key.at(0).unicode() < 128) {
        QTest::keyClicks(e, key);
    } else { // beyond what QTest can type: the events a keyboard layout sends
        QKeyEvent down(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, key);
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, key);
        QApplication::sendEvent(e, &down);
        QApplication::sendEvent(e, &up);
    }

    QCOMPARE(e->text(), expected);
    if (expSelLen > 0) {
        QCOMPARE(e->selectionStart(), expSelStart);
        QCOMPARE(e->selectionLength(), expSelLen);
    } else {
        QVERIFY(!e->hasSelectedText());
        QCOMPARE(e->cursorPosition(), expSelStart);
    }
    QCOMPARE(changes.count(), changed ? 1 : 0);
    QCOMPARE(presses.count(), 1);
    QCOMPARE(presses.at(0).at(0).value<QChar>(), key.at(0));
}

void TestFlatEdit::separatorThenDigit()
{
    TFlatFloatEdit *e = m_form->a;
    focusWithTab(e);
    QCOMPARE(e->selectedText(), QString("0.00"));
    QTest::keyClick(e, '.');
    QTest::keyClick(e, '5');
    QCOMPARE(e->text(), QString("0.5"));
    QCOMPARE(e->ValueL(), 0.5L);
}

void TestFlatEdit::minusThenDigit()
{
    TFlatFloatEdit *e = m_form->a;
    e->setMinValue(-10);
    focusWithTab(e);
    QTest::keyClicks(e, "-5.25");
    QCOMPARE(e->text(), QString("-5.25"));
    QCOMPARE(e->ValueL(), -5.25L);
}

void TestFlatEdit::exponentLettersCountedSeparately()
{
    TFlatFloatEdit *e = m_form->a;
    focusWithTab(e);
    QTest::keyClicks(e, "1EEee5");
    QCOMPARE(e->text(), QString("1Ee5"));
    // Both letters in one text do not read as a number.
    QCOMPARE(e->ValueL(), e->MinValueL());
}

void TestFlatEdit::escRestoresEntryValue()
{
    TFlatFloatEdit *e = m_form->a;
    e->setValue(7);
    focusWithTab(e);
    QCOMPARE(e->EntryValue(), 7.0L);
    QTest::keyClicks(e, "12");
    QCOMPARE(e->text(), QString("12"));

    QSignalSpy changes(e, &TCustomFlatFloatEdit::OnChange);
    QSignalSpy presses(e, &TCustomFlatFloatEdit::OnKeyPress);
    QTest::keyClick(e, Qt::Key_Escape);
    QCOMPARE(e->text(), QString("7.00"));
    QCOMPARE(e->selectedText(), QString("7.00"));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(presses.count(), 1);
    QCOMPARE(presses.at(0).at(0).value<QChar>(), QChar(27));

    // Esc with the entry text still shown changes nothing.
    QTest::keyClick(e, Qt::Key_Escape);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(QApplication::focusWidget(), e);
}

namespace {
// Counts key presses that reach the form (propagated by the field).
class KeyCounter : public QObject
{
public:
    int presses = 0;
    bool eventFilter(QObject *, QEvent *ev) override
    {
        if (ev->type() == QEvent::KeyPress)
            ++presses;
        return false;
    }
};
} // namespace

void TestFlatEdit::enterTypesNothingButReachesKeyUp()
{
    TFlatFloatEdit *e = m_form->a;
    focusWithTab(e);
    QTest::keyClicks(e, "12");
    KeyCounter counter;
    m_form->installEventFilter(&counter);

    QSignalSpy changes(e, &TCustomFlatFloatEdit::OnChange);
    QSignalSpy presses(e, &TCustomFlatFloatEdit::OnKeyPress);
    QSignalSpy ups(e, &TCustomFlatFloatEdit::OnKeyUp);
    QTest::keyClick(e, Qt::Key_Return);
    QTest::keyClick(e, Qt::Key_Enter, Qt::KeypadModifier);
    // Ctrl+J as a platform delivers it: the line feed character.
    QKeyEvent lfDown(QEvent::KeyPress, Qt::Key_J, Qt::ControlModifier, QString(QChar(10)));
    QKeyEvent lfUp(QEvent::KeyRelease, Qt::Key_J, Qt::ControlModifier, QString(QChar(10)));
    QApplication::sendEvent(e, &lfDown);
    QApplication::sendEvent(e, &lfUp);

    QCOMPARE(e->text(), QString("12"));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(presses.count(), 0);
    QCOMPARE(counter.presses, 0);
    QCOMPARE(ups.count(), 3);
    QCOMPARE(ups.at(0).at(0).toInt(), int(Qt::Key_Return));
    QCOMPARE(ups.at(1).at(0).toInt(), int(Qt::Key_Enter));
    m_form->removeEventFilter(&counter);
}

void TestFlatEdit::controlKeysPassUnfiltered()
{
    TFlatFloatEdit *e = m_form->a;
    focusWithTab(e);
    QTest::keyClicks(e, "1.25");
    QSignalSpy presses(e, &TCustomFlatFloatEdit::OnKeyPress);

    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->text(), QString("1.2"));
    QCOMPARE(presses.count(), 1);
    QCOMPARE(presses.at(0).at(0).value<QChar>(), QChar(8));

    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(e->selectedText(), QString("1.2"));
    QTest::keyClick(e, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("1.2"));
    QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(e->text(), QString(""));
    QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e->text(), QString("1.2"));
    QCOMPARE(presses.count(), 5);
    QCOMPARE(presses.at(1).at(0).value<QChar>(), QChar(1)); // Ctrl+A
    QCOMPARE(presses.at(4).at(0).value<QChar>(), QChar(26)); // Ctrl+Z

    // Keys without a character are not filtered either.
    QTest::keyClick(e, Qt::Key_Home);
    QTest::keyClick(e, Qt::Key_Delete);
    QCOMPARE(e->text(), QString(".2"));
    QCOMPARE(presses.count(), 5);
}

void TestFlatEdit::inputMethodCommitIsFiltered()
{
    TFlatFloatEdit *e = m_form->a;
    focusWithTab(e);
    QSignalSpy presses(e, &TCustomFlatFloatEdit::OnKeyPress);

    QInputMethodEvent sep;
    sep.setCommitString(".");
    QApplication::sendEvent(e, &sep);
    QCOMPARE(e->text(), QString("0.0"));
    QCOMPARE(e->selectedText(), QString("0"));

    e->selectAll();
    QInputMethodEvent ev;
    ev.setCommitString("1a2,.5x67");
    QApplication::sendEvent(e, &ev);
    QCOMPARE(e->text(), QString("12.56"));
    QCOMPARE(presses.count(), 1 + 9);

    // A composition is shown, not filtered, until it is committed.
    QInputMethodEvent pre("abc", {});
    QApplication::sendEvent(e, &pre);
    QCOMPARE(e->text(), QString("12.56"));
    QInputMethodEvent done;
    done.setCommitString("b");
    QApplication::sendEvent(e, &done);
    QCOMPARE(e->text(), QString("12.56"));
}

void TestFlatEdit::focusEntry_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("autoSelect");
    QTest::addColumn<bool>("selectedAll");

    QTest::newRow("tab") << "tab" << true << true;
    QTest::newRow("backtab") << "backtab" << true << true;
    QTest::newRow("code") << "code" << true << true;
    QTest::newRow("left click") << "left" << true << false;
    QTest::newRow("right click") << "right" << true << true;
    QTest::newRow("tab, no AutoSelect") << "tab" << false << false;
    QTest::newRow("code, no AutoSelect") << "code" << false << false;
}

void TestFlatEdit::focusEntry()
{
    QFETCH(QString, how);
    QFETCH(bool, autoSelect);
    QFETCH(bool, selectedAll);

    TFlatFloatEdit *e = m_form->b;
    e->setContextMenuPolicy(Qt::NoContextMenu);
    e->setAutoSelect(autoSelect);
    e->setValue(42.5);
    if (how == "backtab")
        m_form->c->setFocus();
    else
        m_form->a->setFocus();
    QSignalSpy enters(e, &TCustomFlatFloatEdit::OnEnter);

    if (how == "tab")
        QTest::keyClick(m_form->a, Qt::Key_Tab);
    else if (how == "backtab")
        QTest::keyClick(m_form->c, Qt::Key_Backtab, Qt::ShiftModifier);
    else if (how == "code")
        e->setFocus();
    else if (how == "left")
        QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(10, 10));
    else if (how == "right")
        QTest::mouseClick(e, Qt::RightButton, {}, QPoint(10, 10));

    QCOMPARE(QApplication::focusWidget(), e);
    QCOMPARE(enters.count(), 1);
    QCOMPARE(e->EntryValue(), 42.5L);
    QCOMPARE(e->selectedText(), selectedAll ? QString("42.50") : QString());
}

// Leaving the field with Tab: the text typed, the limits, and what the
// field then shows and whether it keeps the focus.
void TestFlatEdit::exitCheck_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("minValue");
    QTest::addColumn<double>("maxValue");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("valid") << "5" << 0.0 << 100.0 << 2 << "5.00" << true;
    QTest::newRow("valid, formatted") << "5.00" << 0.0 << 100.0 << 2 << "5.00" << true;
    QTest::newRow("empty") << "" << 0.0 << 100.0 << 2 << "0.00" << true;
    QTest::newRow("empty, min 2.5") << "" << 2.5 << 100.0 << 2 << "2.50" << true;
    QTest::newRow("upper limit") << "100" << 0.0 << 100.0 << 2 << "100.00" << true;
    QTest::newRow("above") << "101" << 0.0 << 100.0 << 2 << "7.00" << false;
    // The restored entry value is written through the clamp.
    QTest::newRow("below") << "5" << 10.0 << 100.0 << 2 << "10.00" << false;
    QTest::newRow("unreadable") << "abc" << 0.0 << 100.0 << 2 << "7.00" << false;
    QTest::newRow("comma") << "1,5" << 0.0 << 100.0 << 2 << "7.00" << false;
    QTest::newRow("E and e") << "1Ee" << 0.0 << 100.0 << 2 << "7.00" << false;
    QTest::newRow("1E") << "1E" << 0.0 << 100.0 << 2 << "1.00" << true;
    QTest::newRow("1E5") << "1E5" << 0.0 << 100.0 << 2 << "7.00" << false;
    QTest::newRow("lone point") << "." << 0.0 << 100.0 << 2 << "0.00" << true;
    QTest::newRow("too many decimals") << "3.14159" << 0.0 << 100.0 << 2 << "3.14" << true;
    QTest::newRow("rounds up") << "99.996" << 0.0 << 100.0 << 2 << "100.00" << true;
    QTest::newRow("kvy decimals") << "6.97" << 0.0 << 100.0 << 1 << "7.0" << true;
    QTest::newRow("negative") << "-5" << -10.0 << 100.0 << 2 << "-5.00" << true;
    QTest::newRow("equal limits, other") << "7" << 7.5 << 7.5 << 2 << "7.00" << false;
    QTest::newRow("equal limits, the one") << "7.5" << 7.5 << 7.5 << 2 << "7.50" << true;
    QTest::newRow("blanks around") << " 5 " << 0.0 << 100.0 << 2 << "5.00" << true;
}

void TestFlatEdit::exitCheck()
{
    QFETCH(QString, text);
    QFETCH(double, minValue);
    QFETCH(double, maxValue);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QFETCH(bool, accepted);

    TFlatFloatEdit *e = m_form->a;
    e->setValue(7);
    e->setDecimals(decimals);
    e->setMaxValue(maxValue);
    e->setMinValue(minValue);
    focusWithTab(e);
    e->setText(text); // stands for any typing or pasting

    QSignalSpy changes(e, &TCustomFlatFloatEdit::OnChange);
    QSignalSpy exits(e, &TCustomFlatFloatEdit::OnExit);
    QSignalSpy errors(e, &TCustomFlatFloatEdit::OnError);
    QTest::keyClick(e, Qt::Key_Tab);

    QCOMPARE(e->text(), expected);
    QCOMPARE(changes.count(), text == expected ? 0 : 1);
    if (accepted) {
        QCOMPARE(QApplication::focusWidget(), m_form->b);
        QCOMPARE(exits.count(), 2);
        QCOMPARE(errors.count(), 0);
    } else {
        QCOMPARE(QApplication::focusWidget(), e);
        QCOMPARE(e->selectedText(), expected);
        QCOMPARE(exits.count(), 1);
        QCOMPARE(errors.count(), 1);
    }
}

// Every way of taking the focus away ends with the field keeping it.
void TestFlatEdit::rejectedExitKeepsFocus_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("tab") << "tab";
    QTest::newRow("backtab") << "backtab";
    QTest::newRow("click on field") << "field";
    QTest::newRow("click on button") << "button";
    QTest::newRow("setFocus") << "code";
    QTest::newRow("clearFocus") << "clear";
}

void TestFlatEdit::rejectedExitKeepsFocus()
{
    QFETCH(QString, how);
    TFlatFloatEdit *e = m_form->b;
    focusWithTab(e);
    QTest::keyClicks(e, "101");
    QSignalSpy errors(e, &TCustomFlatFloatEdit::OnError);
    QSignalSpy enters(e, &TCustomFlatFloatEdit::OnEnter);
    QSignalSpy enterC(m_form->c, &TCustomFlatFloatEdit::OnEnter);

    if (how == "tab")
        QTest::keyClick(e, Qt::Key_Tab);
    else if (how == "backtab")
        QTest::keyClick(e, Qt::Key_Backtab, Qt::ShiftModifier);
    else if (how == "field")
        QTest::mouseClick(m_form->c, Qt::LeftButton, {}, QPoint(10, 10));
    else if (how == "button")
        QTest::mouseClick(m_form->button, Qt::LeftButton);
    else if (how == "code")
        m_form->c->setFocus();
    else if (how == "clear")
        e->clearFocus();
    QCoreApplication::processEvents();

    QCOMPARE(QApplication::focusWidget(), e);
    QVERIFY(!m_form->button->hasFocus());
    QCOMPARE(e->text(), QString("0.00"));
    QCOMPARE(e->selectedText(), QString("0.00"));
    QCOMPARE(errors.count(), 1);
    QCOMPARE(enters.count(), 0); // taking the focus back is no new entry
    QCOMPARE(enterC.count(), 0);

    // Now valid: the field can be left.
    QTest::keyClicks(e, "50");
    m_form->c->setFocus();
    QCOMPARE(QApplication::focusWidget(), m_form->c);
    QCOMPARE(e->text(), QString("50.00"));
}

void TestFlatEdit::acceptedExitMovesFocus()
{
    TFlatFloatEdit *e = m_form->a;
    focusWithTab(e);
    QTest::keyClicks(e, "5");
    QTest::mouseClick(m_form->button, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), m_form->button);
    QCOMPARE(e->text(), QString("5.00"));
}

void TestFlatEdit::windowDeactivationIsNoExit()
{
    TFlatFloatEdit *e = m_form->a;
    focusWithTab(e);
    QTest::keyClicks(e, "101");
    QSignalSpy exits(e, &TCustomFlatFloatEdit::OnExit);
    QSignalSpy enters(e, &TCustomFlatFloatEdit::OnEnter);

    QWidget other;
    other.resize(100, 100);
    QVERIFY(showActive(other));
    QCOMPARE(exits.count(), 0);
    QCOMPARE(e->text(), QString("101"));
    QCOMPARE(e->ValueL(), 101.0L); // read while focused: unclamped

    other.hide();
    QVERIFY(showActive(*m_form));
    QCOMPARE(QApplication::focusWidget(), e);
    QCOMPARE(enters.count(), 0);
    QCOMPARE(e->text(), QString("101"));
}

void TestFlatEdit::writeValue_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("in range") << 12.345 << "12.35";
    QTest::newRow("above") << 150.0 << "100.00";
    QTest::newRow("below") << -5.0 << "0.00";
    QTest::newRow("same text") << 0.0 << "0.00";
    QTest::newRow("rounds to shown") << 0.004 << "0.00";
    QTest::newRow("half") << 0.125 << "0.13";
    QTest::newRow("below half") << 2.675 << "2.67";
    QTest::newRow("infinity") << double(INFINITY) << "100.00";
}

void TestFlatEdit::writeValue()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    TFlatFloatEdit *e = m_form->a;
    QSignalSpy changes(e, &TCustomFlatFloatEdit::OnChange);
    e->setValue(value);
    QCOMPARE(e->text(), expected);
    QCOMPARE(changes.count(), expected == "0.00" ? 0 : 1);
    e->setValue(value);
    QCOMPARE(changes.count(), expected == "0.00" ? 0 : 1);
}

void TestFlatEdit::writeLimits()
{
    TFlatFloatEdit *e = m_form->a;
    QSignalSpy changes(e, &TCustomFlatFloatEdit::OnChange);
    e->setValue(42);
    QCOMPARE(changes.count(), 1);

    // Raising the minimum drags the maximum up; the text is never touched.
    e->setMinValue(120);
    QCOMPARE(e->MinValueL(), 120.0L);
    QCOMPARE(e->MaxValueL(), 120.0L);
    QCOMPARE(e->text(), QString("42.00"));
    // Equal limits: writes are not clamped.
    e->setValue(7);
    QCOMPARE(e->text(), QString("7.00"));
    // A lower minimum leaves the maximum where it was.
    e->setMinValue(50);
    QCOMPARE(e->MinValueL(), 50.0L);
    QCOMPARE(e->MaxValueL(), 120.0L);
    QCOMPARE(e->text(), QString("7.00"));
    e->setValue(7);
    QCOMPARE(e->text(), QString("50.00"));
    // The mirror for the maximum.
    e->setMaxValue(10);
    QCOMPARE(e->MinValueL(), 10.0L);
    QCOMPARE(e->MaxValueL(), 10.0L);
    QCOMPARE(e->text(), QString("50.00"));
    QCOMPARE(changes.count(), 3);

    // A NaN limit is ignored.
    e->setMinValueL(NAN);
    e->setMaxValueL(NAN);
    QCOMPARE(e->MinValueL(), 10.0L);
    QCOMPARE(e->MaxValueL(), 10.0L);
}

void TestFlatEdit::writeDecimals()
{
    TFlatFloatEdit *e = m_form->a;
    e->setValue(1.5);
    QSignalSpy changes(e, &TCustomFlatFloatEdit::OnChange);
    e->setDecimals(2);
    QCOMPARE(changes.count(), 0);
    e->setDecimals(3);
    QCOMPARE(e->text(), QString("1.500"));
    e->setDecimals(0);
    QCOMPARE(e->text(), QString("2"));
    e->setDecimals(25);
    QCOMPARE(e->Decimals(), 18);
    QCOMPARE(e->text(), QString("2.000000000000000000"));
    e->setDecimals(-1);
    QCOMPARE(e->Decimals(), 0);
    QCOMPARE(changes.count(), 4);
    // A text that does not read is replaced by the minimum.
    e->setText("abc");
    e->setDecimals(1);
    QCOMPARE(e->text(), QString("0.0"));
}

void TestFlatEdit::readValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("minValue");
    QTest::addColumn<double>("expected");
    QTest::newRow("number") << "12.5" << 0.0 << 12.5;
    QTest::newRow("unclamped") << "150" << 0.0 << 150.0;
    QTest::newRow("empty") << "" << 3.0 << 3.0;
    QTest::newRow("letters") << "abc" << 3.0 << 3.0;
    QTest::newRow("E and e") << "1Ee" << 3.0 << 3.0;
    QTest::newRow("1E") << "1E" << 3.0 << 1.0;
    QTest::newRow("1E5") << "1E5" << 0.0 << 100000.0;
    QTest::newRow("minus alone") << "-" << -3.0 << -3.0;
    QTest::newRow("-0") << "-0" << -3.0 << 0.0;
}

void TestFlatEdit::readValue()
{
    QFETCH(QString, text);
    QFETCH(double, minValue);
    QFETCH(double, expected);
    TFlatFloatEdit *e = m_form->a;
    e->setMinValue(minValue);
    e->setText(text);
    QCOMPARE(e->Value(), expected);
}

void TestFlatEdit::limitsComparedInExtendedPrecision()
{
    TFlatFloatEdit *e = m_form->a;
    // The double 0.1 lies above the extended 0.1 that the text "0.1" reads as.
    e->setMinValue(0.1);
    e->setValue(5);
    focusWithTab(e);
    e->setText("0.1");
    m_form->b->setFocus();
    QCOMPARE(QApplication::focusWidget(), e);
    QCOMPARE(e->text(), QString("5.00"));

    e->setMinValueL(0.1L);
    e->setText("0.1");
    m_form->b->setFocus();
    QCOMPARE(QApplication::focusWidget(), m_form->b);
    QCOMPARE(e->text(), QString("0.10"));
}

void TestFlatEdit::paste_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<double>("whileFocused");
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("comma") << "1,5" << 0.0;
    QTest::newRow("10000 letters") << QString(10000, QChar('x')) << 0.0;
    QTest::newRow("10000 digits") << QString(10000, QChar('9')) << double(INFINITY);
    QTest::newRow("number past range") << "1E400" << double(INFINITY);
}

void TestFlatEdit::paste()
{
    QFETCH(QString, clip);
    QFETCH(double, whileFocused);
    TFlatFloatEdit *e = m_form->a;
    e->setMaxLength(32767);
    e->setValue(3);
    focusWithTab(e);
    QApplication::clipboard()->setText(clip);
    QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(e->text(), clip);
    QCOMPARE(e->Value(), whileFocused);

    QTest::keyClick(e, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), e);
    QCOMPARE(e->text(), QString("3.00"));
}

void TestFlatEdit::alignmentProperty()
{
    TFlatFloatEdit *e = m_form->a;
    e->setAlignment(TCustomFlatFloatEdit::taCenter);
    QVERIFY(e->alignment() & Qt::AlignHCenter);
    e->setAlignment(TCustomFlatFloatEdit::taLeftJustify);
    QVERIFY(e->alignment() & Qt::AlignLeft);
    e->setText("1.5");
    QCOMPARE(e->text(), QString("1.5"));
    QCOMPARE(e->Alignment(), TCustomFlatFloatEdit::taLeftJustify);
}

// The names a window description uses, through the property system.
void TestFlatEdit::propertiesThroughMetaObject()
{
    TFlatFloatEdit e;
    QVERIFY(e.setProperty("Decimals", 1));
    QVERIFY(e.setProperty("MaxValue", 250.0));
    QVERIFY(e.setProperty("MinValue", 10.0));
    QVERIFY(e.setProperty("Value", 300.0));
    QVERIFY(e.setProperty("Alignment", QVariant::fromValue(TCustomFlatFloatEdit::taCenter)));
    QVERIFY(e.setProperty("BorderColor", QVariant::fromValue<TColor>(clRed)));
    QVERIFY(e.setProperty("Version", QString("9.99")));
    QCOMPARE(e.text(), QString("250.0"));
    QCOMPARE(e.property("Value").toDouble(), 250.0);
    QCOMPARE(e.property("MinValue").toDouble(), 10.0);
    QCOMPARE(e.property("Alignment").value<TCustomFlatFloatEdit::TAlignment>(),
             TCustomFlatFloatEdit::taCenter);
    QCOMPARE(e.property("BorderColor").value<TColor>(), clRed);
    QCOMPARE(e.property("Version").toString(), QString("1.29"));
}

// Text reaches the field only through the key filter or a paste: Alt with
// a character key is a system key, and drops are refused.
void TestFlatEdit::otherInputTypesNothing_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("text");
    QTest::newRow("Alt+digit") << "alt" << "5";
    QTest::newRow("Alt+E") << "alt" << "E";
    QTest::newRow("Alt+separator") << "alt" << ".";
    QTest::newRow("drop of a digit") << "drop" << "5";
    QTest::newRow("drop of letters") << "drop" << "abc";
}

void TestFlatEdit::otherInputTypesNothing()
{
    QFETCH(QString, way);
    QFETCH(QString, text);
    TFlatFloatEdit *e = m_form->a;
    focusWithTab(e);
    QTest::keyClicks(e, "1.2"); // the caret at the end, room for a digit
    QSignalSpy changes(e, &TCustomFlatFloatEdit::OnChange);
    QSignalSpy presses(e, &TCustomFlatFloatEdit::OnKeyPress);
    if (way == "alt") {
        QTest::keyClick(e, text.at(0).toLatin1(), Qt::AltModifier);
    } else {
        QMimeData data;
        data.setText(text);
        const QPoint at = e->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e, &enter);
        QVERIFY(!enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e, &drop);
        QVERIFY(!drop.isAccepted());
    }
    QCOMPARE(e->text(), QString("1.2"));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(presses.count(), 0);
}

namespace {

// What a paste left: the text, the selection, the focus, the characters
// reported and the number of changes.
QString pasteOutcome(const TFlatFloatEdit *e, const QSignalSpy &presses, const QSignalSpy &changes)
{
    QString reported;
    for (const QList<QVariant> &args : presses)
        reported += QString::number(args.at(0).value<QChar>().unicode()) + ' ';
    return QString("text %1, selection %2+%3, focus %4, keys %5, changes %6")
        .arg(e->text())
        .arg(e->selectionStart())
        .arg(e->selectionLength())
        .arg(e->hasFocus())
        .arg(reported)
        .arg(changes.count());
}

} // namespace

// The middle button pastes X11's primary selection. It takes Ctrl+V's road:
// the paste character passes the key filter (OnKeyPress), the text replaces
// the selection, unfiltered, and the exit check judges it later.
void TestFlatEdit::middleClickPastesLikeCtrlV()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        // Only X11 has the primary selection: the checks run in a child on
        // a virtual display of its own.
        const QString xvfb = QStandardPaths::findExecutable("Xvfb");
        if (xvfb.isEmpty())
            QSKIP("Xvfb is not installed");
        QProcess server;
        server.start(xvfb, {"-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
        QVERIFY(server.waitForStarted(5000));
        const auto stop = qScopeGuard([&] {
            server.terminate();
            server.waitForFinished(5000);
        });
        QByteArray display;
        while (!display.contains('\n') && server.waitForReadyRead(10000))
            display += server.readAllStandardOutput();
        QVERIFY2(display.contains('\n'), "Xvfb gave no display number");
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("DISPLAY", ":" + QString::fromLatin1(display.trimmed()));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {"middleClickPastesLikeCtrlV"});
        const bool finished = child.waitForFinished(30000);
        const QByteArray output = child.readAll();
        QVERIFY2(finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 output.constData());
        QVERIFY2(output.contains("PASS   : TestFlatEdit::middleClickPastesLikeCtrlV()"), output.constData());
        return;
    }

    struct Case {
        const char *name;
        const char *start;   // the text of field a
        int selStart, selLen; // in a focused field a; -1: field a unfocused
        const char *clip;
        bool readOnly;
        const char *after; // the text after the paste
    };
    const Case cases[] = {
        {"letters over the whole text", "3.00", 0, 4, "abc", false, "abc"},
        {"digits at the caret", "1.25", 1, 0, "7", false, "17.25"},
        {"into a field without the focus", "3.00", -1, 0, "42", false, "42"},
        {"read-only field", "3.00", 0, 4, "9", true, "3.00"},
    };
    QClipboard *clipboard = QApplication::clipboard();
    for (const Case &c : cases) {
        QString outcome[2];
        for (int middle = 0; middle < 2; ++middle) {
            m_form = std::make_unique<TestForm>();
            QVERIFY(showActive(*m_form));
            TFlatFloatEdit *e = m_form->a;
            e->setReadOnly(c.readOnly);
            e->setText(c.start);
            m_form->button->setFocus();
            if (c.selStart >= 0 || !middle) {
                focusWithTab(e);
                if (c.selStart >= 0)
                    e->setSelection(c.selStart, c.selLen);
            }
            clipboard->setText(c.clip, middle ? QClipboard::Selection : QClipboard::Clipboard);
            QSignalSpy presses(e, &TCustomFlatFloatEdit::OnKeyPress);
            QSignalSpy changes(e, &TCustomFlatFloatEdit::OnChange);
            if (middle)
                QTest::mouseClick(e, Qt::MiddleButton, {}, e->rect().center());
            else
                QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
            outcome[middle] = pasteOutcome(e, presses, changes);
        }
        QVERIFY2(outcome[1] == outcome[0], qPrintable(QString("%1: middle button: %2; Ctrl+V: %3")
                                                          .arg(c.name, outcome[1], outcome[0])));
        QVERIFY2(outcome[1].startsWith(QString("text %1,").arg(c.after)), qPrintable(outcome[1]));
        QVERIFY2(outcome[1].contains("keys 22 ,"), qPrintable(outcome[1]));
    }
}

QTEST_MAIN(TestFlatEdit)
#include "test_flatedit.moc"
