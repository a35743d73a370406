#include "sheet/commandline.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <cstdio>
#include <memory>

#include "app/application.h"
#include "app/errordisplay.h"
#include "sheet/sheetcontent.h"
#include "sheet/sheetwriter.h"
#include "ui/handlererrors.h"
#include "ui/mainwindow.h"

namespace {

constexpr int kExitError = 2;
constexpr const char *kProgram = "zelton";

const char *const kUsage = "Usage: zelton [--sheet FILE.pdf [--circuit 1|2]]\n"
                           "\n"
                           "Sizing of the regulating valve of a heat substation (Подбор Zelton).\n"
                           "Without options the program opens its window.\n"
                           "\n"
                           "Options:\n"
                           "  --sheet FILE.pdf  write the sizing sheet (one A4 page) of the inputs\n"
                           "                    stored in the settings file to FILE.pdf and exit;\n"
                           "                    no window is shown and no display is needed;\n"
                           "                    '-' is standard output; a device, a terminal or a\n"
                           "                    FIFO is written into, not replaced\n"
                           "  --circuit 1|2     the circuit of the sheet: 1 dependent, 2 independent\n"
                           "                    (default: the circuit page last open in the window,\n"
                           "                    the dependent one after the nomogram page)\n"
                           "  -h, --help        show this help and exit\n"
                           "  --version         show the program's version and exit\n"
                           "\n"
                           "Exit status: 0 done, 2 a bad argument or a sheet that could not be written.\n"
                           "The manual page (man zelton) also tells where the settings file lives.\n";

void printError(const std::string &message)
{
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    std::fflush(stderr);
}

// Splits "--name=value"; the value of "--name value" is the next argument.
bool takeValue(const std::vector<std::string> &args, size_t &i, const std::string &name, std::string &value,
               std::string &error)
{
    const std::string &arg = args[i];
    if (arg.size() > name.size() && arg.compare(0, name.size() + 1, name + "=") == 0) {
        value = arg.substr(name.size() + 1);
    } else if (i + 1 < args.size()) {
        value = args[++i];
    } else {
        error = "option '" + name + "' needs a value";
        return false;
    }
    if (value.empty()) {
        error = "option '" + name + "' needs a value";
        return false;
    }
    return true;
}

bool isOption(const std::string &arg, const std::string &name)
{
    return arg == name || arg.compare(0, name.size() + 1, name + "=") == 0;
}

// The toolkit's notes and warnings (a missing
// runtime directory, say) are no business of a batch run; its errors are.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s: %s\n", kProgram, message.toLocal8Bit().constData());
}

int writeSheet(const CommandLine &command)
{
    // Nothing is shown: the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    static char *qtArgv[] = {const_cast<char *>(kProgram), nullptr};
    static int qtArgc = 1;
    TApplication app(qtArgc, qtArgv);
    prepareApplication(app);
    // Errors of the window's creation handler (a settings file that cannot
    // be read or created) come back here instead of into a box.
    setHandlerErrorReporter({});
    try {
        // The window is built as at start-up, so that the sheet holds what
        // the window would show: it reads the same settings file and runs
        // the same handlers. It is neither shown nor closed (closing would
        // save).
        const auto window = std::make_unique<TForm_Main>();
        int circuit = command.circuit;
        if (circuit == 0)
            circuit = circuitOnScreen(*window) == 2 ? 2 : 1;
        const SheetContent sheet = readSheetContent(*window, circuit, QDate::currentDate());
        writeSheetPdf(sheet, QFile::decodeName(command.sheetPath.c_str()));
    } catch (const std::exception &error) {
        printError(withFinalPeriod(errorMessage(error)).toStdString());
        return kExitError;
    }
    return 0;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string> &args)
{
    CommandLine command;
    auto fail = [&command](const std::string &error) {
        command.action = CommandLine::Action::Error;
        command.error = error;
        return command;
    };
    bool sheet = false;
    bool circuitGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        std::string value, error;
        if (arg == "-h" || arg == "--help") {
            command.action = CommandLine::Action::Help;
            return command;
        } else if (arg == "--version") {
            command.action = CommandLine::Action::Version;
            return command;
        } else if (isOption(arg, "--sheet")) {
            if (!takeValue(args, i, "--sheet", value, error))
                return fail(error);
            sheet = true;
            command.sheetPath = value;
        } else if (isOption(arg, "--circuit")) {
            if (!takeValue(args, i, "--circuit", value, error))
                return fail(error);
            if (value != "1" && value != "2")
                return fail("the circuit is 1 (dependent) or 2 (independent), not '" + value + "'");
            circuitGiven = true;
            command.circuit = value[0] - '0';
        } else if (arg == "-session" && i + 1 < args.size()) {
            // A session manager restarting the program adds its session;
            // the program restores nothing from it.
            ++i;
        } else if (!arg.empty() && arg[0] == '-') {
            return fail("unknown option '" + arg + "'");
        } else {
            return fail("unexpected argument '" + arg + "'");
        }
    }
    if (circuitGiven && !sheet)
        return fail("option '--circuit' goes with '--sheet'");
    if (sheet)
        command.action = CommandLine::Action::Sheet;
    return command;
}

std::optional<int> runCommandLine(int argc, char **argv)
{
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const CommandLine command = parseCommandLine(args);
    switch (command.action) {
    case CommandLine::Action::Window:
        return std::nullopt;
    case CommandLine::Action::Help:
        std::fputs(kUsage, stdout);
        return 0;
    case CommandLine::Action::Version:
        std::printf("zelton (Подбор Zelton) %s (%s)\n", ZELTON_PRODUCT_VERSION, ZELTON_FILE_VERSION);
        return 0;
    case CommandLine::Action::Error:
        printError(command.error);
        std::fprintf(stderr, "Try 'zelton --help' for more information.\n");
        return kExitError;
    case CommandLine::Action::Sheet:
        return writeSheet(command);
    }
    return kExitError;
}
