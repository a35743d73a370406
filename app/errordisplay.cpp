#include "app/errordisplay.h"

#include "core/errors.h"

#include <QApplication>
#include <QFileInfo>
#include <QWidget>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace {

MessageBoxPresenter &presenterSlot()
{
    static MessageBoxPresenter presenter;
    return presenter;
}

void presentWithQMessageBox(const MessageBoxRequest &request)
{
    QMessageBox box(request.icon, request.caption, request.text, request.buttons, request.owner);
    // exec() makes the box modal to the whole application: every other
    // window takes no input until it is closed, and the active window and
    // its focus widget get them back afterwards.
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

QString moduleFileName()
{
    if (QCoreApplication::instance())
        return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return QString::fromLocal8Bit(program_invocation_short_name);
}

} // namespace

MessageBoxPresenter setMessageBoxPresenter(MessageBoxPresenter presenter)
{
    MessageBoxPresenter previous = std::move(presenterSlot());
    presenterSlot() = std::move(presenter);
    return previous;
}

void presentMessageBox(const MessageBoxRequest &request)
{
    // Copy: a presenter may replace itself while it runs.
    const MessageBoxPresenter presenter = presenterSlot();
    if (presenter)
        presenter(request);
    else
        presentWithQMessageBox(request);
}

QString withFinalPeriod(const QString &message)
{
    if (message.isEmpty())
        return message;
    // The last code point; a character outside the basic plane ends in a
    // low surrogate, whose code is above 46 as well.
    if (message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

QString errorClassName(const std::exception &error)
{
    if (const auto *own = dynamic_cast<const Exception *>(&error))
        return QString::fromLatin1(own->ClassName());
    const char *mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void *)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                      std::free);
    return QString::fromLatin1(status == 0 && demangled ? demangled.get() : mangled);
}

QString errorMessage(const std::exception &error) { return QString::fromUtf8(error.what()); }

void ShowErrorMessage(const QString &message)
{
    // Whoever holds the mouse lets go of it, so that the box gets the input.
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();

    MessageBoxRequest request;
    request.owner = QApplication::activeWindow();
    request.caption = applicationTitle();
    request.text = withFinalPeriod(message);
    request.icon = QMessageBox::Critical;
    request.buttons = QMessageBox::Ok;
    presentMessageBox(request);
}

void ShowErrorMessage(const std::exception &error) { ShowErrorMessage(errorMessage(error)); }

QString applicationErrorText(const QString &className, const QString &module, quintptr address, const QString &message)
{
    QString text =
        QStringLiteral("Exception %1 in module %2 at %3.\n")
            .arg(className, module,
                 QStringLiteral("%1").arg(quint64(address) & 0xFFFFFFFFu, 8, 16, QLatin1Char('0')).toUpper());
    text += message;
    if (!message.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    text += QLatin1Char('\n');
    return text;
}

void showApplicationError(const QString &className, const QString &message)
{
    const QString text = applicationErrorText(className, moduleFileName(), 0, message);
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return; // no GUI to show a box on
    MessageBoxRequest request;
    request.owner = nullptr;
    request.caption = QStringLiteral("Application Error");
    request.text = text;
    request.icon = QMessageBox::Critical;
    request.buttons = QMessageBox::Ok;
    presentMessageBox(request);
}

void showApplicationError(const std::exception &error)
{
    showApplicationError(errorClassName(error), errorMessage(error));
}
