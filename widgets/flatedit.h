#pragma once
// Flat single-line edit and the numeric entry field.
//
// Use in a Designer .ui file (checked with uic 6.4):
//
//   <widget class="TFlatFloatEdit" name="FlEdt_dPr1">
//    <property name="geometry"><rect><x>52</x><y>16</y><width>45</width><height>21</height></rect></property>
//    <property name="Activate"><bool>false</bool></property>
//    <property name="BorderColor"><enum>::clBtnShadow</enum></property>
//    <property name="Flat"><bool>true</bool></property>
//    <property name="ShowBorder"><bool>true</bool></property>
//    <property name="Version"><string>1.29</string></property>
//    <property name="Alignment"><enum>TCustomFlatFloatEdit::taRightJustify</enum></property>
//    <property name="Decimals"><number>1</number></property>
//    <property name="MaxValue"><double>100.000000000000000</double></property>
//    <property name="MinValue"><double>0.000000000000000</double></property>
//    <property name="Color"><enum>::clWindow</enum></property>
//    <property name="AutoSelect"><bool>true</bool></property>
//    <property name="text"><string>0.00</string></property>
//   </widget>
//   ...
//   <customwidgets>
//    <customwidget>
//     <class>TFlatFloatEdit</class>
//     <extends>QLineEdit</extends>
//     <header>widgets/flatedit.h</header>
//    </customwidget>
//   </customwidgets>
//
// Colours: write the global constants of widgets/syscolors.h with a leading
// "::" (uic prefixes an unqualified <enum> with the widget's class name), or
// as a number: <number>16711680</number> (RGB 0x00BBGGRR, here blue).
// Alignment: "TCustomFlatFloatEdit::taRightJustify" (or just "taCenter",
// which uic qualifies itself). Do not also set QLineEdit's own lower-case
// "alignment" property; "Alignment" sets it.
// uic applies string properties ("Version", "text") last, in retranslateUi.
// Connect the events in code after setupUi() (signals OnChange, OnKeyUp,
// ...), so nothing done while the form is built reaches the handlers.
#include <QLineEdit>
#include <QString>

#include "widgets/syscolors.h"

class QPainter;

// The looks of the two-pixel frame ring (codes of the shared border routine).
enum TFlatBorderStyle : int {
    fbsNone = 0,
    fbsLine = 1,
    fbsActive = 2,
    fbsBackground = 3,
    fbsStandard = 6
};

// Draws `style` into the two-pixel ring just inside `r` (r = the whole
// control). `color` is the control's background, `borderColor` the line.
void DrawFlatBorder(QPainter &p, TColor color, TColor borderColor, TFlatBorderStyle style,
                    const QRect &r);

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
    TFlatBorderStyle CurrentBorderStyle() const;
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
    bool HasEntered() const { return m_entered; }
    // The last focus entry only gave the focus back after a window
    // deactivation or a popup.
    bool LastEntryWasRegain() const { return m_lastEntryWasRegain; }

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

// The numeric entry field: one real number as text with a fixed number of
// decimals, typed characters filtered, the range [MinValue, MaxValue] kept
// when the field is left or written from code. Text enters only as typed
// characters through the filter or as a paste (Ctrl+V, or the middle button
// on X11, which takes the same road), which the exit check judges; Alt with
// a character key types nothing, and nothing can be dropped in.
//
// Values and limits are long double; `Value`, `MinValue` and `MaxValue` are
// also double properties for the property system and .ui files.
//
// Events (signals, raised synchronously):
//   OnChange()                       the text changed (any cause)
//   OnKeyDown(key, modifiers)        a key was pressed (before filtering)
//   OnKeyPress(QChar ch)             a character passed the filter or was
//                                    rejected by it (Esc, Backspace and the
//                                    control characters included; not Enter;
//                                    the paste character for a middle-button
//                                    paste as for Ctrl+V)
//   OnKeyUp(key, modifiers)          a key was released (Enter included);
//                                    key is a Qt::Key
//   OnEnter()                        the focus entered the field
//   OnExit()                         the field is being left (twice for an
//                                    accepted text: before and after the
//                                    normalisation; once for a rejected one)
//   OnError()                        the field was left with a text that is
//                                    not a number or lies outside the range
class TCustomFlatFloatEdit : public TCustomFlatEdit
{
    Q_OBJECT
    Q_PROPERTY(int Decimals READ Decimals WRITE setDecimals)
    Q_PROPERTY(double MinValue READ MinValue WRITE setMinValue)
    Q_PROPERTY(double MaxValue READ MaxValue WRITE setMaxValue)
    Q_PROPERTY(double Value READ Value WRITE setValue STORED false)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)

public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)

    static constexpr int kMaxDecimals = 18;

    explicit TCustomFlatFloatEdit(QWidget *parent = nullptr);
    ~TCustomFlatFloatEdit() override;

    // Digits after the separator in every text the field formats (0..18;
    // larger values are stored as 18, negative ones as 0). A change
    // reformats the text.
    int Decimals() const { return m_decimals; }
    void setDecimals(int n);

    long double MinValueL() const { return m_minValue; }
    void setMinValueL(long double x);
    long double MaxValueL() const { return m_maxValue; }
    void setMaxValueL(long double x);
    double MinValue() const { return double(m_minValue); }
    void setMinValue(double x) { setMinValueL(x); }
    double MaxValue() const { return double(m_maxValue); }
    void setMaxValue(double x) { setMaxValueL(x); }

    // The text read as a number; MinValue when it does not read. Not clamped.
    long double ValueL() const;
    // Replaces the text by ClampToRange(x) formatted, only if it differs.
    void setValueL(long double x);
    double Value() const { return double(ValueL()); }
    void setValue(double x) { setValueL(x); }

    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment a);
    using QLineEdit::setAlignment;

    // The separator the key filter accepts (taken once, at construction).
    char SeparatorChar() const { return m_separatorChar; }
    // The value the field had when it last received the focus.
    long double EntryValue() const { return m_entryValue; }

    // x limited to [MinValue, MaxValue]; unchanged when the limits are equal.
    virtual long double ClampToRange(long double x) const;

    // `x` in the field's fixed form (Decimals places).
    QString FormatValue(long double x) const;

signals:
    void OnChange();
    void OnKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void OnKeyPress(QChar key);
    void OnKeyUp(int key, Qt::KeyboardModifiers modifiers);
    void OnEnter();
    void OnExit();
    void OnError();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    // The middle button pastes the primary selection as Ctrl+V pastes the
    // clipboard.
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    enum class CharResult { Accept, Reject, RewriteMinus, RewriteSeparator };
    // The key filter's verdict on one printable character (no side effects).
    CharResult FilterChar(QChar k) const;
    // Runs the filter on a printable character, reports it through
    // OnKeyPress and inserts it, drops it or rewrites the text.
    void TypeChar(QChar k);
    void ApplyAlignment();
    void SetTextIfDifferent(const QString &text);
    // The exit check; true when the text was accepted.
    bool ExitCheck();
    void RefocusAfterReject();
    void BringToFront();

    char m_separatorChar = '.';
    long double m_entryValue = 0;
    int m_decimals = 2;
    TAlignment m_alignment = taRightJustify;
    long double m_minValue = 0;
    long double m_maxValue = 100.0L;
    bool m_refocusing = false;     // taking the focus back after a rejected exit
    bool m_refocusQueued = false;
};

// The numeric entry field as placed on forms.
class TFlatFloatEdit : public TCustomFlatFloatEdit
{
    Q_OBJECT

public:
    explicit TFlatFloatEdit(QWidget *parent = nullptr);
    ~TFlatFloatEdit() override;
};
