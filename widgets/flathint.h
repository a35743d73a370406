#pragma once
// TFlatHint: the non-visual component that gives a form flat hints.
//
// Constructing it makes TFlatHintWindow the application's hint window (hints
// are switched off and on, so the one hint window is recreated of that
// class), installs its show-hint handler as the application's show-hint hook
// and sets the delays: 500 ms before the first hint, 25 ms before the next,
// 5000 ms on screen. Without application hint settings (no hint controller)
// it only holds its properties.
//
// The hint window finds the component of the main window and reads its
// colours, font and width at every hint; setting a property only stores it.
//
// In a Designer .ui file:
//
//   <widget class="TFlatHint" name="FlatHint">
//    <property name="ColorBorder"><enum>::clHighlight</enum></property>
//    <property name="MaxHintWidth"><number>230</number></property>
//    <property name="Font"><font><family>MS Sans Serif</family><pointsize>8</pointsize></font></property>
//   </widget>
//
// (ui/lookandfeel.h turns the point size into the pixel height of the layout.)
#include <QFont>
#include <QObject>

#include "widgets/hintsettings.h"
#include "widgets/syscolors.h"

class TFlatHint : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TColor ColorBackground READ ColorBackground WRITE setColorBackground)
    Q_PROPERTY(TColor ColorBorder READ ColorBorder WRITE setColorBorder)
    Q_PROPERTY(TColor ColorArrowBackground READ ColorArrowBackground WRITE setColorArrowBackground)
    Q_PROPERTY(TColor ColorArrow READ ColorArrow WRITE setColorArrow)
    Q_PROPERTY(int MaxHintWidth READ MaxHintWidth WRITE setMaxHintWidth)
    Q_PROPERTY(QFont Font READ Font WRITE setFont)
    // The colour of the font (a QFont has none).
    Q_PROPERTY(TColor FontColor READ FontColor WRITE setFontColor)

public:
    static constexpr TColor kDefaultColorBackground = clWhite;
    static constexpr TColor kDefaultColorBorder = clBlack;
    static constexpr TColor kDefaultColorArrowBackground = rgbColor(255, 210, 83);
    static constexpr TColor kDefaultColorArrow = clBlack;
    static constexpr int kDefaultMaxHintWidth = 200;
    static constexpr TColor kDefaultFontColor = clWindowText;
    // The delays it sets, in milliseconds.
    static constexpr int kShowDelay = 500;
    static constexpr int kNextHintDelay = 25;
    static constexpr int kDisplayTime = 5000;

    explicit TFlatHint(QObject *owner = nullptr);
    ~TFlatHint() override;

    TColor ColorBackground() const { return m_colorBackground; }
    void setColorBackground(TColor value) { m_colorBackground = value; }
    TColor ColorBorder() const { return m_colorBorder; }
    void setColorBorder(TColor value) { m_colorBorder = value; }
    TColor ColorArrowBackground() const { return m_colorArrowBackground; }
    void setColorArrowBackground(TColor value) { m_colorArrowBackground = value; }
    TColor ColorArrow() const { return m_colorArrow; }
    void setColorArrow(TColor value) { m_colorArrow = value; }
    // Greatest outer width of the hint window for wrapped text, in pixels.
    int MaxHintWidth() const { return m_maxHintWidth; }
    void setMaxHintWidth(int value) { m_maxHintWidth = value; }
    QFont Font() const { return m_font; }
    void setFont(const QFont &value) { m_font = value; }
    TColor FontColor() const { return m_fontColor; }
    void setFontColor(TColor value) { m_fontColor = value; }

    // Raised before each hint with the text, the permission and the hint's
    // details, all of which it may change.
    TShowHintEvent OnShowHint;

    // The show-hint handler that construction installs as the application's
    // hook: passes everything on to OnShowHint, when one is assigned.
    void DoShowHint(QString &HintStr, bool &CanShow, THintInfo &HintInfo);

private:
    TColor m_colorBackground = kDefaultColorBackground;
    TColor m_colorBorder = kDefaultColorBorder;
    TColor m_colorArrowBackground = kDefaultColorArrowBackground;
    TColor m_colorArrow = kDefaultColorArrow;
    int m_maxHintWidth = kDefaultMaxHintWidth;
    QFont m_font;
    TColor m_fontColor = kDefaultFontColor;
};
