#pragma once
// The error display: every error that escapes a handler ends up here and is
// shown in a message box captioned with the application title. The box is
// shown through a replaceable presenter so that tests can record it.
#include <QMessageBox>
#include <QString>
#include <exception>
#include <functional>

class QWidget;

// The application title: caption of every error box and the name the
// desktop shows for the program.
inline const QString &applicationTitle()
{
    static const QString title = QStringLiteral("Подбор Zelton");
    return title;
}

// What a message box shows.
struct MessageBoxRequest {
    QWidget *owner = nullptr; // nullptr: a box without owner
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

// Shows a box and returns when it has been closed.
using MessageBoxPresenter = std::function<void(const MessageBoxRequest &)>;

// Replaces the presenter; an empty one restores the real modal QMessageBox.
// Returns the previous presenter.
MessageBoxPresenter setMessageBoxPresenter(MessageBoxPresenter presenter);

// Shows a box through the current presenter.
void presentMessageBox(const MessageBoxRequest &request);

// The period rule of the error display: a non-empty message whose last
// character has a code above that of "." (46) gets a "." appended.
QString withFinalPeriod(const QString &message);

// The class name of an error: Exception::ClassName() for the program's own
// errors, the demangled C++ type name for any other std::exception.
QString errorClassName(const std::exception &error);

// The message of an error as text (what() read as UTF-8).
QString errorMessage(const std::exception &error);

// Shows an error that escaped a handler: lets go of the mouse, then a
// critical box with one OK button, captioned with the application title.
// Returns when the box has been closed; the caller carries on.
void ShowErrorMessage(const std::exception &error);
void ShowErrorMessage(const QString &message);

// The text of the box for an error before the message loop:
// "Exception <class> in module <module> at <address>." line break, the
// message, a period unless it already ends with one, line break.
QString applicationErrorText(const QString &className, const QString &module, quintptr address, const QString &message);

// Shows the "Application Error" box (no owner) for an error before the
// message loop, and writes the same text to stderr. No fault address is
// known for a C++ exception, so the address shown is 00000000.
void showApplicationError(const std::exception &error);
void showApplicationError(const QString &className, const QString &message);
