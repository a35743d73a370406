#pragma once
// Which components the XP-style painter restyles: the control kinds, the
// parent (container) kinds and the Tag that excludes a component.
//
// A component is of a kind when its class is, or descends from, the class
// the kind names, or when its class name equals a name the kind lists. The
// kinds name the classes of the classic component library; where this
// program has a class of its own for one, the kind names that class:
// push buttons (QPushButton) are the "TButton" kind, TPanel the panel kind,
// QGroupBox the group box kind, a page of a QTabWidget the tab sheet
// container and a window the form container. Kinds whose classes this
// program does not have match only a class of that exact name.
#include <QtGlobal>

class QObject;

// Control kinds; a TXPControls set holds member n as bit n.
enum TXPControl : int {
    xcMainMenu,
    xcPopupMenu,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcListBox,
    xcEdit,
    xcMaskEdit,
    xcMemo,
    xcRichEdit,
    xcMiscEdit,
    xcCheckBox,
    xcRadioButton,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcUpDown,
    xcPanel,
    xcGroupBox,
    xcTreeView,
    xcListView,
    xcProgressBar,
    xcHotKey
};
using TXPControls = quint32;
constexpr TXPControls kAllXPControls = 0x7FFFFFu; // all 23 members

// Parent kinds; a TXPContainers set holds member n as bit n.
enum TXPContainer : int {
    xccForm,
    xccFrame,
    xccToolbar,
    xccCoolbar,
    xccControlbar,
    xccPanel,
    xccScrollBox,
    xccGroupBox,
    xccTabSheet,
    xccPageScroller
};
using TXPContainers = quint16;
constexpr TXPContainers kAllXPContainers = 0x3FFu; // all ten members

constexpr quint32 xpBit(int member) { return quint32(1) << member; }

// The control kinds `component` is of (menus are not controls: never
// xcMainMenu or xcPopupMenu). The numeric entry fields are of no kind.
TXPControls controlKindsOf(const QObject *component);
// The parent kinds `component` is of.
TXPContainers containerKindsOf(const QObject *component);

// A form: a window (a top-level widget that is neither a pop-up nor a
// tool tip).
bool isForm(const QObject *component);
// A frame: a TCustomFrame, or a class named "TDBCtrlPanel".
bool isFrame(const QObject *component);

// The Tag of a component: its dynamic property "Tag" (in a .ui file:
// <property name="Tag" stdset="0"><number>999</number></property>), 0 when
// it has none.
int tagOf(const QObject *component);
// Tag that keeps a control (or the controls of a parent) from being
// restyled.
constexpr int kTagNoXPStyle = 999;
// Tag of a push button whose face follows its parent's colour.
constexpr int kTagParentFace = 1000;
