#include "widgets/xpstylepainter.h"

#include <QApplication>
#include <QChildEvent>
#include <QPaintDevice>

#include "core/errors.h"
#include "widgets/controlsubclass.h"
#include "widgets/xpstylemanager.h"

namespace {

// The owner must be a form or a frame: the painter restyles what a window
// owns.
QObject *checkedOwner(QObject *owner)
{
    if (owner && !isForm(owner) && !isFrame(owner))
        throw EInvalidCast();
    return owner;
}

// What `container` owns, in the order it was created: its children, and
// theirs, depth first. A form or a frame inside owns its own components,
// and the components of a non-visual component are its own.
void collectOwned(const QObject *container, QList<QObject *> &owned)
{
    for (QObject *child : container->children()) {
        if (!child) // a child already freed while its parent is destroyed
            continue;
        owned.append(child);
        if (child->isWidgetType() && !isForm(child) && !isFrame(child))
            collectOwned(child, owned);
    }
}

} // namespace

TXPStylePainter::TXPStylePainter(QObject *owner) : QObject(checkedOwner(owner))
{
    m_font = QApplication::font("QMenu");
    m_fontColor = clMenuText;
    m_selectFontColor = m_fontColor;
    m_ownerWindow = static_cast<QWidget *>(owner);
    setXPContainers(kAllXPContainers);
    setXPControls(kAllXPControls);
    if (m_ownerWindow) {
        ComputeColorScheme(m_ownerWindow);
        m_schemeDirty = false;
        m_ownerWindow->installEventFilter(this);
    }
    TXPStyleManager::create();
    connect(qApp, &QApplication::focusChanged, this, &TXPStylePainter::focusChanged);
}

TXPStylePainter::~TXPStylePainter()
{
    // Taking the look off the owner's menus would come first; there are
    // none, and without repaints a walk over the owner changes nothing.
    if (TXPStyleManager *manager = TXPStyleManager::instance()) {
        manager->unregisterPainter(this);
        if (manager->Painters().isEmpty())
            delete manager;
    }
    for (TControlSubClass *hook : hooks())
        hook->ReleaseHook();
}

void TXPStylePainter::Loaded() { TXPStyleManager::create()->registerPainter(this); }

void TXPStylePainter::Notification(QObject *component, TOperation operation)
{
    // Menu items inserted while AutoDetect is on would be restyled here;
    // this painter draws no menus.
    if (TXPStyleManager *manager = TXPStyleManager::instance())
        manager->Notification(component, operation);
}

bool TXPStylePainter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ownerWindow && (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildRemoved)) {
        Notification(static_cast<QChildEvent *>(event)->child(),
                     event->type() == QEvent::ChildAdded ? opInsert : opRemove);
    }
    return false;
}

void TXPStylePainter::focusChanged(QWidget *old, QWidget *now)
{
    const QWidget *oldWindow = old ? old->window() : nullptr;
    const QWidget *newWindow = now ? now->window() : nullptr;
    for (TControlSubClass *hook : hooks()) {
        const QWidget *control = hook->Control();
        if (control && (control->window() == oldWindow || control->window() == newWindow))
            hook->focusChangedInWindow();
    }
}

QList<TControlSubClass *> TXPStylePainter::hooks() const
{
    return findChildren<TControlSubClass *>(QString(), Qt::FindDirectChildrenOnly);
}

void TXPStylePainter::setSchemeColor(TColor &field, TColor value)
{
    field = value;
    m_schemeDirty = true;
}

void TXPStylePainter::setActive(bool value)
{
    if (value == m_active)
        return;
    m_active = value;
    ApplyToOwner(m_ownerWindow, value, true);
}

void TXPStylePainter::setXPContainers(TXPContainers value) { setKinds(m_xpContainers, value); }

void TXPStylePainter::setXPControls(TXPControls value) { setKinds(m_xpControls, value); }

template <typename Set>
void TXPStylePainter::setKinds(Set &field, Set value)
{
    // Restyled anew: the old hooks go, the new set decides.
    if (value != field && m_active) {
        m_active = false;
        ApplyToOwner(m_ownerWindow, false, true);
        m_active = true;
        field = value;
        ApplyToOwner(m_ownerWindow, true, true);
    }
    field = value;
}

void TXPStylePainter::setDisableSubclassing(bool)
{
    if (TXPStyleManager *manager = TXPStyleManager::instance())
        manager->electActivePainter();
}

void TXPStylePainter::ComputeColorScheme(const QPaintDevice *surface)
{
    m_schemeDirty = false;
    m_highColor = surface && surface->depth() >= 16;
    m_faceLightenNormal = 16;
    m_faceLightenHot = 40;
    TXPColorScheme &s = m_scheme;
    s.MenuBack = m_color;
    s.IconStripBack = m_iconBackColor;
    if (m_highColor) {
        if (m_useDimColor) {
            s.SelectFill = LightenColor(m_selectColor, 68);
            s.CheckFill = LightenColor(m_selectColor, 80);
            s.CheckFillSelected = LightenColor(m_selectColor, 50);
        } else {
            s.SelectFill = s.CheckFill = s.CheckFillSelected = m_selectColor;
        }
        s.MenuBorder = DarkenColor(clBtnFace, 90);
        s.MenuShadow = DarkenColor(clBtnFace, 76);
    } else {
        s.SelectFill = m_selectColor;
        s.CheckFill = clWhite;
        s.CheckFillSelected = clSilver;
        s.MenuBorder = s.MenuShadow = clBtnShadow;
    }
    s.SelectFrame = m_selectBorderColor;
    s.SelectText = m_selectFontColor;
    s.MenuBarBack = m_menuBarColor;
    s.DisabledText = m_disabledColor;
    s.CheckMark = m_checkedColor;
    s.SeparatorLine = m_separatorColor;
    if (m_useSystemColors) {
        const bool hc = m_highColor;
        s.SelectText = m_fontColor;
        s.MenuBack = hc ? LightenColor(clBtnFace, 86) : clWhite;
        s.IconStripBack = hc ? LightenColor(clBtnFace, 16) : clBtnFace;
        s.SelectFill = hc ? LightenColor(clHighlight, 68) : clWhite;
        s.SelectFrame = clHighlight;
        s.MenuBarBack = clBtnFace;
        s.DisabledText = hc ? LightenColor(clBtnShadow, 10) : clBtnShadow;
        s.SeparatorLine = hc ? LightenColor(clBtnShadow, 25) : clBtnShadow;
        s.CheckMark = clHighlight;
        s.CheckFill = hc ? LightenColor(clHighlight, 80) : clWhite;
        s.CheckFillSelected = hc ? LightenColor(clHighlight, 50) : clWhite;
    }
}

void TXPStylePainter::ApplyToOwner(QObject *container, bool enable, bool update)
{
    if (!container)
        return;
    QList<QObject *> owned;
    collectOwned(container, owned);
    for (QObject *component : owned)
        ApplyToComponent(component, enable, update);
}

void TXPStylePainter::ApplyToComponent(QObject *component, bool enable, bool update)
{
    // Menus would be restyled here; there are none. Controls:
    if (!component->isWidgetType())
        return;
    auto *control = static_cast<QWidget *>(component);
    QWidget *parent = control->parentWidget();
    const bool eligible =
        (controlKindsOf(control) & m_xpControls) != 0 && parent && (containerKindsOf(parent) & m_xpContainers) != 0;
    if (eligible) {
        // A control already hooked keeps its hook: no second one.
        if (enable && tagOf(control) != kTagNoXPStyle && tagOf(parent) != kTagNoXPStyle
            && !TControlSubClass::hookOf(control))
            new TControlSubClass(this, control);
        // Invalidated also when switching off: the hook sees it, finds the
        // painter inactive and gives the control back.
        if (update)
            TControlSubClass::invalidate(control);
    }
    const bool frame = isFrame(control) && (m_xpContainers & xpBit(xccFrame)) != 0;
    if (frame || qstrcmp(control->metaObject()->className(), "TDBNavigator") == 0 || isForm(control))
        ApplyToOwner(control, enable, update);
}
