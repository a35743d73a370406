#pragma once
// The hook of one control restyled by a TXPStylePainter.
//
// The hook is an event filter on the control. For the events that can
// change the control's look it first lets the control handle the event
// exactly as before and then acts: it keeps the flags below up to date and
// repaints, and on each paint event it draws the flat look over what the
// control has just painted, in the same paint event. Every other event
// reaches the control untouched.
//
// How the events of the toolkit stand for the notifications of the hook:
//   paint                                  Paint
//   focus received / lost                  FocusIn / FocusOut
//   focus changed within the window        QApplication::focusChanged
//                                          (passed on by the painter)
//   mouse entered / left (enabled only)    Enter / Leave, and, while the
//                                          left button is held on the
//                                          control (when the toolkit sends
//                                          neither), a move across its edge
//   left button down / up / double click   MouseButtonPress / Release /
//                                          DblClick (a double click is
//                                          handled as a press)
//   space bar down / up                    KeyPress / KeyRelease of Space
//                                          (auto-repeated releases are not
//                                          the key going up)
//   enabled state, parent colour changed   EnabledChange, PaletteChange
//   moved, resized, shown, hidden, laid    Move, Resize, Show, Hide,
//   out, children added or removed,        LayoutRequest, ChildAdded,
//   Ctl3D changed, invalidated by the      ChildRemoved, the dynamic
//   painter                                property "Ctl3D", Invalidated()
//   destroyed                              the control's destruction
// A disabled control gets no mouse or key input from the platform, so the
// hook takes none from a disabled control either.
//
// A caption change needs no event: the control repaints itself, and the
// flat look follows in that paint.
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

class TXPStylePainter;

class TControlSubClass : public QObject
{
    Q_OBJECT

public:
    // Hooks `control`, which must not be hooked yet, for `painter`, which
    // owns the record.
    TControlSubClass(TXPStylePainter *painter, QWidget *control);
    ~TControlSubClass() override;

    // The record hooked on `control`, or none.
    static TControlSubClass *hookOf(const QWidget *control);

    // The notification a painter sends a control it invalidates, and the
    // invalidation itself (notification, then a repaint request).
    static QEvent::Type invalidatedEvent();
    static void invalidate(QWidget *control);

    QWidget *Control() const { return m_control; }
    TXPStylePainter *Painter() const { return m_painter; }
    bool RepaintPending() const { return m_repaintPending; }
    bool Hot() const { return m_hot; }
    bool MouseDown() const { return m_mouseDown; }
    bool SpaceDown() const { return m_spaceDown; }
    bool SpaceSeen() const { return m_spaceSeen; }
    bool HasFocus() const { return m_hasFocus; }
    QEvent::Type LastMessage() const { return m_lastMessage; }

    // Takes the hook off the control, which shows its own look from its
    // next repaint on, and frees this record.
    void ReleaseHook();

    // Takes HasFocus afresh; inside a paint event draws the flat look of the
    // control, otherwise asks for a repaint where the look can have changed
    // (a group box and a panel change only when they paint).
    void RefreshXPLook();

    // The focus moved within the control's window.
    void focusChangedInWindow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Look { None, Button, Panel, GroupBox };

    // Whether the hook acts on events of this type at all.
    static bool acts(QEvent::Type type);
    void act(QEvent *event);
    void setHot(bool hot);
    void controlDestroyed();
    bool painterInactive() const;

    QPointer<QWidget> m_control;
    const QWidget *m_controlKey = nullptr; // the control, also while it is destroyed
    const QMetaObject *m_controlClass = nullptr;
    Look m_look = Look::None;
    bool m_repaintPending = false;
    bool m_hot = false;
    bool m_mouseDown = false;
    bool m_spaceDown = false;
    bool m_spaceSeen = false;
    bool m_hasFocus = false;
    bool m_painting = false;
    QPointer<TXPStylePainter> m_painter;
    QEvent::Type m_lastMessage = QEvent::None;
};
