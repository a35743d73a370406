#pragma once
// The XP-style painter: a non-visual component that gives a fixed set of
// standard controls of the window owning it a flat look (lightly tinted
// faces, one-pixel frames, the highlight colour for the control under the
// mouse or with the focus). It derives no new control types: each control
// it restyles gets a hook (TControlSubClass) that lets the control paint
// itself and then paints the flat look over it.
//
// In a Designer .ui file, as a direct child of the window, after every
// control it is to restyle, with the stored properties in this order
// (Active last: it restyles at once):
//
//   <widget class="TXPStylePainter" name="XPStylePainter1">
//    <property name="DimLevel"><number>30</number></property>
//    ...
//    <property name="Font"><font><family>Tahoma</family><pointsize>10</pointsize></font></property>
//    <property name="FontColor"><enum>::clMenuText</enum></property>
//    ...
//    <property name="Active"><bool>true</bool></property>
//   </widget>
//   <customwidget><class>TXPStylePainter</class><extends>QObject</extends>
//    <header>widgets/xpstylepainter.h</header></customwidget>
//
// and call Loaded() once the window is built.
//
// The menu properties are kept for the window description; this program
// has no menus, and the painter draws none.
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "widgets/syscolors.h"
#include "widgets/xpkinds.h"
#include "widgets/xppaint.h"

class QPaintDevice;
class TControlSubClass;

// Insertion into or removal from an owner (Notification).
enum TOperation : int { opInsert, opRemove };

class TXPStylePainter : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int DimLevel READ DimLevel WRITE setDimLevel)
    Q_PROPERTY(int GrayLevel READ GrayLevel WRITE setGrayLevel)
    Q_PROPERTY(QFont Font READ Font WRITE setFont)
    Q_PROPERTY(TColor FontColor READ FontColor WRITE setFontColor)
    Q_PROPERTY(TColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool DrawMenuBar READ DrawMenuBar WRITE setDrawMenuBar)
    Q_PROPERTY(TColor IconBackColor READ IconBackColor WRITE setIconBackColor)
    Q_PROPERTY(TColor MenuBarColor READ MenuBarColor WRITE setMenuBarColor)
    Q_PROPERTY(TColor SelectColor READ SelectColor WRITE setSelectColor)
    Q_PROPERTY(TColor SelectBorderColor READ SelectBorderColor WRITE setSelectBorderColor)
    Q_PROPERTY(TColor SelectFontColor READ SelectFontColor WRITE setSelectFontColor)
    Q_PROPERTY(TColor DisabledColor READ DisabledColor WRITE setDisabledColor)
    Q_PROPERTY(TColor SeparatorColor READ SeparatorColor WRITE setSeparatorColor)
    Q_PROPERTY(TColor CheckedColor READ CheckedColor WRITE setCheckedColor)
    Q_PROPERTY(int IconWidth READ IconWidth WRITE setIconWidth)
    Q_PROPERTY(bool DrawSelect READ DrawSelect WRITE setDrawSelect)
    Q_PROPERTY(bool UseSystemColors READ UseSystemColors WRITE setUseSystemColors)
    Q_PROPERTY(bool UseDimColor READ UseDimColor WRITE setUseDimColor)
    Q_PROPERTY(bool OverrideOwnerDraw READ OverrideOwnerDraw WRITE setOverrideOwnerDraw)
    Q_PROPERTY(bool Gradient READ Gradient WRITE setGradient)
    Q_PROPERTY(bool FlatMenu READ FlatMenu WRITE setFlatMenu)
    Q_PROPERTY(bool AutoDetect READ AutoDetect WRITE setAutoDetect)
    Q_PROPERTY(TXPContainers XPContainers READ XPContainers WRITE setXPContainers)
    Q_PROPERTY(TXPControls XPControls READ XPControls WRITE setXPControls)
    Q_PROPERTY(bool Active READ Active WRITE setActive)
    Q_PROPERTY(bool DisableSubclassing READ DisableSubclassing WRITE setDisableSubclassing)

public:
    // `owner` must be a form (a window) or a TCustomFrame; another owner
    // raises EInvalidCast ("Invalid class typecast"). Without an owner the
    // painter has no OwnerWindow and restyles nothing.
    explicit TXPStylePainter(QObject *owner = nullptr);
    ~TXPStylePainter() override;

    // End of loading from the window description: registers with the
    // process-wide TXPStyleManager.
    void Loaded();
    // A component was inserted into or removed from the owner; passed on to
    // the manager (when there is one).
    void Notification(QObject *component, TOperation operation);

    // --- Properties --------------------------------------------------------
    int DimLevel() const { return m_dimLevel; }
    void setDimLevel(int value) { m_dimLevel = quint8(value); }
    int GrayLevel() const { return m_grayLevel; }
    void setGrayLevel(int value) { m_grayLevel = quint8(value); }
    QFont Font() const { return m_font; }
    void setFont(const QFont &value) { m_font = value; }
    // The colour of Font (feeds SelectText with UseSystemColors).
    TColor FontColor() const { return m_fontColor; }
    void setFontColor(TColor value) { m_fontColor = value; }
    TColor Color() const { return m_color; }
    void setColor(TColor value) { setSchemeColor(m_color, value); }
    bool DrawMenuBar() const { return m_drawMenuBar; }
    void setDrawMenuBar(bool value) { m_drawMenuBar = value; }
    TColor IconBackColor() const { return m_iconBackColor; }
    void setIconBackColor(TColor value) { setSchemeColor(m_iconBackColor, value); }
    TColor MenuBarColor() const { return m_menuBarColor; }
    void setMenuBarColor(TColor value) { setSchemeColor(m_menuBarColor, value); }
    TColor SelectColor() const { return m_selectColor; }
    void setSelectColor(TColor value) { setSchemeColor(m_selectColor, value); }
    TColor SelectBorderColor() const { return m_selectBorderColor; }
    void setSelectBorderColor(TColor value) { setSchemeColor(m_selectBorderColor, value); }
    TColor SelectFontColor() const { return m_selectFontColor; }
    void setSelectFontColor(TColor value) { setSchemeColor(m_selectFontColor, value); }
    TColor DisabledColor() const { return m_disabledColor; }
    void setDisabledColor(TColor value) { setSchemeColor(m_disabledColor, value); }
    TColor SeparatorColor() const { return m_separatorColor; }
    void setSeparatorColor(TColor value) { setSchemeColor(m_separatorColor, value); }
    TColor CheckedColor() const { return m_checkedColor; }
    void setCheckedColor(TColor value) { setSchemeColor(m_checkedColor, value); }
    int IconWidth() const { return m_iconWidth; }
    void setIconWidth(int value) { m_iconWidth = value; }
    bool DrawSelect() const { return m_drawSelect; }
    void setDrawSelect(bool value) { m_drawSelect = value; }
    // Writing it does not recompute the scheme: the next recomputation
    // that another property causes uses it.
    bool UseSystemColors() const { return m_useSystemColors; }
    void setUseSystemColors(bool value) { m_useSystemColors = value; }
    bool UseDimColor() const { return m_useDimColor; }
    void setUseDimColor(bool value) { m_useDimColor = value; }
    bool OverrideOwnerDraw() const { return m_overrideOwnerDraw; }
    void setOverrideOwnerDraw(bool value) { m_overrideOwnerDraw = value; }
    bool Gradient() const { return m_gradient; }
    void setGradient(bool value) { m_gradient = value; }
    bool FlatMenu() const { return m_flatMenu; }
    void setFlatMenu(bool value) { m_flatMenu = value; }
    bool AutoDetect() const { return m_autoDetect; }
    void setAutoDetect(bool value) { m_autoDetect = value; }
    // Sets of TXPContainer / TXPControl members (bit n: member n). A new
    // set while Active restyles the owner anew.
    TXPContainers XPContainers() const { return m_xpContainers; }
    void setXPContainers(TXPContainers value);
    TXPControls XPControls() const { return m_xpControls; }
    void setXPControls(TXPControls value);
    // True restyles the owner's controls at once; False makes every hook
    // give its control back at the control's next event.
    bool Active() const { return m_active; }
    void setActive(bool value);
    // Always False; a write asks the manager to choose its active painter
    // again.
    bool DisableSubclassing() const { return false; }
    void setDisableSubclassing(bool value);

    // --- State -------------------------------------------------------------
    QWidget *OwnerWindow() const { return m_ownerWindow; }
    bool SchemeDirty() const { return m_schemeDirty; }
    bool HighColor() const { return m_highColor; }
    const TXPColorScheme &XPColorScheme() const { return m_scheme; }
    int FaceLightenNormal() const { return m_faceLightenNormal; }
    int FaceLightenHot() const { return m_faceLightenHot; }

    // Derives XPColorScheme from the colour properties or the system
    // colours, for a surface of `surface`'s colour depth.
    void ComputeColorScheme(const QPaintDevice *surface);

    // Restyles (enable) or merely repaints (update) every eligible control
    // owned by `container`, in ownership order.
    void ApplyToOwner(QObject *container, bool enable, bool update);
    void ApplyToComponent(QObject *component, bool enable, bool update);

    // The hook records this painter installed, in creation order.
    QList<TControlSubClass *> hooks() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setSchemeColor(TColor &field, TColor value);
    template <typename Set>
    void setKinds(Set &field, Set value);
    void focusChanged(QWidget *old, QWidget *now);

    bool m_active = false;
    QPointer<QWidget> m_ownerWindow;
    QFont m_font;
    TColor m_fontColor = clMenuText;
    TColor m_color = clBtnFace;
    TColor m_iconBackColor = clBtnFace;
    TColor m_menuBarColor = clBtnFace;
    TColor m_checkedColor = clHighlight;
    TColor m_separatorColor = clBtnFace;
    TColor m_selectBorderColor = clHighlight;
    TColor m_selectColor = clHighlight;
    TColor m_disabledColor = clInactiveCaption;
    TColor m_selectFontColor = clMenuText;
    int m_iconWidth = 24;
    bool m_drawSelect = true;
    bool m_useSystemColors = true;
    bool m_schemeDirty = false;
    TXPColorScheme m_scheme;
    bool m_highColor = false;
    bool m_overrideOwnerDraw = false;
    bool m_gradient = false;
    bool m_flatMenu = false;
    bool m_autoDetect = false;
    TXPContainers m_xpContainers = 0;
    TXPControls m_xpControls = 0;
    quint8 m_grayLevel = 10;
    quint8 m_dimLevel = 30;
    bool m_drawMenuBar = false;
    bool m_useDimColor = false;
    int m_faceLightenNormal = 16;
    int m_faceLightenHot = 40;
};
