#include "widgets/xpkinds.h"

#include <QMetaObject>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVariant>
#include <QWidget>
#include <cstring>

namespace {

// A class name of a kind. `descendants`: the kind also takes every class
// derived from it; otherwise only the class of exactly that name.
struct KindName {
    const char *className;
    int member;
    bool descendants;
};

constexpr KindName kControlKindNames[] = {
    {"TCustomCombo", xcCombo, true},
    {"TCustomListBox", xcListBox, true},
    {"TEdit", xcEdit, true},
    {"TMaskEdit", xcMaskEdit, false},
    {"TDBEdit", xcMaskEdit, false},
    {"TCustomMemo", xcMemo, true},
    {"TCustomRichEdit", xcRichEdit, true},
    {"TCustomCheckBox", xcCheckBox, true},
    {"TRadioButton", xcRadioButton, true},
    {"QPushButton", xcButton, true},
    {"TButton", xcButton, false},
    {"TDBNavigator", xcButton, false},
    {"TDBLookupComboBox", xcButton, false},
    {"TBitBtn", xcBitBtn, false},
    {"TSpeedButton", xcSpeedButton, true},
    {"TUpDown", xcUpDown, false},
    {"TPanel", xcPanel, true},
    {"QGroupBox", xcGroupBox, true},
};

constexpr KindName kContainerKindNames[] = {
    {"TCustomFrame", xccFrame, true}, {"TDBCtrlPanel", xccFrame, false}, {"TPanel", xccPanel, true},
    {"QGroupBox", xccGroupBox, true}, {"TTabSheet", xccTabSheet, true},  {"TdxTabSheet", xccTabSheet, false},
};

template <std::size_t N>
quint32 kindsByName(const QObject *component, const KindName (&names)[N])
{
    quint32 kinds = 0;
    bool ownClass = true;
    for (const QMetaObject *m = component->metaObject(); m; m = m->superClass()) {
        const char *name = m->className();
        for (const KindName &k : names) {
            if ((ownClass || k.descendants) && std::strcmp(name, k.className) == 0)
                kinds |= xpBit(k.member);
        }
        ownClass = false;
    }
    return kinds;
}

// A page of a tab widget: the pages sit in the tab widget's stack.
bool isTabPage(const QObject *component)
{
    const QObject *stack = component->parent();
    if (!component->isWidgetType() || !qobject_cast<const QStackedWidget *>(stack))
        return false;
    const auto *tabs = qobject_cast<const QTabWidget *>(stack->parent());
    return tabs && tabs->indexOf(static_cast<const QWidget *>(component)) >= 0;
}

} // namespace

TXPControls controlKindsOf(const QObject *component)
{
    return component && component->isWidgetType() ? kindsByName(component, kControlKindNames) : 0;
}

TXPContainers containerKindsOf(const QObject *component)
{
    if (!component || !component->isWidgetType())
        return 0;
    quint32 kinds = kindsByName(component, kContainerKindNames);
    if (isForm(component))
        kinds |= xpBit(xccForm);
    if (isTabPage(component))
        kinds |= xpBit(xccTabSheet);
    return TXPContainers(kinds);
}

bool isForm(const QObject *component)
{
    if (!component || !component->isWidgetType())
        return false;
    const auto *w = static_cast<const QWidget *>(component);
    const Qt::WindowType type = w->windowType();
    return w->isWindow() && type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen;
}

bool isFrame(const QObject *component) { return component && (containerKindsOf(component) & xpBit(xccFrame)) != 0; }

int tagOf(const QObject *component) { return component ? component->property("Tag").toInt() : 0; }
