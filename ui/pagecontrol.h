#pragma once
// The page control of the main window, whose tabs are drawn as flat
// buttons. (The panel, TPanel, is in widgets/panel.h.)
#include <QTabBar>
#include <QTabWidget>

class QProxyStyle;

// The tab row of TPageControl: every tab is a flat button. The current tab
// is drawn pressed (sunken one-pixel edge, lighter face, caption moved one
// pixel right and down); the other tabs are flat captions; an etched
// separator stands between neighbouring tabs. The bar never takes the focus
// and the mouse wheel does not switch pages.
class TFlatTabBar : public QTabBar
{
    Q_OBJECT

public:
    // Height of a tab button and the gap between two buttons.
    static constexpr int kTabHeight = 22;
    static constexpr int kTabGap = 6;
    // Free space on each side of a caption inside its button.
    static constexpr int kTabPadding = 6;

    explicit TFlatTabBar(QWidget *parent = nullptr);

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

// The page control: pages stacked under a row of flat-button tabs.
//
// Geometry (for the 808 x 588 control of the main window): the tab row at
// (2, 2), the pages at (4, 27) with the size of the control less 8 x 31
// (800 x 557), without a frame.
//
// OnChange() is raised when the user switches the page (a click on a tab or
// the keyboard page switch Ctrl+Tab / Ctrl+Shift+Tab);
// selecting a page from code (setCurrentIndex, setCurrentWidget) raises
// none. currentChanged() of QTabWidget is still raised for both.
//
// Before the user switches the page, the control on the current page that
// holds the focus loses it, which runs a field's exit check; a field that
// rejects its text takes the focus back, and then the page stays as it is.
class TPageControl : public QTabWidget
{
    Q_OBJECT

public:
    static constexpr int kPageLeft = 4;
    static constexpr int kPageTop = 27;
    static constexpr int kPageRightMargin = 4;
    static constexpr int kPageBottomMargin = 4;
    static constexpr int kTabRowLeft = 2;
    static constexpr int kTabRowTop = 2;

    explicit TPageControl(QWidget *parent = nullptr);
    ~TPageControl() override;

    TFlatTabBar *flatTabBar() const;

signals:
    void OnChange();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void tabInserted(int index) override;

private:
    void pageChanged(int index);
    // Takes the focus off the current page; false if it came back (a field
    // that rejected its text).
    bool focusLeavesPage();
    // Places the tab row and the pages. QTabWidget does so only while it is
    // visible; this keeps the pages in place for a window that has not been
    // shown yet (drawn with grab(), measured before the first show).
    void layoutPages();

    QProxyStyle *m_style = nullptr;
    int m_userAction = 0;
};
