#pragma once
// TForm_Main: the one window of the program.
//
// The window is built from its description resources/Form_Main.ui
// (compiled by uic into ui_Form_Main.h): every control, with its object
// name, geometry, caption, font, hint and tab order, the three non-visual
// components, and the handler bindings. The controls are reached through
// `ui` (include "ui_Form_Main.h" for the class Ui::Form_Main), e.g.
// `ui->FlEdt_dPr1`, `ui->PgCtrl_Sys`, `ui->FlatManager1`.
//
// Construction order (see TForm_Main::TForm_Main):
//   1. every control is constructed with its defaults and gets its stored
//      properties, in the order of the description; the XP-style painter
//      follows the controls and restyles seven of them when its Active is
//      applied; the flat manager is the last component, so its one
//      ApplyStyle runs over fields that already exist; then the painter's
//      Loaded registers it with the XP-style manager;
//   2. the handlers are bound last (the <connections> of the description),
//      so nothing done while loading reaches a handler;
//   3. the creation handler FormCreate() runs.
//
#include <QPen>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QCloseEvent;
class QShowEvent;
class TFlatFloatEdit;

namespace Ui {
class Form_Main;
}

class TForm_Main : public QWidget
{
    Q_OBJECT

public:
    // The client area of the window (fixed; the window is not scaled).
    static constexpr int kClientWidth = 808;
    static constexpr int kClientHeight = 588;

    explicit TForm_Main(QWidget *parent = nullptr);
    ~TForm_Main() override;

    // Pointers to the controls and non-visual components (which the window
    // owns as its children).
    const std::unique_ptr<Ui::Form_Main> ui;

    // --- Workflow ------------------------------------------------------
    // Window created: runs once at the end of the constructor.
    void FormCreate();
    // Window shown: runs on every show, after the first show has centred
    // the window on the screen.
    void FormShow();
    // Window closing: true lets the window close. The window stays open if
    // it returns false or raises.
    bool FormCloseQuery();
    // Recompute the dependent / independent circuit into the result lines.
    void recomputeSys1();
    void recomputeSys2();
    // SizingState -> fields (and the page), fields -> SizingState.
    void pushStateToFields();
    void pullFieldsToState();
    // Full path of settings.ini: beside the executable, or in the per-user
    // configuration folder when the executable's folder cannot be written
    // (ui/settingslocation.h).
    QString settingsPath() const;

    // --- Sizing files (core/sizingfile.h) --------------------------------
    // Loads the sizing file at `path` (a full path) as the start-up loads
    // settings.ini: the state from the file, the fields pushed in their
    // order, the results following, the page following the file's. The file
    // is read and checked apart first: one that is not a sizing file raises
    // ESizingFileError naming it, and nothing changes. The file is never
    // written here.
    void openSizingFile(const QString &path);
    // The fields read back into the state, as a close does (the page stays),
    // then written to `path` (a full path). A failure raises
    // ESizingFileError naming it; the caption stays as it was.
    void saveSizingFile(const QString &path);
    // The sizing file last opened or saved; empty before the first. The
    // caption then names it: "<the window's own caption> — <file name>".
    QString sizingFile() const { return m_sizingFile; }

signals:
    // A sizing file's values replaced the state: the check inputs too,
    // which no field of this window shows.
    void sizingFileOpened();

public slots:
    // --- Handlers bound in the description -----------------------------
    // The field and button handlers are one-line forwards: the input table
    // (ui/inputtable.h) says what each field stands for.
    // Page changed by the user (never by a page selection from code).
    void PgCtrl_SysChange();

    void Btn_Clear1Click();
    void Btn_Clear2Click();

    // Field changed (OnChange of TFlatFloatEdit).
    void FlEdt_dPr1Change();
    void FlEdt_dPf1Change();
    void FlEdt_dPppr1Change();
    void FlEdt_dPsChange();
    void FlEdt_dPtr1Change();
    void FlEdt_dPdr1Change();
    void FlEdt_dPnChange();
    void FlEdt_Q1Change();
    void FlEdt_Kvy1Change();
    void FlEdt_dPr2Change();
    void FlEdt_dPf2Change();
    void FlEdt_dPppr2Change();
    void FlEdt_dPtChange();
    void FlEdt_dPtr2Change();
    void FlEdt_dPdr2Change();
    void FlEdt_Q2Change();
    void FlEdt_Kvy2Change();

    // Key released in a field (OnKeyUp of TFlatFloatEdit; Key is a Qt::Key).
    void FlEdt_dPr1KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_dPf1KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_dPppr1KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_dPsKeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_dPtr1KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_dPdr1KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_dPnKeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_Q1KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_Kvy1KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_dPr2KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_dPf2KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_dPppr2KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_dPtKeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_dPtr2KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_dPdr2KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_Q2KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FlEdt_Kvy2KeyUp(int Key, Qt::KeyboardModifiers Shift);

protected:
    // First show: centre on the screen; every show: FormShow().
    void showEvent(QShowEvent *event) override;
    // Asks FormCloseQuery(); the event stays ignored unless it returns true.
    void closeEvent(QCloseEvent *event) override;

    // State kept by the workflow for the life of the window.
    QString m_exeDir;       // directory of the executable, ending with '/'
    QString m_settingsPath; // chooseSettingsPath(m_exeDir)
    QPen m_crossPen;        // the nomogram crosshair pen

private:
    void centreOnScreen();
    // What the handlers forward to, by the input table (ui/inputtable.h).
    void inputChanged(TFlatFloatEdit *field);
    void keyReleasedIn(TFlatFloatEdit *field, int key);
    void clearCircuit(int circuit);
    void showActualLoss(int circuit);

    void setSizingFile(const QString &path);
    // The fields (texts and Kvy minimums) and the result lines as the
    // description makes them, which a start-up pushes the settings into:
    // kept before the creation handler, put back (without any handler)
    // before an open pushes the file's values, so that what the window
    // shows after an open does not depend on what it showed before.
    void keepStartUpView();
    void restoreStartUpView();

    bool m_shownOnce = false;
    std::vector<QString> m_startUpTexts;        // the inputs, then the result lines, in push order
    std::vector<long double> m_startUpMinimums; // the inputs' MinValue, in push order
    QString m_ownCaption;                       // the caption of the window's description
    QString m_sizingFile;
};
