#include "app/commandline.h"

#include <QCommandLineParser>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <memory>

#include "app/application.h"
#include "app/errordisplay.h"
#include "app/reportreading.h"
#include "core/outputfile.h"
#include "sheet/schedulecontent.h"
#include "sheet/schedulewriter.h"
#include "sheet/sheetcontent.h"
#include "sheet/sheetwriter.h"
#include "ui/handlererrors.h"
#include "ui/mainwindow.h"

namespace {

constexpr int kExitError = 2;
constexpr const char *kProgram = "zelton";

const char *const kUsage = "Usage: zelton [FILE.zelton]\n"
                           "       zelton --sheet FILE.pdf [--circuit 1|2] [FILE.zelton]\n"
                           "       zelton --schedule FILE.pdf FILE.zelton...\n"
                           "       zelton --report [--format text|csv|json] [FILE.zelton...]\n"
                           "\n"
                           "Sizing of the regulating valve of a heat substation (Подбор Zelton).\n"
                           "Without options the program opens its window, with the sizing file\n"
                           "FILE.zelton loaded when one is given.\n"
                           "\n"
                           "Options:\n"
                           "  --sheet FILE.pdf  write the sizing sheet (one A4 page) of FILE.zelton, or\n"
                           "                    of the inputs stored in the settings file, to FILE.pdf\n"
                           "                    and exit; no window is shown and no display is needed;\n"
                           "                    '-' is standard output; a device, a terminal or a\n"
                           "                    FIFO is written into, not replaced\n"
                           "  --circuit 1|2     the circuit of the sheet: 1 dependent, 2 independent\n"
                           "                    (default: the circuit page last open in the window,\n"
                           "                    the dependent one after the nomogram page)\n"
                           "  --schedule FILE.pdf\n"
                           "                    write the valve schedule (Ведомость регулирующих\n"
                           "                    клапанов) of the sizing files given to FILE.pdf and\n"
                           "                    exit: a table with a row for each file and circuit whose\n"
                           "                    Q is above zero, then the sizing sheet of each row, one\n"
                           "                    A4 page each; written as the sheet is\n"
                           "  --report          print the inputs, results and valve checks of both\n"
                           "                    circuits of each sizing file given (none given: of the\n"
                           "                    settings file) to standard output and exit\n"
                           "  --format text|csv|json\n"
                           "                    the report's format: text for people (the default);\n"
                           "                    CSV (RFC 4180: UTF-8, a header row, a row for each file\n"
                           "                    and circuit, CRLF line ends); JSON (every number in\n"
                           "                    full, null where the window shows none)\n"
                           "  -h, --help        show this help and exit\n"
                           "  --version         show the program's version and exit\n"
                           "\n"
                           "FILE.zelton is a sizing file: one substation, both circuits and the valve\n"
                           "check's inputs, in the format of the settings file (a settings.ini renamed\n"
                           "is one). A file that is not a sizing file is named in an error message,\n"
                           "and nothing is written. The report's numbers have the window's two\n"
                           "decimals in text and CSV, and the sheet, the schedule and the report show\n"
                           "the numbers the window shows for each file.\n"
                           "\n"
                           "Exit status: 0 done, 2 a bad argument, a file that is not a sizing file or\n"
                           "an output that could not be written.\n"
                           "Qt's own options (-platform, -style, -session and the others of any Qt\n"
                           "program) are passed on to Qt.\n"
                           "The manual page (man zelton) also tells where the settings file lives.\n";

// The options QApplication takes for itself: the platform, the look, the
// window system and the session. Given with one dash or two, as Qt takes
// them.
struct ToolkitOption {
    const char *name;
    bool takesValue;
};

constexpr ToolkitOption kToolkitOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},
    {"qwindowtitle", true},    {"geometry", true},
    {"title", true},           {"icon", true},
    {"display", true},         {"name", true},
    {"visual", true},          {"session", true},
    {"style", true},           {"stylesheet", true},
    {"qmljsdebugger", true},   {"reverse", false},
    {"testability", false},    {"widgetcount", false},
    {"nograb", false},         {"dograb", false},
};

// Qt reads the debugger's settings only as "-qmljsdebugger=…".
constexpr const char *kJoinedValue = "qmljsdebugger";

const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");
const QString kSheet = QStringLiteral("sheet");
const QString kCircuit = QStringLiteral("circuit");
const QString kSchedule = QStringLiteral("schedule");
const QString kReport = QStringLiteral("report");
const QString kFormat = QStringLiteral("format");

void printError(const QString &message)
{
    std::fprintf(stderr, "%s: %s\n", kProgram, message.toLocal8Bit().constData());
    std::fflush(stderr);
}

// The option a command-line word names: "--name", "-name", "--name=value".
QString optionName(const QString &word)
{
    if (!word.startsWith(QLatin1Char('-')) || word == QLatin1String("-") || word == QLatin1String("--"))
        return {};
    QString name = word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1);
    return name.left(name.indexOf(QLatin1Char('=')));
}

bool takesValue(const QString &name)
{
    if (name == kSheet || name == kCircuit || name == kSchedule || name == kFormat)
        return true;
    for (const ToolkitOption &option : kToolkitOptions)
        if (name == QLatin1String(option.name))
            return option.takesValue;
    return false;
}

// The parser's failures in the words of this program: the word it
// stumbled on, as the user typed it.
QString parseFailure(const QCommandLineParser &parser, const QStringList &arguments)
{
    const QStringList unknown = parser.unknownOptionNames();
    const qsizetype end = arguments.indexOf(QStringLiteral("--"));
    const QStringList words = end < 0 ? arguments : arguments.first(end);
    for (const QString &word : words)
        if (!unknown.isEmpty() && optionName(word) == unknown.constFirst())
            return QStringLiteral("unknown option '%1'").arg(word);
    // only the last word can lack its value
    if (!words.isEmpty() && !words.constLast().contains(QLatin1Char('=')) && takesValue(optionName(words.constLast())))
        return QStringLiteral("option '%1' needs a value").arg(words.constLast());
    return parser.errorText();
}

// The toolkit's options the parser found, as QApplication takes them.
QStringList toolkitOptionsOf(const QCommandLineParser &parser)
{
    QStringList options;
    for (const ToolkitOption &option : kToolkitOptions) {
        const QString name = QLatin1String(option.name);
        const QString dashed = QLatin1Char('-') + name;
        if (!option.takesValue) {
            if (parser.isSet(name))
                options << dashed;
            continue;
        }
        for (const QString &value : parser.values(name)) {
            if (name == QLatin1String(kJoinedValue))
                options << dashed + QLatin1Char('=') + value;
            else
                options << dashed << value;
        }
    }
    return options;
}

// The toolkit's notes and warnings (a missing runtime directory, say) are
// no business of a batch run; its errors are.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s: %s\n", kProgram, message.toLocal8Bit().constData());
}

// Runs `body` with the toolkit on the offscreen platform and no window
// shown: exit code 0, or 2 with its error on stderr.
template <class Body>
int runWithoutWindow(const CommandLine &command, Body &&body)
{
    // Nothing is shown: the offscreen platform needs no display, whatever
    // platform the options name.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QStringList options;
    for (qsizetype i = 0; i < command.toolkitOptions.size(); ++i) {
        if (command.toolkitOptions[i] == QLatin1String("-platform"))
            ++i;
        else
            options << command.toolkitOptions[i];
    }
    ToolkitArguments arguments(kProgram, options);
    TApplication app(arguments.argc(), arguments.argv());
    prepareApplication(app);
    // Errors of the window's creation handler (a settings file that cannot
    // be read or created) come back here instead of into a box.
    setHandlerErrorReporter({});
    try {
        body();
    } catch (const std::exception &error) {
        printError(withFinalPeriod(errorMessage(error)));
        return kExitError;
    }
    return 0;
}

int writeSheet(const CommandLine &command)
{
    return runWithoutWindow(command, [&command] {
        // The window is built as at start-up, so that the sheet holds what
        // the window would show: it reads the same settings file and runs
        // the same handlers. It is neither shown nor closed (closing would
        // save).
        const auto window = std::make_unique<TForm_Main>();
        if (!command.sizingFile.isEmpty())
            window->openSizingFile(command.sizingFile);
        int circuit = command.circuit;
        if (circuit == 0)
            circuit = circuitOnScreen(*window) == 2 ? 2 : 1;
        const SheetContent sheet = readSheetContent(*window, circuit, QDate::currentDate());
        writeSheetPdf(sheet, command.sheetPath);
    });
}

// Every file is read before anything is written: a file that is not a
// sizing file leaves no PDF and prints no report.
int writeSchedule(const CommandLine &command)
{
    return runWithoutWindow(command, [&command] {
        writeSchedulePdf(readScheduleContent(command.sizingFiles, QDate::currentDate()), command.schedulePath);
    });
}

int printReport(const CommandLine &command)
{
    return runWithoutWindow(command, [&command] {
        const std::string text = report(readReport(command.sizingFiles), command.reportFormat);
        writeDocument(QByteArray::fromStdString(text), QString::fromLatin1(kStandardOutputPath));
    });
}

} // namespace

QStringList commandLineArguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    // "-platform" is one option, as Qt takes it, not the letters p, l, a…
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), kHelp}));
    parser.addOption(QCommandLineOption(kVersion));
    parser.addOption(QCommandLineOption(kSheet, {}, QStringLiteral("FILE.pdf")));
    parser.addOption(QCommandLineOption(kCircuit, {}, QStringLiteral("1|2")));
    parser.addOption(QCommandLineOption(kSchedule, {}, QStringLiteral("FILE.pdf")));
    parser.addOption(QCommandLineOption(kReport));
    parser.addOption(QCommandLineOption(kFormat, {}, QStringLiteral("text|csv|json")));
    for (const ToolkitOption &option : kToolkitOptions) {
        const QString valueName = option.takesValue ? QStringLiteral("value") : QString();
        parser.addOption(QCommandLineOption(QLatin1String(option.name), {}, valueName));
    }

    CommandLine command;
    auto fail = [&command](const QString &error) {
        command.action = CommandLine::Action::Error;
        command.error = error;
        return command;
    };
    // The parser's name for the program: "zelton", whatever the path.
    const bool parsed = parser.parse(QStringList{QLatin1String(kProgram)} + arguments);
    if (parser.isSet(kHelp)) {
        command.action = CommandLine::Action::Help;
        return command;
    }
    if (parser.isSet(kVersion)) {
        command.action = CommandLine::Action::Version;
        return command;
    }
    if (!parsed)
        return fail(parseFailure(parser, arguments));
    command.toolkitOptions = toolkitOptionsOf(parser);

    const bool sheet = parser.isSet(kSheet);
    if (sheet) {
        command.sheetPath = parser.value(kSheet);
        if (command.sheetPath.isEmpty())
            return fail(QStringLiteral("option '--sheet' needs a value"));
    }
    if (parser.isSet(kCircuit)) {
        const QString circuit = parser.value(kCircuit);
        if (circuit != QLatin1String("1") && circuit != QLatin1String("2"))
            return fail(QStringLiteral("the circuit is 1 (dependent) or 2 (independent), not '%1'").arg(circuit));
        if (!sheet)
            return fail(QStringLiteral("option '--circuit' goes with '--sheet'"));
        command.circuit = circuit.toInt();
    }
    const bool schedule = parser.isSet(kSchedule);
    const bool reported = parser.isSet(kReport);
    if (int(sheet) + int(schedule) + int(reported) > 1)
        return fail(QStringLiteral("options '--sheet', '--schedule' and '--report' go one at a time"));
    if (parser.isSet(kFormat)) {
        const QString format = parser.value(kFormat);
        if (format == QLatin1String("csv"))
            command.reportFormat = ReportFormat::Csv;
        else if (format == QLatin1String("json"))
            command.reportFormat = ReportFormat::Json;
        else if (format != QLatin1String("text"))
            return fail(QStringLiteral("the format is text, csv or json, not '%1'").arg(format));
        if (!reported)
            return fail(QStringLiteral("option '--format' goes with '--report'"));
    }
    const QStringList positional = parser.positionalArguments();
    if (schedule || reported) {
        command.sizingFiles = positional;
        command.schedulePath = parser.value(kSchedule);
        if (schedule && command.schedulePath.isEmpty())
            return fail(QStringLiteral("option '--schedule' needs a value"));
        if (schedule && positional.isEmpty())
            return fail(QStringLiteral("option '--schedule' needs sizing files: --schedule FILE.pdf FILE.zelton..."));
        command.action = schedule ? CommandLine::Action::Schedule : CommandLine::Action::Report;
        return command;
    }
    if (positional.size() > 1)
        return fail(QStringLiteral("unexpected argument '%1'").arg(positional[1]));
    if (!positional.isEmpty())
        command.sizingFile = QFileInfo(positional.constFirst()).absoluteFilePath();
    if (sheet)
        command.action = CommandLine::Action::Sheet;
    return command;
}

int runCommand(const CommandLine &command)
{
    switch (command.action) {
    case CommandLine::Action::Window:
        break;
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
    case CommandLine::Action::Schedule:
        return writeSchedule(command);
    case CommandLine::Action::Report:
        return printReport(command);
    }
    return kExitError;
}
