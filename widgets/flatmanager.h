#pragma once
// Non-visual holder of the frame settings of the flat controls of a form.
#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>

#include "widgets/syscolors.h"

// Kinds of flat controls (numbered from 0). This program's only flat
// control is the numeric entry field, ctFlatFloatEdit.
enum TFlatComponentType : int {
    ctFlatEdit,
    ctFlatFloatEdit,
    ctFlatSpinEdit,
    ctFlatFloatSpinEdit,
    ctFlatMaskEdit,
    ctFlatPanel,
    ctFlatButton,
    ctFlatSpeedButton,
    ctFlatCheckBox,
    ctFlatRadioButton,
    ctFlatLabel,
    ctFlatFormTitle,
    ctFlatMemo,
    ctFlatRichEdit,
    ctFlatListBox,
    ctFlatDirectoryListBox,
    ctFlatFileListBox,
    ctFlatCheckListBox,
    ctFlatGroupBox,
    ctFlatRadioGroup,
    ctFlatComboBox,
    ctFlatDriveComboBox,
    ctFlatFilterComboBox,
    ctFlatMRUComboBox,
    ctFlatColorComboBox,
    ctFlatFontComboBox,
    ctFlatDateTimePicker,
    ct3DSPanel,
    ctFlatBevel,
    ctFlatComboBoxEx
};

// Events of the manager. `sender` is the manager, `name` the control about
// to be (or just) styled. A before-handler may set `canChange` to false to
// skip the styling; the flag is shared along the walk of one container
// (see ApplyStyle).
using TOnBeforeSetStyle =
    std::function<void(QObject *sender, QObject *name, TFlatComponentType componentType, bool &canChange)>;
using TOnAfterSetStyle = std::function<void(QObject *sender, QObject *name, TFlatComponentType componentType)>;

// Create it with its form (a top-level QWidget) or a TCustomFrame as the
// parent: new TFlatManager(form). Writing a property with a new value pushes
// all four settings into every flat control of that container.
class TFlatManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Activate READ Activate WRITE setActivate)
    Q_PROPERTY(TColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(bool Flat READ Flat WRITE setFlat)
    Q_PROPERTY(bool ShowBorder READ ShowBorder WRITE setShowBorder)
    Q_PROPERTY(QString Version READ Version WRITE setVersion)

public:
    static constexpr int kVersionNumber = 0x011D; // "1.29"

    explicit TFlatManager(QObject *owner = nullptr);
    ~TFlatManager() override;

    bool Activate() const { return m_activate; }
    void setActivate(bool value);
    TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(TColor value);
    bool Flat() const { return m_flat; }
    void setFlat(bool value);
    bool ShowBorder() const { return m_showBorder; }
    void setShowBorder(bool value);
    QString Version() const;
    void setVersion(const QString &) {} // writes are ignored

    // Assign or clear (pass {}) the events.
    TOnBeforeSetStyle OnBeforeSetStyle;
    TOnAfterSetStyle OnAfterSetStyle;

    // Pushes the settings into every numeric entry field of the owner when
    // the owner is a window (a top-level QWidget) or a TCustomFrame; walks
    // the owner's child widgets depth first in child order, a container's
    // own styling before its children's. Does nothing for another owner.
    virtual void ApplyStyle();

private:
    void walk(QWidget *container, bool &canChange);

    bool m_activate = true;
    TColor m_borderColor = clBtnShadow;
    bool m_flat = true;
    bool m_showBorder = true;
};
