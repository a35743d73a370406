#pragma once
// The tab row of the page control, drawn as flat buttons.
#include <QTabBar>

// The tab row of TPageControl: every tab is a flat button. The current tab
// is drawn pressed (sunken one-pixel edge, lighter face, caption moved one
// pixel right and down); the other tabs are flat captions; an etched
// separator stands between neighbouring tabs. The bar never takes the focus
// and the mouse wheel does not switch pages.
class FlatTabBar : public QTabBar
{
    Q_OBJECT

public:
    // Height of a tab button and the gap between two buttons.
    static constexpr int kTabHeight = 22;
    static constexpr int kTabGap = 6;
    // Free space on each side of a caption inside its button.
    static constexpr int kTabPadding = 6;

    explicit FlatTabBar(QWidget *parent = nullptr);

    // True while a mouse press or a key of the user is being handled.
    bool userAction() const { return m_userAction > 0; }

    // The button part of tab `index` (its rectangle without the gap).
    QRect buttonRect(int index) const;

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
#if QT_CONFIG(wheelevent)
    void wheelEvent(QWheelEvent *event) override;
#endif

private:
    int m_userAction = 0;
};
