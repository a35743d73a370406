#pragma once
// The application-wide hint settings: which window class shows hints, whether
// hints are on, the hook asked before each hint and the three delays.
//
// The hint controller of the application (app/hintcontroller.h) is one of
// these and acts on them; components such as TFlatHint reach it through
// HintSettings::application() and only change settings. The settings live
// here, below the controller, so that a component library can set them
// without knowing the application frame.
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>

#include "widgets/syscolors.h"

// What a control says about its hint, as properties of the control (set in
// the window description): its text, whether it shows one, and whether
// ShowHint is taken from the parent (the default when ShowHint is not set).
inline constexpr char kHintProperty[] = "Hint";
inline constexpr char kShowHintProperty[] = "ShowHint";
inline constexpr char kParentShowHintProperty[] = "ParentShowHint";

// The details of the hint about to be shown.
struct THintInfo {
    // The control whose hint it is.
    QPointer<QWidget> HintControl;
    // The pointer position, in the control's coordinates.
    QPoint CursorPos;
    // The control's rectangle, in its own coordinates.
    QRect CursorRect;
};

// The show-hint hook: may change the text and forbid the hint.
using TShowHintEvent = std::function<void(QString &HintStr, bool &CanShow, THintInfo &HintInfo)>;

class HintSettings : public QObject
{
    Q_OBJECT

public:
    // The controller's own delays, in force until a component sets others.
    static constexpr int kDefaultShowDelay = 500;
    static constexpr int kDefaultNextHintDelay = 0;
    static constexpr int kDefaultDisplayTime = 2500;

    explicit HintSettings(QObject *parent = nullptr);
    ~HintSettings() override;

    // The settings of the application: the first HintSettings created and
    // still alive, or none.
    static HintSettings *application();

    // The class of the window the controller creates for hints: THintWindow
    // or a class derived from it (with a Q_INVOKABLE constructor taking a
    // parent widget). A class that is not one is ignored.
    const QMetaObject *hintWindowClass() const { return m_hintWindowClass; }
    void setHintWindowClass(const QMetaObject *windowClass);

    // Switching hints off destroys the hint window, switching them on
    // lets the next hint create a new one of the current hint window class.
    bool hintsEnabled() const { return m_hintsEnabled; }
    void setHintsEnabled(bool enabled);

    const TShowHintEvent &showHintHook() const { return m_showHintHook; }
    void setShowHintHook(TShowHintEvent hook) { m_showHintHook = std::move(hook); }

    // Wait before the first hint, wait before a hint while one has been
    // shown, and how long a hint stays, in milliseconds.
    int showDelay() const { return m_showDelay; }
    void setShowDelay(int ms) { m_showDelay = ms; }
    int nextHintDelay() const { return m_nextHintDelay; }
    void setNextHintDelay(int ms) { m_nextHintDelay = ms; }
    int displayTime() const { return m_displayTime; }
    void setDisplayTime(int ms) { m_displayTime = ms; }

    // The colour handed to every new hint window.
    TColor hintColor() const { return m_hintColor; }
    void setHintColor(TColor color) { m_hintColor = color; }

protected:
    // Called after the switch has changed.
    virtual void hintsEnabledChanged(bool enabled);

private:
    const QMetaObject *m_hintWindowClass;
    bool m_hintsEnabled = true;
    TShowHintEvent m_showHintHook;
    int m_showDelay = kDefaultShowDelay;
    int m_nextHintDelay = kDefaultNextHintDelay;
    int m_displayTime = kDefaultDisplayTime;
    TColor m_hintColor = clInfoBk;
};
