#include "ui/pagecontrol.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QStyleOption>

#include "widgets/focusbackrequest.h"

// ---------------------------------------------------------------------------
// Geometry of the page control and its tab row.

namespace {

class PageControlStyle : public QProxyStyle
{
public:
    PageControlStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    QRect subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const override
    {
        const auto *pages = qobject_cast<const TPageControl *>(widget);
        if (!pages)
            return QProxyStyle::subElementRect(element, option, widget);
        const QRect r = option->rect;
        switch (element) {
        case SE_TabWidgetTabBar: {
            const int width = qMin(pages->tabBar()->sizeHint().width(), r.width() - 2 * TPageControl::kTabRowLeft);
            return QRect(TPageControl::kTabRowLeft, TPageControl::kTabRowTop, qMax(width, 0), FlatTabBar::kTabHeight);
        }
        case SE_TabWidgetTabPane:
        case SE_TabWidgetTabContents:
            return QRect(TPageControl::kPageLeft, TPageControl::kPageTop,
                         qMax(r.width() - TPageControl::kPageLeft - TPageControl::kPageRightMargin, 0),
                         qMax(r.height() - TPageControl::kPageTop - TPageControl::kPageBottomMargin, 0));
        case SE_TabWidgetLeftCorner:
        case SE_TabWidgetRightCorner:
            return QRect();
        default:
            return QProxyStyle::subElementRect(element, option, widget);
        }
    }

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        switch (metric) {
        case PM_TabBarTabOverlap:
        case PM_TabBarBaseOverlap:
        case PM_TabBarBaseHeight:
        case PM_TabBarTabShiftHorizontal:
        case PM_TabBarTabShiftVertical:
            return 0;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

} // namespace

TPageControl::TPageControl(QWidget *parent) : QTabWidget(parent)
{
    m_style = new PageControlStyle;
    m_style->setParent(this);
    setStyle(m_style);
    auto *bar = new FlatTabBar(this);
    bar->setStyle(m_style);
    setTabBar(bar);
    setFocusPolicy(Qt::NoFocus);
    setDocumentMode(false);
    layoutPages();
    connect(this, &QTabWidget::currentChanged, this, &TPageControl::pageChanged);
    bar->installEventFilter(this);
}

TPageControl::~TPageControl()
{
    // The tab bar and this control use the style until they are gone.
    setStyle(nullptr);
    tabBar()->setStyle(nullptr);
}

FlatTabBar *TPageControl::flatTabBar() const { return static_cast<FlatTabBar *>(tabBar()); }

void TPageControl::pageChanged(int)
{
    if (m_userAction > 0 || flatTabBar()->userAction())
        emit OnChange();
}

bool TPageControl::focusLeavesPage()
{
    QWidget *page = currentWidget();
    QWidget *focus = QApplication::focusWidget();
    if (!page || !focus || !page->isAncestorOf(focus))
        return true;
    focus->clearFocus();
    focus = QApplication::focusWidget();
    return !focus || !page->isAncestorOf(focus);
}

bool TPageControl::event(QEvent *event)
{
    if (event->type() != FocusBackRequest::eventType())
        return QTabWidget::event(event);
    const QWidget *field = static_cast<FocusBackRequest *>(event)->field();
    for (int i = 0; i < count(); ++i) {
        if (i != currentIndex() && widget(i)->isAncestorOf(field))
            setCurrentIndex(i);
    }
    return true;
}

bool TPageControl::eventFilter(QObject *watched, QEvent *event)
{
    // A press on another tab switches the page at once: the focus must
    // leave the current page first.
    if (watched == tabBar()
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const int index = tabBar()->tabAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && index >= 0 && index != currentIndex() && isTabEnabled(index)
            && !focusLeavesPage())
            return true;
    }
    return QTabWidget::eventFilter(watched, event);
}

void TPageControl::keyPressEvent(QKeyEvent *event)
{
    const bool switchKey =
        (event->modifiers() & Qt::ControlModifier) && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab);
    if (switchKey && count() > 1 && !focusLeavesPage()) {
        event->accept();
        return;
    }
    ++m_userAction;
    QTabWidget::keyPressEvent(event);
    --m_userAction;
}

void TPageControl::layoutPages()
{
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    tabBar()->setGeometry(style()->subElementRect(QStyle::SE_TabWidgetTabBar, &option, this));
    if (auto *stack = findChild<QStackedWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        stack->setGeometry(style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this));
        // The stack's layout sizes its pages only once it is shown.
        for (int i = 0; i < stack->count(); ++i)
            stack->widget(i)->setGeometry(stack->rect());
    }
}

void TPageControl::resizeEvent(QResizeEvent *event)
{
    QTabWidget::resizeEvent(event);
    layoutPages();
}

void TPageControl::showEvent(QShowEvent *event)
{
    QTabWidget::showEvent(event);
    layoutPages();
}

void TPageControl::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    layoutPages();
}

void TPageControl::paintEvent(QPaintEvent *)
{
    // Pages of flat-button tabs have no frame: the parent's face shows through.
}
