#pragma once
// Where a user finds the sizing files (*.zelton) in the window: "Открыть
// расчёт…" (Ctrl+O) and "Сохранить расчёт как…" (Ctrl+Shift+S), in the
// right-click menu of the circuit pages (ui/circuitpagemenu.h) and as
// shortcuts. The dialogs start in the folder last used
// (ui/dialogfolders.h). The loading and saving themselves are the
// window's (TForm_Main::openSizingFile, TForm_Main::saveSizingFile).
#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QWidget;
class TForm_Main;

class SizingFileActions : public QObject
{
    Q_OBJECT

public:
    // Asks for the file to open (`save` false) or to save to, starting in
    // `folder` with `name` proposed; an empty text when the user cancels.
    using FileNameAsker = std::function<QString(QWidget *owner, bool save, const QString &folder, const QString &name)>;

    // The dialogs' key in the remembered folders.
    static constexpr const char *kDialog = "SizingFiles";

    // Adds the actions to `window`, which owns them.
    explicit SizingFileActions(TForm_Main *window);

    QAction *openAction() const { return m_open; }
    QAction *saveAsAction() const { return m_saveAs; }

    // Replace the dialogs (tests); an empty function restores the real one.
    void setFileNameAsker(FileNameAsker asker);

    // Opens `path` as the window's handler: a file that is not a sizing
    // file shows the error display's box naming it, and nothing changes.
    void openFile(const QString &path);

public slots:
    void open();
    void saveAs();

private:
    QString askFileName(bool save, const QString &name);

    TForm_Main *m_window;
    QAction *m_open;
    QAction *m_saveAs;
    FileNameAsker m_askFileName;
};
