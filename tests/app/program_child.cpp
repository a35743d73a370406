// The program itself (its main window run by the application frame as
// main.cpp runs it), with a script for the tests: once the window is shown
// it prints the settings path and the texts of FlEdt_dPr1 and FlEdt_Q1,
// types its first argument, if any, into FlEdt_dPr1 and closes the window.
// Boxes are printed to stdout instead of being shown; a refused close ends
// the process with exit code 3.
#include "app/application.h"
#include "app/errordisplay.h"
#include "app/mainwindowfactory.h"
#include "ui/mainwindow.h"
#include "ui_Form_Main.h"

#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

void print(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    const QString typed = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    setMessageBoxPresenter([](const MessageBoxRequest &request) { print(QStringLiteral("box: ") + request.text); });
    return RunApplication(argc, argv, [typed](MainWindowHandlers &handlers) {
        std::unique_ptr<QWidget> window = createMainWindow(handlers);
        auto *form = static_cast<TForm_Main *>(window.get());
        // once the loop runs, the window shown
        QTimer::singleShot(0, form, [form, typed] {
            print(QStringLiteral("settings ") + form->settingsPath());
            print(QStringLiteral("dPr1 ") + form->ui->FlEdt_dPr1->text());
            print(QStringLiteral("Q1 ") + form->ui->FlEdt_Q1->text());
            if (!typed.isEmpty()) {
                form->ui->FlEdt_dPr1->setFocus();
                form->ui->FlEdt_dPr1->selectAll();
                QTest::keyClicks(form->ui->FlEdt_dPr1, typed);
            }
            if (!form->close()) {
                print(QStringLiteral("close refused"));
                std::_Exit(3);
            }
        });
        return window;
    });
}
