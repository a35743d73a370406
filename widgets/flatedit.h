#pragma once
// The flat single-line edit: the base of the numeric entry field
// (widgets/flatfloatedit.h).
#include <QLineEdit>
#include <QString>

#include "widgets/flatborder.h"
#include "widgets/syscolors.h"

class QPainter;

// A single-line edit without the toolkit's own frame: the text area sits
// inside a two-pixel ring which the control paints itself after the edit's
// own painting. An event filter installed on the control can paint over the
// finished control by handling QEvent::Paint itself: call obj->event(e) first
// (this runs the whole paint, frame included), then paint, then return true.
class TCustomFlatEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(bool Activate READ Activate WRITE setActivate)
    Q_PROPERTY(TColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(bool Flat READ Flat WRITE setFlat)
    Q_PROPERTY(bool ShowBorder READ ShowBorder WRITE setShowBorder)
    Q_PROPERTY(QString Version READ Version WRITE setVersion)
    Q_PROPERTY(TColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE setAutoSelect)

public:
    static constexpr int kFrameWidth = 2;
    static constexpr int kVersionNumber = 0x011D; // "1.29"

    explicit TCustomFlatEdit(QWidget *parent = nullptr);
    ~TCustomFlatEdit() override;

    bool Activate() const { return m_activate; }
    void setActivate(bool value) { m_activate = value; } // store only, no repaint
    TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(TColor value);
    bool Flat() const { return m_flat; }
    virtual void setFlat(bool value);
    bool ShowBorder() const { return m_showBorder; }
    void setShowBorder(bool value);
    QString Version() const;
    void setVersion(const QString &) {} // read-only in effect: writes are ignored
    // Background colour of the text area and of the inner ring (default clWindow).
    TColor Color() const { return m_color; }
    void setColor(TColor value);
    // Select all of the text when the focus enters other than by a left click.
    bool AutoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool value) { m_autoSelect = value; }

    bool MouseInside() const { return m_mouseInside; }
    // The look the frame is painted in right now.
    TFlatBorderStyle currentBorderStyle() const;
    // Requests a repaint of the whole control, frame ring included.
    void InvalidateFrame();

protected:
    void paintEvent(QPaintEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    // Paints the ring over the finished edit.
    virtual void PaintFrame(QPainter &p);

    // True between a focus entry and the next real focus exit. Losing the
    // focus to another window or to a popup is not a real exit, and taking
    // it back from there is not a new entry.
    bool hasEntered() const { return m_entered; }
    // The last focus entry only gave the focus back after a window
    // deactivation or a popup.
    bool lastEntryWasRegain() const { return m_lastEntryWasRegain; }
    // Losing the focus to another window or to a popup, or taking it back
    // from there.
    static bool isWindowOrPopupReason(Qt::FocusReason reason);

private:
    void applyColor();

    bool m_activate = true;
    TColor m_borderColor = clBtnShadow;
    bool m_flat = true;
    bool m_showBorder = true;
    bool m_mouseInside = false;
    TColor m_color = clWindow;
    bool m_autoSelect = true;
    bool m_entered = false;
    bool m_lastEntryWasRegain = false;
};
