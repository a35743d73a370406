#include "widgets/flatmanager.h"

#include <QList>
#include <QPointer>
#include <algorithm>

#include "widgets/customframe.h"
#include "widgets/flatfloatedit.h"

TFlatManager::TFlatManager(QObject *owner) : QObject(owner) {}

TFlatManager::~TFlatManager() = default;

void TFlatManager::setActivate(bool value)
{
    if (value == m_activate)
        return;
    m_activate = value;
    ApplyStyle();
}

void TFlatManager::setBorderColor(TColor value)
{
    if (value == m_borderColor)
        return;
    m_borderColor = value;
    ApplyStyle();
}

void TFlatManager::setFlat(bool value)
{
    if (value == m_flat)
        return;
    m_flat = value;
    ApplyStyle();
}

void TFlatManager::setShowBorder(bool value)
{
    if (value == m_showBorder)
        return;
    m_showBorder = value;
    ApplyStyle();
}

QString TFlatManager::Version() const
{
    return QString::asprintf("%d.%d", (kVersionNumber >> 8) & 0xFF, kVersionNumber & 0xFF);
}

void TFlatManager::ApplyStyle()
{
    auto *owner = qobject_cast<QWidget *>(parent());
    if (!owner || !(owner->isWindow() || qobject_cast<TCustomFrame *>(owner)))
        return;
    bool canChange = true;
    walk(owner, canChange);
}

void TFlatManager::walk(QWidget *container, bool &canChange)
{
    canChange = true;
    // Take the list first and guard it: a handler may create or delete widgets.
    QList<QPointer<QWidget>> children;
    for (QObject *obj : container->children()) {
        if (obj->isWidgetType())
            children.append(static_cast<QWidget *>(obj));
    }
    for (const QPointer<QWidget> &guard : children) {
        QWidget *child = guard.data();
        if (!child || child->isWindow())
            continue;
        if (auto *edit = qobject_cast<TFlatFloatEdit *>(child)) {
            if (OnBeforeSetStyle)
                OnBeforeSetStyle(this, edit, ctFlatFloatEdit, canChange);
            if (canChange) {
                edit->setFlat(m_flat);
                edit->setBorderColor(m_borderColor);
                edit->setActivate(m_activate);
                edit->setShowBorder(m_showBorder);
                if (OnAfterSetStyle)
                    OnAfterSetStyle(this, edit, ctFlatFloatEdit);
            }
        }
        if (!guard)
            continue;
        const bool hasChildWidgets = std::any_of(child->children().cbegin(), child->children().cend(),
                                                 [](QObject *o) { return o->isWidgetType(); });
        if (hasChildWidgets)
            walk(child, canChange);
    }
}
