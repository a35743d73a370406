// A program built on the application frame with a plain window, started by
// the frame tests as a child process. The first argument picks the case:
//   normal         the window closes itself once the loop runs
//   startup-error  building the window fails
//   signal         prints "ready" once the loop runs and waits for a signal
// Boxes are printed to stdout instead of being shown.
#include "app/application.h"
#include "app/errordisplay.h"
#include "core/errors.h"

#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <string>

int main(int argc, char **argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    setMessageBoxPresenter([](const MessageBoxRequest &request) {
        std::printf("box [%s]: %s\n", request.caption.toUtf8().constData(), request.text.toUtf8().constData());
        std::fflush(stdout);
    });
    return RunApplication(argc, argv, [mode](MainWindowHandlers &handlers) {
        if (mode == "startup-error")
            throw EOverflow();
        auto window = std::make_unique<QWidget>();
        QWidget *w = window.get();
        handlers.sessionEnd = [] {
            std::puts("saved");
            std::fflush(stdout);
        };
        // once the loop runs
        if (mode == "normal")
            QTimer::singleShot(0, w, &QWidget::close);
        else if (mode == "signal")
            QTimer::singleShot(0, w, [] {
                std::puts("ready");
                std::fflush(stdout);
            });
        return window;
    });
}
