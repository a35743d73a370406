#pragma once
// Where a user finds the valve schedule in the window: "Ведомость
// клапанов…" in the right-click menu of the circuit pages. It asks for
// several sizing files (the dialog starts where the sizing files' dialogs
// last were), reads them all, then asks for the PDF's name ("Ведомость
// клапанов <date>.pdf", in the folder its dialog last used) and writes
// it. A file that is not a sizing file stops it with a box naming the
// file, before the PDF is asked for. The window's own values stay as they
// are: the files are opened in a hidden window (sheet/hiddenwindow.h).
#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QWidget;

class ScheduleActions : public QObject
{
    Q_OBJECT

public:
    // Asks for the sizing files, starting in `folder`; none when the user
    // cancels.
    using FilesAsker = std::function<QStringList(QWidget *owner, const QString &folder)>;
    // Asks for the PDF to write, proposing `proposedPath`; an empty text
    // when the user cancels.
    using PdfAsker = std::function<QString(QWidget *owner, const QString &proposedPath)>;

    // The PDF dialog's key in the remembered folders.
    static constexpr const char *kDialog = "Schedules";

    // Adds the action to `window` (the main window), which owns it.
    explicit ScheduleActions(QWidget *window);

    QAction *scheduleAction() const { return m_schedule; }

    // The PDF's name proposed in `folder`.
    static QString proposedPath(const QString &folder, const QDate &date);

    // Replace the dialogs (tests); an empty function restores the real one.
    void setFilesAsker(FilesAsker asker);
    void setPdfAsker(PdfAsker asker);

public slots:
    void writeSchedule();

private:
    QWidget *m_window;
    QAction *m_schedule;
    FilesAsker m_askFiles;
    PdfAsker m_askPdf;
};
