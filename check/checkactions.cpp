#include "check/checkactions.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QTabWidget>
#include <algorithm>

#include "check/valvecheckwindow.h"
#include "ui/mainwindow.h"
#include "ui/pagemenus.h"
#include "widgets/flatfloatedit.h"

namespace {

const QKeySequence kOpenKey(Qt::CTRL | Qt::Key_K);
// The pages whose right-click menu offers the check.
const QStringList kPages = {QStringLiteral("Sht_Sys1"), QStringLiteral("Sht_Sys2"), QStringLiteral("Sht_Dia")};
// Between the main window and the check window, in pixels.
constexpr int kGap = 8;

} // namespace

CheckActions::CheckActions(QWidget *window)
    : QObject(window), m_window(window), m_open(new QAction(QStringLiteral("Проверка подбора…"), window))
{
    m_open->setShortcut(kOpenKey);
    m_open->setShortcutContext(Qt::WindowShortcut);
    m_open->setShortcutVisibleInContextMenu(true);
    window->addAction(m_open);
    connect(m_open, &QAction::triggered, this, &CheckActions::openCheck);
    offerOnPages(window, m_open, kPages, QStringLiteral("check"));

    if (auto *pages = window->findChild<QTabWidget *>(QStringLiteral("PgCtrl_Sys"))) {
        pageChanged(pages->currentIndex());
        connect(pages, &QTabWidget::currentChanged, this, &CheckActions::pageChanged);
    }
    // Connected after the window's own handlers, so the check reads what
    // they have computed.
    for (TFlatFloatEdit *field : window->findChildren<TFlatFloatEdit *>())
        connect(field, &TFlatFloatEdit::OnChange, this, &CheckActions::mainInputChanged);
    if (auto *form = qobject_cast<TForm_Main *>(window))
        connect(form, &TForm_Main::sizingFileOpened, this, &CheckActions::inputsReplaced);
}

ValveCheckWindow *CheckActions::checkWindow() const { return m_checkWindow; }

int CheckActions::circuit() const
{
    auto *pages = m_window->findChild<QTabWidget *>(QStringLiteral("PgCtrl_Sys"));
    const int page = pages ? pages->currentIndex() : -1;
    return page == 0 || page == 1 ? page + 1 : m_lastCircuit;
}

void CheckActions::pageChanged(int index)
{
    if (index == 0 || index == 1)
        m_lastCircuit = index + 1;
    if (m_checkWindow && m_checkWindow->isVisible() && m_checkWindow->circuit() != circuit())
        m_checkWindow->setCircuit(circuit());
}

void CheckActions::mainInputChanged()
{
    if (m_checkWindow && m_checkWindow->isVisible())
        m_checkWindow->refresh();
}

void CheckActions::inputsReplaced()
{
    // A window that is not shown reads the inputs when it is opened again.
    if (m_checkWindow && m_checkWindow->isVisible())
        m_checkWindow->setCircuit(circuit());
}

void CheckActions::openCheck()
{
    const bool first = !m_checkWindow;
    if (first) {
        m_checkWindow = new ValveCheckWindow(m_window);
        m_checkWindow->addAction(m_open);
        m_checkWindow->installEventFilter(this);
    }
    const bool wasVisible = m_checkWindow->isVisible();
    // An open window keeps its fields as they are being typed.
    if (!wasVisible || m_checkWindow->circuit() != circuit())
        m_checkWindow->setCircuit(circuit());
    if (first)
        placeBesideWindow();
    QWidget *active = QApplication::activeWindow();
    m_checkWindow->show();
    if (wasVisible)
        m_checkWindow->raise();
    // The window is shown without activation; a platform that activates it
    // all the same (before the event loop next waits for input) is made to
    // give the activation back, and with it the focus of the main window's
    // field. A click into the check window comes later and activates it.
    if (!wasVisible && active && active != m_checkWindow) {
        m_giveBackTo = active;
        if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
            connect(
                dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { m_giveBackTo = nullptr; },
                Qt::SingleShotConnection);
    }
}

// Right of the main window; where it does not fit, left of it; where
// neither fits, in the top right corner of the screen, over the pictures
// of the main window rather than its fields.
void CheckActions::placeBesideWindow()
{
    const QRect main = m_window->frameGeometry();
    QScreen *screen = m_window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(main.topLeft(), QSize(1 << 20, 1 << 20));
    // The frame is not known before the first show: room for a title bar.
    const QSize size = m_checkWindow->size() + QSize(2 * kGap, 4 * kGap);
    QPoint at(main.right() + 1 + kGap, main.top());
    if (at.x() + size.width() > room.right() + 1) {
        at.setX(main.left() - kGap - size.width());
        if (at.x() < room.left())
            at = QPoint(room.right() + 1 - size.width(), room.top());
    }
    at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - size.width())));
    at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height())));
    m_checkWindow->move(at);
}

bool CheckActions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_checkWindow && event->type() == QEvent::WindowActivate && m_giveBackTo) {
        QPointer<QWidget> back = m_giveBackTo;
        m_giveBackTo = nullptr;
        back->activateWindow();
    }
    return QObject::eventFilter(watched, event);
}
