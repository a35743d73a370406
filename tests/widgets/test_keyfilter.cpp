// Typing into the numeric entry field: the key filter (through real key
// events, and as the pure function the field asks), the keys it lets
// through or swallows, input methods, and the ways text cannot enter.
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include <cmath>
#include <memory>

#include "core/numtext.h"
#include "tests/widgets/testform.h"
#include "widgets/keyfilter.h"

class TestKeyFilter : public TestFormFixture
{
    Q_OBJECT

private slots:
    void keyFilter_data();
    void keyFilter();
    void separatorThenDigit();
    void minusThenDigit();
    void exponentLettersCountedSeparately();
    void escRestoresEntryValue();
    void enterTypesNothingButReachesKeyUp_data();
    void enterTypesNothingButReachesKeyUp();
    void controlKeysPassUnfiltered();
    void inputMethodCommitIsFiltered();
    void otherInputTypesNothing_data();
    void otherInputTypesNothing();
};

// Initial text and selection, the typed character; the resulting text and
// selection. selLen 0 means a caret at selStart.
void TestKeyFilter::keyFilter_data()
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
    QTest::newRow("sep over all") << "0.00" << 0 << 4 << 2 << 0.0 << "."
                                  << "0.0" << 2 << 1 << true;
    QTest::newRow("sep into empty") << "" << 0 << 0 << 2 << 0.0 << "."
                                    << "0.0" << 2 << 1 << true;
    QTest::newRow("minus into empty") << "" << 0 << 0 << 2 << -10.0 << "-"
                                      << "-0" << 1 << 1 << true;
    QTest::newRow("minus over all") << "5.00" << 0 << 4 << 2 << -10.0 << "-"
                                    << "-0" << 1 << 1 << true;
    // digits
    QTest::newRow("digit over all") << "0.00" << 0 << 4 << 2 << 0.0 << "7"
                                    << "7" << 1 << 0 << true;
    QTest::newRow("third decimal") << "1.25" << 4 << 0 << 2 << 0.0 << "3"
                                   << "1.25" << 4 << 0 << false;
    QTest::newRow("digit before sep") << "1.25" << 1 << 0 << 2 << 0.0 << "7"
                                      << "17.25" << 2 << 0 << true;
    QTest::newRow("digit at start") << "1.25" << 0 << 0 << 2 << 0.0 << "5"
                                    << "51.25" << 1 << 0 << true;
    QTest::newRow("over decimals") << "12.34" << 3 << 2 << 2 << 0.0 << "5"
                                   << "12.5" << 4 << 0 << true;
    QTest::newRow("kvy second decimal") << "2.5" << 3 << 0 << 1 << 0.0 << "5"
                                        << "2.5" << 3 << 0 << false;
    QTest::newRow("many integer digits") << "12345678" << 8 << 0 << 2 << 0.0 << "9"
                                         << "123456789" << 9 << 0 << true;
    QTest::newRow("arabic digit") << "1" << 1 << 0 << 2 << 0.0 << QString(QChar(0x0663)) << "1" << 1 << 0 << false;
    // separator
    QTest::newRow("second sep") << "1.25" << 0 << 0 << 2 << 0.0 << "."
                                << "1.25" << 0 << 0 << false;
    QTest::newRow("sep over sep") << "1.25" << 1 << 1 << 2 << 0.0 << "."
                                  << "1.25" << 2 << 0 << true;
    QTest::newRow("sep leaves 3 decimals") << "123" << 0 << 0 << 2 << 0.0 << "."
                                           << "123" << 0 << 0 << false;
    QTest::newRow("sep leaves 2 decimals") << "123" << 1 << 0 << 2 << 0.0 << "."
                                           << "1.23" << 2 << 0 << true;
    QTest::newRow("sep at end") << "12" << 2 << 0 << 2 << 0.0 << "."
                                << "12." << 3 << 0 << true;
    QTest::newRow("sep, 0 decimals") << "5" << 1 << 0 << 0 << 0.0 << "."
                                     << "5" << 1 << 0 << false;
    QTest::newRow("comma") << "1" << 1 << 0 << 2 << 0.0 << ","
                           << "1" << 1 << 0 << false;
    // minus
    QTest::newRow("minus, min 0") << "5" << 0 << 0 << 2 << 0.0 << "-"
                                  << "5" << 0 << 0 << false;
    QTest::newRow("minus first") << "5" << 0 << 0 << 2 << -10.0 << "-"
                                 << "-5" << 1 << 0 << true;
    QTest::newRow("minus not first") << "5" << 1 << 0 << 2 << -10.0 << "-"
                                     << "5" << 1 << 0 << false;
    QTest::newRow("second minus") << "-5" << 0 << 0 << 2 << -10.0 << "-"
                                  << "-5" << 0 << 0 << false;
    // other characters
    QTest::newRow("plus") << "5" << 1 << 0 << 2 << 0.0 << "+"
                          << "5" << 1 << 0 << false;
    QTest::newRow("blank") << "5" << 1 << 0 << 2 << 0.0 << " "
                           << "5" << 1 << 0 << false;
    QTest::newRow("letter") << "5" << 1 << 0 << 2 << 0.0 << "a"
                            << "5" << 1 << 0 << false;
    QTest::newRow("letter x") << "5" << 1 << 0 << 2 << 0.0 << "x"
                              << "5" << 1 << 0 << false;
    QTest::newRow("E") << "1" << 1 << 0 << 2 << 0.0 << "E"
                       << "1E" << 2 << 0 << true;
    QTest::newRow("e") << "1" << 1 << 0 << 2 << 0.0 << "e"
                       << "1e" << 2 << 0 << true;
    QTest::newRow("second E") << "1E" << 2 << 0 << 2 << 0.0 << "E"
                              << "1E" << 2 << 0 << false;
    QTest::newRow("e after E") << "1E" << 2 << 0 << 2 << 0.0 << "e"
                               << "1Ee" << 3 << 0 << true;
    QTest::newRow("E over E") << "1E5" << 1 << 1 << 2 << 0.0 << "E"
                              << "1E5" << 2 << 0 << true;
    QTest::newRow("E counts as a decimal") << "1.25" << 4 << 0 << 2 << 0.0 << "E"
                                           << "1.25" << 4 << 0 << false;
    // control keys: Ctrl+H types Backspace, Ctrl+Backspace DEL
    QTest::newRow("Ctrl+H") << "1.25" << 4 << 0 << 2 << 0.0 << "\b"
                            << "1.2" << 3 << 0 << true;
    QTest::newRow("Ctrl+Backspace") << "1.25" << 4 << 0 << 2 << 0.0 << "\x7f"
                                    << "1.25" << 4 << 0 << false;
}
void TestKeyFilter::keyFilter()
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
    if (key == "\b") {
        QTest::keyClick(e, Qt::Key_H, Qt::ControlModifier);
    } else if (key == "\x7f") {
        QTest::keyClick(e, Qt::Key_Backspace, Qt::ControlModifier);
    } else if (key.at(0).unicode() < 128) {
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

    // The filter alone, without a field, gives the verdict the field acted on.
    CharVerdict acted = CharVerdict::Accept;
    if (!changed)
        acted = CharVerdict::Reject;
    else if (expSelLen > 0 && key == QLatin1String("-"))
        acted = CharVerdict::RewriteMinus;
    else if (expSelLen > 0 && key == QLatin1String("."))
        acted = CharVerdict::RewriteSeparator;
    const KeyFilterInput input{initial, selStart, selLen, '.', decimals, minValue < 0};
    if (key.at(0).unicode() >= 32) // control characters pass unfiltered
        QCOMPARE(int(filterChar(key.at(0), input)), int(acted));
}

void TestKeyFilter::separatorThenDigit()
{
    TFlatFloatEdit *e = m_form->a;
    focusWithTab(e);
    QCOMPARE(e->selectedText(), QString("0.00"));
    QTest::keyClick(e, '.');
    QTest::keyClick(e, '5');
    QCOMPARE(e->text(), QString("0.5"));
    QCOMPARE(e->ValueL(), 0.5L);
}
void TestKeyFilter::minusThenDigit()
{
    TFlatFloatEdit *e = m_form->a;
    e->setMinValue(-10);
    focusWithTab(e);
    QTest::keyClicks(e, "-5.25");
    QCOMPARE(e->text(), QString("-5.25"));
    QCOMPARE(e->ValueL(), -5.25L);
}
void TestKeyFilter::exponentLettersCountedSeparately()
{
    TFlatFloatEdit *e = m_form->a;
    focusWithTab(e);
    QTest::keyClicks(e, "1EEee5");
    QCOMPARE(e->text(), QString("1Ee5"));
    // Both letters in one text do not read as a number.
    QCOMPARE(e->ValueL(), e->MinValueL());
}
void TestKeyFilter::escRestoresEntryValue()
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
// Enter, keypad Enter and line feed type nothing; their releases reach
// OnKeyUp. A held key repeats as releases and presses marked auto-repeat:
// one key-up, so that the window moves on by one field.
void TestKeyFilter::enterTypesNothingButReachesKeyUp_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("repeats"); // presses repeated while held
    QTest::newRow("Return") << int(Qt::Key_Return) << 0 << "\r" << 0;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "\r" << 0;
    // Ctrl+J as a platform delivers it: the line feed character
    QTest::newRow("Ctrl+J") << int(Qt::Key_J) << int(Qt::ControlModifier) << "\n" << 0;
    QTest::newRow("Return held") << int(Qt::Key_Return) << 0 << "\r" << 3;
}
void TestKeyFilter::enterTypesNothingButReachesKeyUp()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, repeats);
    TFlatFloatEdit *e = m_form->a;
    focusWithTab(e);
    QTest::keyClicks(e, "12");
    KeyCounter counter;
    m_form->installEventFilter(&counter);

    QSignalSpy changes(e, &TCustomFlatFloatEdit::OnChange);
    QSignalSpy presses(e, &TCustomFlatFloatEdit::OnKeyPress);
    QSignalSpy ups(e, &TCustomFlatFloatEdit::OnKeyUp);
    const auto send = [&](QEvent::Type type, bool autoRepeat) {
        QKeyEvent event(type, key, Qt::KeyboardModifiers(modifiers), text, autoRepeat);
        QApplication::sendEvent(e, &event);
    };
    send(QEvent::KeyPress, false);
    for (int i = 0; i < repeats; ++i) {
        send(QEvent::KeyRelease, true);
        send(QEvent::KeyPress, true);
    }
    send(QEvent::KeyRelease, false);

    QCOMPARE(e->text(), QString("12"));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(presses.count(), 0);
    QCOMPARE(counter.presses, 0);
    QCOMPARE(ups.count(), 1);
    QCOMPARE(ups.at(0).at(0).toInt(), key);
    m_form->removeEventFilter(&counter);
}
void TestKeyFilter::controlKeysPassUnfiltered()
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
    QCOMPARE(presses.at(1).at(0).value<QChar>(), QChar(1));  // Ctrl+A
    QCOMPARE(presses.at(4).at(0).value<QChar>(), QChar(26)); // Ctrl+Z

    // Keys without a character are not filtered either.
    QTest::keyClick(e, Qt::Key_Home);
    QTest::keyClick(e, Qt::Key_Delete);
    QCOMPARE(e->text(), QString(".2"));
    QCOMPARE(presses.count(), 5);
}
void TestKeyFilter::inputMethodCommitIsFiltered()
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
// Text reaches the field only through the key filter or a paste: Alt with
// a character key is a system key, and drops are refused.
void TestKeyFilter::otherInputTypesNothing_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("text");
    QTest::newRow("Alt+digit") << "alt"
                               << "5";
    QTest::newRow("Alt+E") << "alt"
                           << "E";
    QTest::newRow("Alt+separator") << "alt"
                                   << ".";
    QTest::newRow("drop of a digit") << "drop"
                                     << "5";
    QTest::newRow("drop of letters") << "drop"
                                     << "abc";
}
void TestKeyFilter::otherInputTypesNothing()
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

QTEST_MAIN(TestKeyFilter)
#include "test_keyfilter.moc"
