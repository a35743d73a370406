// The hint controller on the real main window, fed through the application
// frame: every transition of its states with time driven by hand, what
// cancels a hint, the "|" rule, the show-hint hook, and that the toolkit's
// own tooltip never shows.
#include "app/application.h"
#include "app/hintcontroller.h"
#include "app/hinttimer.h"
#include "ui/mainwindow.h"
#include "ui/settingslocation.h"
#include "ui_Form_Main.h"
#include "widgets/flathint.h"
#include "widgets/flathintwindow.h"

#include <QAbstractEventDispatcher>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

using State = HintController::State;

namespace {

// A countdown whose time passes only when the test says so.
class ManualTimer : public HintTimer
{
public:
    bool refuse = false;

    bool start(int ms) override
    {
        m_active = !refuse;
        m_interval = ms;
        m_elapsed = 0;
        return m_active;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    // Milliseconds left, 0 when no countdown runs.
    int remaining() const { return m_active ? m_interval - m_elapsed : 0; }
    // Lets `ms` pass; a countdown started on expiry counts on from there.
    void elapse(int ms)
    {
        while (ms > 0 && m_active) {
            const int step = qMin(ms, m_interval - m_elapsed);
            m_elapsed += step;
            ms -= step;
            if (m_elapsed >= m_interval) {
                m_active = false;
                emit expired();
            }
        }
    }

private:
    bool m_active = false;
    int m_interval = 0;
    int m_elapsed = 0;
};

const QString kPumpHint = QStringLiteral("Перепад давления на насосе, атм");
const QString kInletHint = QStringLiteral("Перепад давления на вводе в тепловой пункт, атм");

} // namespace

class TestHints : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    HintController *m_hints = nullptr;
    ManualTimer *m_timer = nullptr;
    TForm_Main *m_form = nullptr;
    QPoint m_pointer{-1000, -1000};

    QWidget *control(const QString &name) const { return m_form->findChild<QWidget *>(name); }
    THintWindow *hintWindow() const { return m_hints->hintWindow(); }
    bool hintVisible() const { return hintWindow() && hintWindow()->isVisible(); }

    // The pointer moves to `local` in `w` (its centre by default), as the
    // window system reports it.
    void moveTo(QWidget *w, QPoint local = QPoint(-1, -1))
    {
        m_pointer = w->mapToGlobal(local.x() < 0 ? w->rect().center() : local);
        QTest::mouseMove(m_form->windowHandle(), m_form->mapFromGlobal(m_pointer));
    }

    // Places used by the scripts: three hot zones of the dependent page, a
    // second point in the first one, and the bare picture.
    QPair<QWidget *, QPoint> place(const QString &key) const
    {
        if (key == QLatin1String("A"))
            return {control(QStringLiteral("L__dPn")), QPoint(-1, -1)};
        if (key == QLatin1String("A2"))
            return {control(QStringLiteral("L__dPn")), QPoint(5, 7)};
        if (key == QLatin1String("B"))
            return {control(QStringLiteral("L__dPkl1")), QPoint(-1, -1)};
        if (key == QLatin1String("C"))
            return {control(QStringLiteral("L__dPr1")), QPoint(-1, -1)};
        if (key == QLatin1String("hint")) // in the hint window, by its corner nearest the pointer
            return {hintWindow(), QPoint(2, 2)};
        return {control(QStringLiteral("Img1")), QPoint(5, 5)};
    }

    // Runs a script of steps separated by ";": "move X" (the pointer moves
    // there), "point X" (it is there, no event yet), "wait N", "key",
    // "press", "wheel", "frame" (over the window frame), "leave" (out of the
    // window), "deactivate" (another application becomes active),
    // "minimise", "idle" (the loop waits), "outside" (pointer off every
    // window), "refuse" (no timer to be had).
    void run(const QString &script)
    {
        QWindow *win = m_form->windowHandle();
        const QStringList steps = script.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (const QString &raw : steps) {
            const QStringList s = raw.trimmed().split(QLatin1Char(' '));
            const QString &what = s[0];
            if (what == QLatin1String("move")) {
                const auto [w, at] = place(s[1]);
                moveTo(w, at);
            } else if (what == QLatin1String("point")) {
                const auto [w, at] = place(s[1]);
                m_pointer = w->mapToGlobal(at.x() < 0 ? w->rect().center() : at);
            } else if (what == QLatin1String("wait")) {
                m_timer->elapse(s[1].toInt());
            } else if (what == QLatin1String("key")) {
                QTest::keyClick(m_form, Qt::Key_Shift);
            } else if (what == QLatin1String("press")) {
                QTest::mousePress(win, Qt::LeftButton, {}, m_form->mapFromGlobal(m_pointer));
                QTest::mouseRelease(win, Qt::LeftButton, {}, m_form->mapFromGlobal(m_pointer));
            } else if (what == QLatin1String("wheel")) {
                const QPoint local = m_form->mapFromGlobal(m_pointer);
                QWheelEvent wheel(local, m_pointer, QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                                  Qt::NoScrollPhase, false);
                QCoreApplication::sendEvent(win, &wheel);
            } else if (what == QLatin1String("frame")) {
                QMouseEvent frame(QEvent::NonClientAreaMouseMove, QPointF(-2, 10), QPointF(m_pointer), Qt::NoButton,
                                  Qt::NoButton, Qt::NoModifier);
                QCoreApplication::sendEvent(win, &frame);
            } else if (what == QLatin1String("leave")) {
                QEvent leave(QEvent::Leave);
                QCoreApplication::sendEvent(win, &leave);
            } else if (what == QLatin1String("deactivate")) {
                QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
                QCoreApplication::sendEvent(qApp, &inactive);
            } else if (what == QLatin1String("minimise")) {
                QWindowStateChangeEvent minimised(Qt::WindowNoState);
                QCoreApplication::sendEvent(m_form, &minimised);
            } else if (what == QLatin1String("idle")) {
                emit QAbstractEventDispatcher::instance()->aboutToBlock();
            } else if (what == QLatin1String("outside")) {
                m_pointer = QPoint(-1000, -1000);
            } else if (what == QLatin1String("refuse")) {
                m_timer->refuse = true;
            } else {
                QFAIL(qPrintable(QStringLiteral("unknown step ") + raw));
            }
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setExecutableDirectoryOverride(m_dir.path());
        m_hints = TApplication::instance()->hintController();
        QVERIFY(m_hints);
        m_timer = new ManualTimer;
        m_hints->setTimer(m_timer);
        m_hints->setPointerSource([this] { return m_pointer; });
        m_form = new TForm_Main;
        TApplication::instance()->setMainWindow(m_form, {});
        m_form->show();
        // From the centre (where it shows first) into the primary screen's
        // top-left quarter, away from the screen's corner (the screens are
        // those of offsetscreens.json: the primary one lies right of and
        // below the origin).
        m_form->move(QGuiApplication::primaryScreen()->geometry().topLeft() + QPoint(150, 100));
        QApplication::setActiveWindow(m_form);
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        QCOMPARE(m_hints->showDelay(), 500);
        QCOMPARE(m_hints->nextHintDelay(), 25);
        QCOMPARE(m_hints->displayTime(), 5000);
        QVERIFY(qobject_cast<TFlatHintWindow *>(hintWindow()));
    }

    void cleanupTestCase()
    {
        TApplication::instance()->setMainWindow(nullptr, {});
        delete m_form;
        setExecutableDirectoryOverride({});
    }

    void init()
    {
        // A move to where the pointer already is reaches nobody: every test
        // starts from the same corner of the bare picture.
        moveTo(control(QStringLiteral("Img1")), QPoint(1, 1));
        m_pointer = QPoint(-1000, -1000);
        m_timer->refuse = false;
        m_hints->cancel();
        m_form->ui->PgCtrl_Sys->setCurrentIndex(0);
        QApplication::setActiveWindow(m_form);
        QCOMPARE(m_hints->state(), State::Idle);
    }

    void transitions_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("event");
        QTest::addColumn<State>("state");
        QTest::addColumn<int>("remaining"); // of the countdown, 0: none runs
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QString>("current");

        const QString a = QStringLiteral("L__dPn"), b = QStringLiteral("L__dPkl1"), c = QStringLiteral("L__dPr1");
        auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };
        row("Idle, over a hinted control: waiting") << ""
                                                    << "move A" << State::Waiting << 500 << false << a;
        row("Idle, over the bare picture: idle") << ""
                                                 << "move bare" << State::Idle << 0 << false << "";
        row("Waiting, another control: restarted") << "move A; wait 400"
                                                   << "move B" << State::Waiting << 500 << false << b;
        // (The last hint shown is another control's, whatever rows ran before.)
        row("Waiting, same control before any hint: restarted") << "move C; wait 500; key; move A; wait 400"
                                                                << "move A2" << State::Waiting << 500 << false << a;
        row("Waiting, expires: shown") << "move A"
                                       << "wait 500" << State::Shown << 5000 << true << a;
        row("Waiting, expires over another control: idle") << "move A; point B"
                                                           << "wait 500" << State::Idle << 0 << false << "";
        row("Waiting, expires with no timer for the display: idle") << "move A; refuse"
                                                                    << "wait 500" << State::Idle << 0 << false << "";
        row("Waiting for next, expires: shown") << "move A; wait 500; move B"
                                                << "wait 25" << State::Shown << 5000 << true << b;
        row("Waiting for next, expires over another control: idle") << "move A; wait 500; move B; point C"
                                                                    << "wait 25" << State::Idle << 0 << false << "";
        row("Shown, another control: waiting for next, hidden at once")
            << "move A; wait 500"
            << "move B" << State::WaitingForNext << 25 << false << b;
        row("Timed out, another control: waiting for next") << "move A; wait 5500"
                                                            << "move B" << State::WaitingForNext << 25 << false << b;
        row("Waiting for next, another control: restarted") << "move A; wait 500; move B; wait 20"
                                                            << "move C" << State::WaitingForNext << 25 << false << c;
        row("Shown, display time over: timed out") << "move A; wait 500"
                                                   << "wait 5000" << State::TimedOut << 0 << false << a;
        row("Shown, within the hint rectangle: unchanged") << "move A; wait 600"
                                                           << "move A2" << State::Shown << 4900 << true << a;
        row("Shown, over the hint window: unchanged") << "move A; wait 600"
                                                      << "move hint" << State::Shown << 4900 << true << a;
        row("Timed out, within the hint rectangle: unchanged") << "move A; wait 5500"
                                                               << "move A2" << State::TimedOut << 0 << false << a;
        row("Waiting after a key, within the hint rectangle: unchanged")
            << "move A; wait 500; key; move A2; wait 100"
            << "move A" << State::Waiting << 400 << false << a;
        row("Waiting for next, within the hint rectangle: unchanged")
            << "move A; wait 5500; move B; move A; wait 10"
            << "move A2" << State::WaitingForNext << 15 << false << a;
        row("Shown, idle with the pointer over the control: unchanged") << "move A; wait 600"
                                                                        << "idle" << State::Shown << 4900 << true << a;
        row("Waiting, no timer to be had: idle") << "refuse"
                                                 << "move A" << State::Idle << 0 << false << "";

        // Everything that cancels, from every state with a hint control.
        const QList<QPair<const char *, const char *>> from = {{"Waiting", "move A; wait 100"},
                                                               {"Waiting for next", "move A; wait 500; move B"},
                                                               {"Shown", "move A; wait 500"},
                                                               {"Timed out", "move A; wait 5500"}};
        const char *cancels[] = {"move bare", "key",        "press",    "wheel",        "frame",
                                 "leave",     "deactivate", "minimise", "outside; idle"};
        for (const auto &[state, script] : from)
            for (const char *event : cancels)
                QTest::addRow("%s, %s: idle", state, event)
                    << QString::fromLatin1(script) << QString::fromLatin1(event) << State::Idle << 0 << false << "";
    }

    void transitions()
    {
        QFETCH(QString, before);
        QFETCH(QString, event);
        QFETCH(State, state);
        QFETCH(int, remaining);
        QFETCH(bool, visible);
        QFETCH(QString, current);
        run(before);
        run(event);
        QCOMPARE(m_hints->state(), state);
        QCOMPARE(m_timer->remaining(), remaining);
        QCOMPARE(hintVisible(), visible);
        QCOMPARE(m_hints->currentHintControl() ? m_hints->currentHintControl()->objectName() : QString(), current);
        if (state == State::Idle) {
            // Reset: the next hint waits the whole show delay again.
            m_timer->refuse = false;
            run(QStringLiteral("move C"));
            QCOMPARE(m_hints->state(), State::Waiting);
            QCOMPARE(m_timer->remaining(), 500);
        }
    }

    void restingOnAHotZoneShowsItsHint()
    {
        // (The last hint shown was another control's: within that one's
        // rectangle moves would not restart the wait.)
        run(QStringLiteral("move C; wait 500; key"));
        run(QStringLiteral("move A; wait 300; move A2; wait 300"));
        QVERIFY(!hintVisible());
        run(QStringLiteral("wait 200"));
        QVERIFY(hintVisible());
        QCOMPARE(hintWindow()->text(), kPumpHint);
        QWidget *zone = control(QStringLiteral("L__dPn"));
        QCOMPARE(m_hints->hintRect(), QRect(zone->mapToGlobal(QPoint(0, 0)), zone->size()));
        // Below and right of the pointer (in the screen's top-left quarter),
        // and it stays there while the pointer moves on within the zone.
        const auto *flat = qobject_cast<TFlatHintWindow *>(hintWindow());
        const QRect placed = flat->geometry();
        QCOMPARE(placed, QRect(m_pointer + QPoint(12, 12), placed.size()));
        QCOMPARE(flat->ArrowCorner(), TFlatHintWindow::acTopLeft);
        QCOMPARE(flat->HintComponent(), m_form->ui->FlatHint);
        moveTo(zone, QPoint(70, 120));
        QCOMPARE(flat->geometry(), placed);
        QVERIFY(hintVisible());
    }

    void fromCaptionLabelToItsField()
    {
        QWidget *label = control(QStringLiteral("L_dPr1"));
        QWidget *field = control(QStringLiteral("FlEdt_dPr1"));
        moveTo(label);
        m_timer->elapse(500);
        QVERIFY(hintVisible());
        QCOMPARE(hintWindow()->text(), kInletHint);
        const QRect first = hintWindow()->geometry();
        moveTo(field, QPoint(30, 10));
        QVERIFY(!hintVisible());
        m_timer->elapse(24);
        QVERIFY(!hintVisible());
        m_timer->elapse(1);
        QVERIFY(hintVisible());
        QCOMPARE(hintWindow()->text(), kInletHint);
        QCOMPARE(m_hints->currentHintControl(), field);
        // placed by the new pointer position
        QCOMPARE(hintWindow()->geometry().topLeft() - first.topLeft(),
                 field->mapToGlobal(QPoint(30, 10)) - label->mapToGlobal(label->rect().center()));
    }

    void oneWindowServesEveryHint()
    {
        THintWindow *window = hintWindow();
        run(QStringLiteral("move A; wait 500; move B; wait 25"));
        QVERIFY(hintVisible());
        QCOMPARE(hintWindow(), window);
        // A window of another class than the installed one is replaced
        // before the next hint is shown.
        m_hints->setHintWindowClass(&THintWindow::staticMetaObject);
        run(QStringLiteral("move C; wait 25"));
        QVERIFY(hintVisible());
        QCOMPARE(hintWindow()->metaObject(), &THintWindow::staticMetaObject);
        m_hints->setHintWindowClass(&TFlatHintWindow::staticMetaObject);
        run(QStringLiteral("move A; wait 25"));
        QVERIFY(qobject_cast<TFlatHintWindow *>(hintWindow()));
    }

    void noHintWhileAnotherApplicationIsActive()
    {
        QApplication::setActiveWindow(nullptr);
        run(QStringLiteral("move A; wait 500"));
        QCOMPARE(m_hints->state(), State::Idle);
        QVERIFY(!hintVisible());
        QApplication::setActiveWindow(m_form);
        run(QStringLiteral("move A2; wait 500"));
        QVERIFY(hintVisible());
    }

    void textUpToTheBar_data()
    {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("shown"); // empty: no hint at all
        QTest::newRow("no bar") << kPumpHint << kPumpHint;
        QTest::newRow("text after the bar") << "Насос|подробнее о насосе"
                                            << "Насос";
        QTest::newRow("two bars") << "Насос|a|b"
                                  << "Насос";
        QTest::newRow("begins with the bar") << "|подробнее"
                                             << "";
        QTest::newRow("ampersand") << "Насос & клапан"
                                   << "Насос & клапан";
    }

    void textUpToTheBar()
    {
        QFETCH(QString, hint);
        QFETCH(QString, shown);
        QWidget *zone = control(QStringLiteral("L__dPn"));
        zone->setProperty("Hint", hint);
        run(QStringLiteral("move A; wait 500"));
        zone->setProperty("Hint", kPumpHint);
        QCOMPARE(hintVisible(), !shown.isEmpty());
        QCOMPARE(m_hints->state(), shown.isEmpty() ? State::Idle : State::Shown);
        if (!shown.isEmpty())
            QCOMPARE(hintWindow()->text(), shown);
    }

    void showHintEventOfTheWindow()
    {
        TFlatHint *component = m_form->ui->FlatHint;
        QPointer<QWidget> seen;
        component->OnShowHint = [&](QString &HintStr, bool &CanShow, THintInfo &HintInfo) {
            seen = HintInfo.HintControl;
            CanShow = HintStr != kPumpHint;
            HintStr = QStringLiteral("Клапан");
        };
        run(QStringLiteral("move A; wait 500"));
        const bool forbidden = !hintVisible() && m_hints->state() == State::Idle;
        run(QStringLiteral("move B; wait 500"));
        component->OnShowHint = {};
        QVERIFY(forbidden);
        QCOMPARE(seen.data(), control(QStringLiteral("L__dPkl1")));
        QVERIFY(hintVisible());
        QCOMPARE(hintWindow()->text(), QStringLiteral("Клапан"));
    }

    void toolkitTooltipNeverShows()
    {
        for (QWidget *w : m_form->findChildren<QWidget *>()) {
            if (w->property("Hint").toString().isEmpty())
                continue;
            QHelpEvent help(QEvent::ToolTip, w->rect().center(), w->mapToGlobal(w->rect().center()));
            QCoreApplication::sendEvent(w, &help);
            QVERIFY2(!QToolTip::isVisible(), qPrintable(w->objectName()));
        }
    }
};

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    prepareApplication(app);
    TestHints test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_hints.moc"
