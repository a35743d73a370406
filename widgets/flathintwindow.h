#pragma once
// TFlatHintWindow: the flat hint window. A box with a one-pixel frame, a
// plain text area and, along its left or right side, a 14-pixel strip with a
// small arrow pointing out of the corner nearest the mouse pointer.
//
// At each hint it finds the TFlatHint of the main window (the first one the
// main window owns) and takes its colours, font and maximum width from it;
// without one it uses the component's defaults. It measures the text
// word-wrapped to MaxHintWidth - 22 pixels ("&" is an ordinary character),
// is 22 pixels wider and 6 pixels taller than the text, and places itself
// beside the pointer, towards the centre of the primary screen: 12 pixels
// away along both axes when the pointer is in the screen's top-left
// quarter, 5 pixels otherwise. The quarters are those of the primary
// screen's whole geometry, wherever the screen lies on the virtual desktop.
// It is not kept on the screen and does not follow the pointer.
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <functional>

#include "widgets/hintwindow.h"

class TFlatHint;

class TFlatHintWindow : public THintWindow
{
    Q_OBJECT

public:
    // Corner of the window that holds the arrow.
    enum TArrowCorner : quint8 { acTopRight, acTopLeft, acBottomRight, acBottomLeft };
    Q_ENUM(TArrowCorner)

    // Width of the arrow strip.
    static constexpr int kStripWidth = 14;
    // The window is this much larger than its text: the strip, the frame
    // and the margins around the text.
    static constexpr int kExtraWidth = 22;
    static constexpr int kExtraHeight = 6;
    // Gap between the pointer and the window, along both axes.
    static constexpr int kTopLeftGap = 12;
    static constexpr int kGap = 5;

    Q_INVOKABLE explicit TFlatHintWindow(QWidget *parent = nullptr);
    ~TFlatHintWindow() override;

    // Takes the text, measures it, places the window by the pointer and shows
    // it. The rectangle is not used: the window sizes and places itself.
    void activateHint(const QRect &rect, const QString &text) override;

    TArrowCorner ArrowCorner() const { return m_arrowCorner; }
    // Start of the arrow glyph in window pixels, set by each painting.
    QPoint ArrowTip() const { return m_arrowTip; }
    // The component found at the last activation.
    TFlatHint *HintComponent() const { return m_hintComponent; }

    // The corner for a pointer at `pointer` (screen coordinates) on a
    // primary screen with the geometry `screen`: by the screen's quarters,
    // each holding its left and top edges; the bottom-right one also takes
    // every point off the screen.
    static TArrowCorner cornerFor(QPoint pointer, const QRect &screen);
    // The window of `size` with its arrow corner next to `pointer`.
    static QRect placement(TArrowCorner corner, QPoint pointer, QSize size);

    // Where the text is drawn, in window pixels.
    QRect textBox() const;

    // The geometry of the primary screen, on the virtual desktop: the
    // toolkit's unless a source is set (tests put the screen elsewhere).
    QRect primaryScreenGeometry() const;
    void setScreenSource(std::function<QRect()> source) { m_screenSource = std::move(source); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool stripOnLeft() const { return m_arrowCorner == acTopLeft || m_arrowCorner == acBottomLeft; }

    TArrowCorner m_arrowCorner = acTopRight;
    QPoint m_arrowTip;
    QPointer<TFlatHint> m_hintComponent;
    int m_textWidth = 0;
    std::function<QRect()> m_screenSource;
};
