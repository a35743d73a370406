#pragma once
// The numeric entry field.
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
//     <header>widgets/flatfloatedit.h</header>
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
#include <QString>

#include "widgets/flatedit.h"
#include "widgets/keyfilter.h"

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
    // An error of a change handler run inside another handler leaves
    // through here once the change notification has returned
    // (widgets/changeerror.h).
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
    QString formatValue(long double x) const;

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
    // The key filter's verdict on one printable character (no side effects).
    CharVerdict verdictOn(QChar k) const;
    // Runs the filter on a printable character, reports it through
    // OnKeyPress and inserts it, drops it or rewrites the text.
    void typeChar(QChar k);
    void applyAlignment();
    void setTextIfDifferent(const QString &text);
    // setValueL for the field's own event handling, which no error may
    // leave: what a change handler kept is left for the handler that
    // started the event, if any.
    void assignValue(long double x);
    // The exit check; true when the text was accepted.
    bool exitCheck();
    void refocusAfterReject();
    void takeFocusBack();

    char m_separatorChar = '.';
    long double m_entryValue = 0;
    int m_decimals = 2;
    TAlignment m_alignment = taRightJustify;
    long double m_minValue = 0;
    long double m_maxValue = 100.0L;
    bool m_refocusing = false; // taking the focus back after a rejected exit
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
