#pragma once
// The hint controller: decides for the whole application when the hint
// window is shown, moved and hidden.
//
// It sees every event before it is delivered (TApplication::notify calls
// filterEvent) and the moments the event loop is about to wait (idle).
// Which control a hint belongs to: the topmost visible control under the
// pointer (disabled ones too; a child created later lies above the ones
// before it, so a hot zone lies above its picture), then up the parent chain
// to the first control whose ShowHint is on. The text is that control's Hint
// (or its nearest ancestor's), up to the first "|".
//
// Timing: a hint is shown once the pointer has rested over a control for the
// show delay (500 ms on the main window), stays for the display time
// (5000 ms) and does not come back while the pointer stays within that
// control. Once a hint has been shown, the next control's hint follows after
// the next-hint delay (25 ms). A key, a mouse button, the wheel, the pointer
// over a window frame or out of a window, a change of the active
// application, a minimised window, or a pointer over no hinted control
// cancel it all, so that the next hint waits the full show delay again.
//
// One countdown (a single-shot timer on the GUI thread) serves both the wait
// and the display time; while nothing is pending no timer runs. The
// toolkit's own tooltip mechanism would start a wake-up timer at every
// pointer move over a widget: the frame delivers those moves so that it
// does not (startsToolkitToolTipTimer).
#include <QPointer>
#include <QRect>
#include <functional>

#include "widgets/hintsettings.h"
#include "widgets/hintwindow.h"

class QEvent;
class HintTimer;

class HintController : public HintSettings
{
    Q_OBJECT

public:
    enum class State {
        Idle,           // no hint control
        Waiting,        // show countdown (show delay), no hint shown before
        WaitingForNext, // show countdown (next-hint delay) after a hint
        Shown,          // hint on screen, hide countdown
        TimedOut        // hint gone after its display time, control kept
    };
    Q_ENUM(State)

    explicit HintController(QObject *parent = nullptr);
    ~HintController() override;

    // Replaces the countdown (the controller takes it over).
    void setTimer(HintTimer *timer);
    HintTimer *timer() const { return m_timer; }
    // Where the pointer is read from: QCursor::pos() unless a source is set.
    void setPointerSource(std::function<QPoint()> source);
    QPoint pointerPos() const;
    // The application's main window, whose TFlatHint the hint window uses;
    // without one, the window of the hint control.
    void setMainWindow(QWidget *window) { m_mainWindow = window; }

    // Shown every event before it is delivered.
    void filterEvent(QObject *receiver, QEvent *event);
    // The event loop has emptied its queue: a pointer outside every window
    // of the program cancels.
    void idle();
    // Hides the hint, forgets the hint control, stops the countdown.
    void cancel();

    State state() const;
    QWidget *currentHintControl() const { return m_current; }
    bool hintActive() const { return m_hintActive; }
    // Screen bounds of the control whose hint was shown last.
    QRect hintRect() const { return m_hintRect; }
    THintWindow *hintWindow() const { return m_window; }

    // The control under the screen point, or none outside the program's
    // windows.
    static QWidget *controlAt(QPoint global);
    // The control whose hint applies to `control`, or none.
    static QWidget *hintControlOf(QWidget *control);
    static QWidget *hintControlAt(QPoint global) { return hintControlOf(controlAt(global)); }
    // The control's own ShowHint, or its parent's where it takes the
    // parent's.
    static bool showsHint(const QWidget *control);
    // The control's Hint, or its nearest ancestor's non-empty one.
    static QString hintOf(const QWidget *control);
    // The part of a hint before the first "|".
    static QString shortHint(const QString &hint);

    // Whether the toolkit, handling `event` for `receiver`, would start its
    // tooltip wake-up timer: a pointer move without buttons that the window
    // system reports to a widget. Sent (not spontaneous), the same move
    // reaches the widget alike and starts no timer.
    static bool startsToolkitToolTipTimer(const QObject *receiver, const QEvent *event);

protected:
    void hintsEnabledChanged(bool enabled) override;

private:
    enum class Countdown { None, Show, Hide };

    void pointerMoved(QPoint global);
    void countdownExpired();
    void showCountdownExpired();
    bool startCountdown(Countdown kind, int ms);
    void stopCountdown();
    // A new hint window of the hint window class in place of the old one.
    void replaceWindow();

    HintTimer *m_timer = nullptr;
    std::function<QPoint()> m_pointerSource;
    QPointer<QWidget> m_mainWindow;
    QPointer<THintWindow> m_window;
    // The current hint control; m_hasCurrent stays set if the control is
    // destroyed meanwhile, so that cancel still clears up after it.
    QPointer<QWidget> m_current;
    bool m_hasCurrent = false;
    bool m_hintActive = false;
    QRect m_hintRect;
    Countdown m_countdown = Countdown::None;
};
