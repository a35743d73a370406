#pragma once
// Where a user finds the valve check in the main window: Ctrl+K, and
// "Проверка подбора…" in the right-click menu of both circuit pages and of
// the nomogram page. The check window is made at its first opening, not
// with the main window. It shows the circuit on screen, or on the
// nomogram page the circuit page shown last, and follows the page and
// every change of the main window's fields while it is open. The action
// is added to the window from outside; its layout, handlers and hints
// stay as they are.
#include <QObject>
#include <QPointer>

class QAction;
class QWidget;
class ValveCheckWindow;

class CheckActions : public QObject
{
    Q_OBJECT

public:
    // Adds the action to `window` (the main window), which owns it.
    explicit CheckActions(QWidget *window);

    QAction *openAction() const { return m_open; }
    // The check window, none before its first opening.
    ValveCheckWindow *checkWindow() const;
    // The circuit page on screen, or on the nomogram page the circuit page
    // shown last (the dependent circuit when the window opened on the
    // nomogram).
    int circuit() const;

public slots:
    // Shows the check of circuit() beside the main window, which keeps the
    // focus; a window already open comes to the front where it is.
    void openCheck();

protected:
    // The check window's activation right after its show.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pageChanged(int index);
    void mainInputChanged();
    // A sizing file replaced the check inputs as well.
    void inputsReplaced();
    void placeBesideWindow();

    QWidget *m_window;
    QAction *m_open;
    QPointer<ValveCheckWindow> m_checkWindow;
    // The window to give the activation back to, right after the show.
    QPointer<QWidget> m_giveBackTo;
    int m_lastCircuit = 1;
};
