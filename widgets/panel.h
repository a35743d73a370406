#pragma once
// A panel: a container framed by an outer and an inner bevel.
#include <QWidget>

// From the outside in: the outer bevel (BevelWidth pixels), a gap of
// BorderWidth pixels, the inner bevel (BevelWidth pixels). A raised (or
// space) bevel is light on the left and top and in the shadow colour on
// the right and bottom; a lowered bevel the other way round. The panel
// paints no background: its parent shows through. The defaults give the
// one-pixel raised frame of the main window's panels.
class TPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(TBevelCut BevelOuter READ BevelOuter WRITE setBevelOuter)
    Q_PROPERTY(TBevelCut BevelInner READ BevelInner WRITE setBevelInner)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE setBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)

public:
    // The cut of a bevel (in a .ui file: <enum>TPanel::bvLowered</enum>).
    enum TBevelCut : int { bvNone, bvLowered, bvRaised, bvSpace };
    Q_ENUM(TBevelCut)

    explicit TPanel(QWidget *parent = nullptr);
    ~TPanel() override;

    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(TBevelCut value);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void setBevelInner(TBevelCut value);
    int BevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int value);
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TBevelCut m_bevelOuter = bvRaised;
    TBevelCut m_bevelInner = bvNone;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
};
