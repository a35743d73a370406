// The numeric entry field's value, limits, decimals and properties, read
// and written from code, and pastes (Ctrl+V and the middle button).
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

class TestFlatFloatEdit : public TestFormFixture
{
    Q_OBJECT

private slots:
    void newField();
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
    void middleClickPastesLikeCtrlV();
};

void TestFlatFloatEdit::newField()
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
void TestFlatFloatEdit::writeValue_data()
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
void TestFlatFloatEdit::writeValue()
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
void TestFlatFloatEdit::writeLimits()
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
void TestFlatFloatEdit::writeDecimals()
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
void TestFlatFloatEdit::readValue_data()
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
void TestFlatFloatEdit::readValue()
{
    QFETCH(QString, text);
    QFETCH(double, minValue);
    QFETCH(double, expected);
    TFlatFloatEdit *e = m_form->a;
    e->setMinValue(minValue);
    e->setText(text);
    QCOMPARE(e->Value(), expected);
}
void TestFlatFloatEdit::limitsComparedInExtendedPrecision()
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
void TestFlatFloatEdit::paste_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<double>("whileFocused");
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("comma") << "1,5" << 0.0;
    QTest::newRow("10000 letters") << QString(10000, QChar('x')) << 0.0;
    QTest::newRow("10000 digits") << QString(10000, QChar('9')) << double(INFINITY);
    QTest::newRow("number past range") << "1E400" << double(INFINITY);
}
void TestFlatFloatEdit::paste()
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
void TestFlatFloatEdit::alignmentProperty()
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
void TestFlatFloatEdit::propertiesThroughMetaObject()
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
    QCOMPARE(e.property("Alignment").value<TCustomFlatFloatEdit::TAlignment>(), TCustomFlatFloatEdit::taCenter);
    QCOMPARE(e.property("BorderColor").value<TColor>(), clRed);
    QCOMPARE(e.property("Version").toString(), QString("1.29"));
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
void TestFlatFloatEdit::middleClickPastesLikeCtrlV()
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
        QVERIFY2(finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
        QVERIFY2(output.contains("PASS   : TestFlatFloatEdit::middleClickPastesLikeCtrlV()"), output.constData());
        return;
    }

    struct Case {
        const char *name;
        const char *start;    // the text of field a
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
        QVERIFY2(outcome[1] == outcome[0],
                 qPrintable(QString("%1: middle button: %2; Ctrl+V: %3").arg(c.name, outcome[1], outcome[0])));
        QVERIFY2(outcome[1].startsWith(QString("text %1,").arg(c.after)), qPrintable(outcome[1]));
        QVERIFY2(outcome[1].contains("keys 22 ,"), qPrintable(outcome[1]));
    }
}

QTEST_MAIN(TestFlatFloatEdit)
#include "test_flatfloatedit.moc"
