#pragma once
// The page control of the main window, whose tabs are drawn as flat
// buttons (ui/flattabbar.h).
#include <QTabWidget>

#include "ui/flattabbar.h"

class QProxyStyle;

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

    FlatTabBar *flatTabBar() const;

signals:
    void OnChange();

protected:
    // A field on one of the pages that has rejected its text while its page
    // was switched away from code (FocusBackRequest) gets its page back.
    bool event(QEvent *event) override;
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
