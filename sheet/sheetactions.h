#pragma once
// Where a user finds the sizing sheet in the window: Ctrl+P prints it,
// Ctrl+S saves it as a PDF, and a right-click on either circuit page
// offers both (ui/circuitpagemenu.h). The actions are added to the window
// from outside; its layout, handlers and hints stay as they are.
#include <QDate>
#include <QObject>
#include <QString>
#include <functional>

#include "sheet/sheetprinting.h"

class QAction;
class QWidget;
struct SheetContent;

class SheetActions : public QObject
{
    Q_OBJECT

public:
    // Asks for the file to save to, proposing `proposedPath`; an empty
    // text when the user cancels.
    using FileNameAsker = std::function<QString(QWidget *owner, const QString &proposedPath)>;
    // Lets the user choose and set up the printer; false when cancelled.
    using PrintAsker = ::PrintAsker;

    // Adds the actions to `window` (the main window), which owns them.
    explicit SheetActions(QWidget *window);

    QAction *printAction() const { return m_print; }
    QAction *saveAction() const { return m_save; }

    // The circuit the sheet is about: the circuit page on screen, or on
    // the nomogram page the circuit page shown last (the dependent circuit
    // when the window opened on the nomogram).
    int circuit() const;
    SheetContent content() const;

    // The file name the save proposes: "Подбор клапана <date>.pdf" in the
    // user's documents folder (the home folder when there is none).
    static QString proposedPath(const QDate &date);

    // Replace the dialogs (tests); an empty function restores the real one.
    void setFileNameAsker(FileNameAsker asker);
    void setPrintAsker(PrintAsker asker);

public slots:
    void saveSheet();
    void printSheet();

private:
    void pageChanged(int index);

    QWidget *m_window;
    QAction *m_print;
    QAction *m_save;
    int m_lastCircuit = 1;
    FileNameAsker m_askFileName;
    PrintAsker m_askPrinter;
};
