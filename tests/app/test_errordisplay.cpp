// The error display: the period rule, the class names and the text of the
// start-up error box, the application's identity, errors that escape a
// slot or an event handler reaching the box, the mouse let go, and the
// real message box.
#include "app/application.h"
#include "app/errordisplay.h"
#include "core/errors.h"
#include "tests/app/boxrecorder.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <stdexcept>

namespace {

// One typed character, delivered as an event of its own. (An error thrown
// through the toolkit's key and mouse event code would skip the cleanups
// of that code, which is built without exception support; the frame's
// last-resort catching is tested on events that do not pass through it.)
const QEvent::Type kCharEvent = QEvent::Type(QEvent::User + 1);

class CharEvent : public QEvent
{
public:
    explicit CharEvent(QChar c) : QEvent(kCharEvent), ch(c) {}
    QChar ch;
};

void typeChars(QObject *receiver, const QString &text)
{
    for (QChar c : text) {
        CharEvent event(c);
        QCoreApplication::sendEvent(receiver, &event);
    }
}

// Raises `typed` with its text after every character.
class CharSignalWidget : public QWidget
{
    Q_OBJECT
signals:
    void typed(const QString &text);

protected:
    bool event(QEvent *e) override
    {
        if (e->type() != kCharEvent)
            return QWidget::event(e);
        text += static_cast<CharEvent *>(e)->ch;
        emit typed(text);
        return true;
    }

public:
    QString text;
};

// Fails on the character "x"; with `grab` set, takes the mouse first.
class CharThrowingWidget : public QWidget
{
protected:
    bool event(QEvent *e) override
    {
        if (e->type() != kCharEvent)
            return QWidget::event(e);
        if (static_cast<CharEvent *>(e)->ch == QLatin1Char('x')) {
            if (grab) {
                grabMouse();
                grabbed = QWidget::mouseGrabber() == this;
            }
            throw std::runtime_error("bad key");
        }
        ++chars;
        return true;
    }

public:
    bool grab = false;
    bool grabbed = false;
    int chars = 0;
};

} // namespace

class TestErrorDisplay : public QObject
{
    Q_OBJECT

private slots:
    void periodRule_data();
    void periodRule();
    void errorClassName();
    void applicationErrorText_data();
    void applicationErrorText();
    void applicationIdentity();
    void slotErrorReachesErrorDisplay();
    void eventHandlerErrorReachesErrorDisplay();
    void errorReleasesMouseGrab();
    void realMessageBox();
};

void TestErrorDisplay::periodRule_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "abc"
                            << "abc.";
    QTest::newRow("period") << "abc."
                            << "abc.";
    QTest::newRow("exclamation") << "x!"
                                 << "x!";
    QTest::newRow("parenthesis") << "ok)"
                                 << "ok)";
    QTest::newRow("minus") << "a-"
                           << "a-";
    QTest::newRow("blank") << "a "
                           << "a ";
    QTest::newRow("cyrillic") << QStringLiteral("Файл") << QStringLiteral("Файл.");
    QTest::newRow("question") << "what?"
                              << "what?.";
    QTest::newRow("colon") << "x:"
                           << "x:.";
    QTest::newRow("digit") << "1"
                           << "1.";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("comma") << "a,"
                           << "a,";
    QTest::newRow("slash") << "a/"
                           << "a/.";
    QTest::newRow("write error") << "Unable to write to /home/u/settings.ini"
                                 << "Unable to write to /home/u/settings.ini.";
}

void TestErrorDisplay::periodRule()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(withFinalPeriod(message), shown);

    // the same rule through the error display, from UTF-8 error text
    BoxRecorder recorder;
    ShowErrorMessage(std::runtime_error(message.toStdString()));
    QCOMPARE(recorder.boxes.size(), 1);
    QCOMPARE(recorder.boxes[0].text, shown);
}

void TestErrorDisplay::errorClassName()
{
    QCOMPARE(::errorClassName(EOverflow()), QStringLiteral("EOverflow"));
    QCOMPARE(::errorClassName(EIniFileException("/x")), QStringLiteral("EIniFileException"));
    QCOMPARE(::errorClassName(Exception("x")), QStringLiteral("Exception"));
    QCOMPARE(::errorClassName(std::runtime_error("x")), QStringLiteral("std::runtime_error"));
    QCOMPARE(::errorClassName(std::bad_alloc()), QStringLiteral("std::bad_alloc"));
}

void TestErrorDisplay::applicationErrorText_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<quint64>("address");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("text");
    QTest::newRow("no period") << "EOverflow" << quint64(0) << "Floating point overflow"
                               << "Exception EOverflow in module zelton at 00000000.\nFloating point overflow.\n";
    QTest::newRow("period kept") << "Exception" << quint64(0x4A3F) << "Out of memory."
                                 << "Exception Exception in module zelton at 00004A3F.\nOut of memory.\n";
    // this box adds a period after anything but a period
    QTest::newRow("exclamation") << "std::bad_alloc" << quint64(0xDEADBEEF) << "x!"
                                 << "Exception std::bad_alloc in module zelton at DEADBEEF.\nx!.\n";
    QTest::newRow("cyrillic") << "EIniFileException" << quint64(0x1b) << QStringLiteral("Файл")
                              << QStringLiteral("Exception EIniFileException in module zelton at 0000001B.\nФайл.\n");
}

void TestErrorDisplay::applicationErrorText()
{
    QFETCH(QString, className);
    QFETCH(quint64, address);
    QFETCH(QString, message);
    QFETCH(QString, text);
    QCOMPARE(::applicationErrorText(className, QStringLiteral("zelton"), quintptr(address), message), text);
}

void TestErrorDisplay::applicationIdentity()
{
    prepareApplication(*TApplication::instance());
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Подбор Zelton"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Подбор Zelton"));
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("zelton"));
}

void TestErrorDisplay::slotErrorReachesErrorDisplay()
{
    BoxRecorder recorder;
    CharSignalWidget widget;
    int changes = 0, completed = 0;
    connect(&widget, &CharSignalWidget::typed, this, [&](const QString &text) {
        ++changes;
        if (text == QLatin1String("12"))
            throw EOverflow();
        ++completed;
    });
    widget.show();
    QApplication::setActiveWindow(&widget);
    QVERIFY(QTest::qWaitForWindowActive(&widget));

    typeChars(&widget, QStringLiteral("123"));
    // the failing handler did not resume, the program went on
    QCOMPARE(changes, 3);
    QCOMPARE(completed, 2);
    QCOMPARE(widget.text, QStringLiteral("123"));
    QCOMPARE(recorder.boxes.size(), 1);
    const MessageBoxRequest &box = recorder.boxes[0];
    QCOMPARE(box.caption, QStringLiteral("Подбор Zelton"));
    QCOMPARE(box.text, QStringLiteral("Floating point overflow."));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.owner, static_cast<QWidget *>(&widget));
}

void TestErrorDisplay::eventHandlerErrorReachesErrorDisplay()
{
    BoxRecorder recorder;
    CharThrowingWidget widget;
    widget.show();
    typeChars(&widget, QStringLiteral("axb"));
    QCOMPARE(widget.chars, 2);
    QCOMPARE(recorder.boxes.size(), 1);
    QCOMPARE(recorder.boxes[0].text, QStringLiteral("bad key."));

    // a timer's handler is handled just the same
    bool timerDone = false;
    QTimer::singleShot(0, this, [&] {
        timerDone = true;
        throw EIniFileException("/tmp/dir/settings.ini");
    });
    QTRY_VERIFY(recorder.boxes.size() == 2);
    QVERIFY(timerDone);
    QCOMPARE(recorder.boxes[1].text, QStringLiteral("Unable to write to /tmp/dir/settings.ini."));
}

void TestErrorDisplay::errorReleasesMouseGrab()
{
    BoxRecorder recorder;
    QWidget *grabberDuringBox = nullptr;
    recorder.onBox = [&](const MessageBoxRequest &) { grabberDuringBox = QWidget::mouseGrabber(); };
    CharThrowingWidget widget;
    widget.grab = true;
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    typeChars(&widget, QStringLiteral("x"));
    QVERIFY(widget.grabbed);
    QCOMPARE(recorder.boxes.size(), 1);
    QCOMPARE(grabberDuringBox, nullptr);
}

void TestErrorDisplay::realMessageBox()
{
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool modal = false;
    int tries = 0;
    std::function<void()> inspect = [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            if (++tries < 100)
                QTimer::singleShot(0, this, inspect);
            return;
        }
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        modal = box->windowModality() == Qt::ApplicationModal;
        box->button(QMessageBox::Ok)->click();
    };
    QTimer::singleShot(0, this, inspect);
    ShowErrorMessage(EIniFileException("/tmp/Подбор/settings.ini"));
    QCOMPARE(title, QStringLiteral("Подбор Zelton"));
    QCOMPARE(text, QStringLiteral("Unable to write to /tmp/Подбор/settings.ini."));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(modal);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

int main(int argc, char **argv)
{
    installTerminationSignalHandlers();
    TApplication app(argc, argv);
    TestErrorDisplay test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_errordisplay.moc"
