#pragma once
// THintWindow: the plain hint window of the application, a borderless
// top-level box that shows one hint text at a time.
//
// It never takes the focus nor activates, has no task-bar entry and lets the
// mouse through to the window beneath. The hint controller creates one, and
// shows, moves and hides it for every hint. Derived classes (TFlatHintWindow)
// size, place and paint themselves their own way; they need a Q_INVOKABLE
// constructor taking the parent widget, because the controller creates the
// window by its class.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "widgets/syscolors.h"

class THintWindow : public QWidget
{
    Q_OBJECT

public:
    // Space between the frame and the text.
    static constexpr int kTextMargin = 2;
    // Widest text line before it wraps, and the distance of the window
    // below the pointer (about the height of a pointer).
    static constexpr int kMaxTextWidth = 300;
    static constexpr int kBelowPointer = 20;

    Q_INVOKABLE explicit THintWindow(QWidget *parent = nullptr);
    ~THintWindow() override;

    // Shows `text` just below the pointer. `rect` holds the screen bounds of
    // the control whose hint it is; this window does not use them.
    virtual void activateHint(const QRect &rect, const QString &text);

    QString text() const { return m_text; }

    // The hint colour: the background of this window.
    TColor color() const { return m_color; }
    void setColor(TColor color) { m_color = color; }

    // The application's main window: the window placement is relative to
    // (a platform that places popups only relative to a parent window, such
    // as Wayland, gets it as this window's transient parent), and whose
    // components a derived window may consult.
    QWidget *mainWindow() const { return m_mainWindow; }
    void setMainWindow(QWidget *window);

    // Where the pointer is, in screen coordinates: QCursor::pos() unless a
    // source is set (tests point it at a position of their own).
    QPoint pointerPos() const;
    void setPointerSource(std::function<QPoint()> source) { m_pointerSource = std::move(source); }

protected:
    void setText(const QString &text) { m_text = text; }
    // Shows this window at `bounds` over every other window without
    // activating it.
    void showAt(const QRect &bounds);
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    TColor m_color = clInfoBk;
    QPointer<QWidget> m_mainWindow;
    std::function<QPoint()> m_pointerSource;
};
