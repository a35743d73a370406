#include "app/mainwindowfactory.h"

#include "core/settings.h"
#include "ui/mainwindow.h"

#include <QFile>

std::unique_ptr<QWidget> createMainWindow(MainWindowHandlers &handlers)
{
    auto form = std::make_unique<TForm_Main>();
    TForm_Main *window = form.get();
    // The window's own show and close handlers run from its show and close
    // events; only the end of the session needs the frame's help.
    handlers.sessionEnd = [window] {
        // A field that cannot be read (a number beyond the double range)
        // stops the reading there; what has been read is saved all the same.
        std::exception_ptr pullError;
        try {
            window->pullFieldsToState();
        } catch (...) {
            pullError = std::current_exception();
        }
        SaveSettings(QFile::encodeName(window->settingsPath()).toStdString());
        if (pullError)
            std::rethrow_exception(pullError);
    };
    return form;
}
