// The sizing sheet: what it takes from the window, the PDF as poppler
// reads it (text, page, the operating point where the nomogram's geometry
// puts it), and how the user reaches it: Ctrl+S, Ctrl+P, the context menu.
#include <QAction>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "app/application.h"
#include "core/sizing.h"
#include "draw/nomogram_geometry.h"
#include "sheet/sheetactions.h"
#include "sheet/sheetcontent.h"
#include "sheet/sheetpainter.h"
#include "sheet/sheetwriter.h"
#include "tests/app/boxrecorder.h"
#include "tests/sheet/pdftools.h"
#include "tests/testfiles.h"
#include "ui/lookandfeel.h"
#include "ui/mainwindow.h"
#include "ui/settingslocation.h"
#include "widgets/flatfloatedit.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

const QByteArray kWorkedSizing = "[Main]\nLastSys=0\n[Values]\nQ1=2\ndPr1=1\ndPf1=0.1\nKvy1=4\n";

QString line(const char *text, const char *number) { return QString::fromUtf8(text).arg(QLatin1String(number)); }
QString dropLine(const char *v) { return line("Перепад давления на полностью открытом клапане dPкл = %1 атм", v); }
QString kvLine(const char *v) { return line("Пропускная способность регулирующего клапана Кv = %1 м3/ч", v); }
QString kvyLine(const char *v) { return line("Ближайшая к Kv пропускная способность клапана Kvy: %1 м3/ч", v); }
QString lossLine(const char *v) { return line("Действительные гидравлические потери на клапане dPкл = %1 атм", v); }

// The hint of every input of each circuit, as the window's description
// gives them.
const QStringList kHints1 = {"Перепад давления на вводе в тепловой пункт, атм",
                             "Перепад давления на фильтрах (грязевиках), атм",
                             "Перепад давления на первичных преобразователях расхода, атм",
                             "Перепад давления в системе (отопления), атм",
                             "Перепад давления в трубопроводах всего контура, атм",
                             "Суммарный перепад давления на оборудовании, не учтённом в данной схеме, атм",
                             "Перепад давления на насосе, атм",
                             "Расход теплоносителя через клапан, м3/ч"};

// Mean position of the pixels that pass `is` within `box`; count in `n`.
template <class Test>
QPointF centroid(const QImage &img, const QRect &box, Test is, int &n)
{
    double sx = 0, sy = 0;
    n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (img.valid(x, y) && is(img.pixel(x, y))) {
                sx += x + 0.5;
                sy += y + 0.5;
                ++n;
            }
    return n ? QPointF(sx / n, sy / n) : QPointF(-1000, -1000);
}

bool isMarkRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 90 && qBlue(c) < 90; }

bool isKvyBlue(QRgb c) { return qBlue(c) > 140 && qRed(c) < 90 && qGreen(c) < 120; }

} // namespace

class TestSheet : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *m_dir = nullptr;
    std::unique_ptr<TForm_Main> m_form;
    SheetActions *m_actions = nullptr;

    // A window started on `settings`, with the sheet's actions.
    void open(const QByteArray &settings)
    {
        m_form.reset();
        sizing() = SizingState{};
        QVERIFY(writeFile(m_dir->filePath(QStringLiteral("settings.ini")), settings));
        setExecutableDirectoryOverride(m_dir->path());
        m_form = std::make_unique<TForm_Main>();
        m_actions = new SheetActions(m_form.get());
    }

    TFlatFloatEdit *field(const char *name) const { return m_form->findChild<TFlatFloatEdit *>(QLatin1String(name)); }

    QString pdfPath(const char *name) const { return m_dir->filePath(QLatin1String(name)); }

private slots:
    void initTestCase()
    {
        installLookAndFeel();
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        for (const char *tool : {"pdfinfo", "pdftotext", "pdftoppm"})
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(),
                     "poppler-utils missing: run scripts/install-deps.sh");
    }

    void cleanupTestCase()
    {
        m_form.reset();
        setExecutableDirectoryOverride({});
        delete m_dir;
    }

    // The sheet holds the lines as the window shows them, even where a
    // fresh calculation would differ (the actual loss changes only with
    // the Kvy field), and the numbers the nomogram marks.
    void contentFollowsWindow_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<double>("newQ1"); // typed into the window after start; < 0: none
        QTest::addColumn<int>("circuit");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("inputs");
        QTest::addColumn<double>("valveDrop");
        QTest::addColumn<double>("flow");
        QTest::addColumn<double>("kvy");

        QTest::newRow("worked sizing") << kWorkedSizing << -1.0 << 1
                                       << QStringList{dropLine("0.80"), kvLine("2.24"), kvyLine("4.0"),
                                                      lossLine("0.25")}
                                       << 8 << 0.8 << 2.0 << 4.0;
        QTest::newRow("Q lowered, Kvy kept: the loss line stays")
            << kWorkedSizing << 1.5 << 1
            << QStringList{dropLine("0.80"), kvLine("1.68"), kvyLine("4.0"), lossLine("0.25")} << 8 << 0.8 << 1.5
            << 4.0;
        QTest::newRow("independent, no capacity")
            << QByteArray("[Main]\nLastSys=1\n[Values]\nQ2=2\ndPr2=0.1\ndPt=0.5\n") << -1.0 << 2
            << QStringList{dropLine("-0.40"), kvLine("???"), kvyLine("0.0"), lossLine("0.00")} << 7 << -0.4 << 2.0
            << 0.0;
    }

    void contentFollowsWindow()
    {
        QFETCH(QByteArray, settings);
        QFETCH(double, newQ1);
        QFETCH(int, circuit);
        open(settings);
        if (newQ1 >= 0)
            field("FlEdt_Q1")->setValueL(newQ1);
        const SheetContent sheet = m_actions->content();
        QCOMPARE(sheet.circuit, circuit);
        QCOMPARE(sheet.circuitName, m_form->findChild<QTabWidget *>("PgCtrl_Sys")->tabText(circuit - 1));
        QTEST(sheet.resultLines, "lines");
        QTEST(int(sheet.inputs.size()), "inputs");
        QFETCH(double, valveDrop);
        QFETCH(double, flow);
        QFETCH(double, kvy);
        QVERIFY2(qAbs(sheet.valveDrop - valveDrop) < 1e-12, qPrintable(QString::number(sheet.valveDrop)));
        QCOMPARE(sheet.flow, flow);
        QCOMPARE(sheet.chosenKvy, kvy);
        const SheetInput &first = sheet.inputs.front();
        QCOMPARE(first.name, QStringLiteral("dPр"));
        QCOMPARE(first.unit, QStringLiteral("атм"));
        QCOMPARE(sheet.inputs.back().unit, QStringLiteral("м3/ч"));
    }

    // The PDF of the worked sizing: one A4 page, its numbers and every
    // input's hint as text, the operating point (0.80, 2.00) where the
    // nomogram's geometry puts it and the Kvy line through (0.25, 2.00).
    void pdfOfWorkedSizing()
    {
        open(kWorkedSizing);
        const QString pdf = pdfPath("worked.pdf");
        writeSheetPdf(m_actions->content(), pdf);

        const QString info = pdfInfo(pdf);
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
        QVERIFY2(info.contains(
                     QRegularExpression(QStringLiteral("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)"))),
                 qPrintable(info));

        const QString text = pdfText(pdf);
        for (const QString &expected : {dropLine("0.80"), kvLine("2.24"), kvyLine("4.0"), lossLine("0.25")})
            QVERIFY2(text.contains(expected), qPrintable(expected + " not in: " + text));
        for (const QString &hint : kHints1)
            QVERIFY2(text.contains(hint), qPrintable(hint));
        QVERIFY(text.contains(QStringLiteral("Система с ЗАВИСИМЫМ присоединением потребителя")));

        constexpr int dpi = 300;
        const QImage page = pdfPage(pdf, dpi);
        QVERIFY(!page.isNull());
        QCOMPARE(page.width(), qRound(210 / 25.4 * dpi));
        const QRectF box = sheetLayout(8).nomogram;
        const auto toPage = [&](double u, double v) {
            return QPointF((box.left() + u * box.width() / nomogram::kWidth) * dpi / 25.4,
                           (box.top() + v * box.height() / nomogram::kHeight) * dpi / 25.4);
        };
        // the plot frame is where the layout and the geometry put it
        for (const QPointF corner :
             {toPage(nomogram::kPlotLeft, nomogram::kPlotTop), toPage(nomogram::kPlotRight, nomogram::kPlotBottom)}) {
            int darkest = 255;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    darkest = qMin(darkest, qGray(page.pixel(qRound(corner.x()) + dx, qRound(corner.y()) + dy)));
            QVERIFY2(darkest < 80, qPrintable(QString::number(darkest)));
        }
        const QRect area = QRectF(toPage(0, 0), toPage(nomogram::kWidth, nomogram::kHeight)).toAlignedRect();
        int n = 0;
        const QPointF mark = centroid(page, area, isMarkRed, n);
        QVERIFY2(n > 100, qPrintable(QString::number(n)));
        // The geometry gives pixel positions in the 423 x 557 picture; a
        // pixel's centre lies half a unit further in.
        const QPointF expected = toPage(nomogram::xOfDp(0.8) + 0.5, nomogram::yOfQ(2.0) + 0.5);
        QVERIFY2(QLineF(mark, expected).length() <= 2.0, qPrintable(QStringLiteral("mark at %1, %2; geometry %3, %4")
                                                                        .arg(mark.x())
                                                                        .arg(mark.y())
                                                                        .arg(expected.x())
                                                                        .arg(expected.y())));
        const QPointF onKvy = toPage(nomogram::xOfDp(0.25) + 0.5, nomogram::yOfQ(2.0) + 0.5);
        centroid(page, QRectF(onKvy - QPointF(3, 3), QSizeF(6, 6)).toAlignedRect(), isKvyBlue, n);
        QVERIFY2(n > 0, "no Kvy line through (0.25, 2.00)");
    }

    // The sheet of the circuit on screen; on the nomogram page, of the
    // circuit page shown last.
    void circuitOfTheSheet_data()
    {
        QTest::addColumn<int>("startPage");
        QTest::addColumn<QList<int>>("pages");
        QTest::addColumn<int>("circuit");
        QTest::newRow("dependent page") << 0 << QList<int>{} << 1;
        QTest::newRow("independent page") << 1 << QList<int>{} << 2;
        QTest::newRow("nomogram after the independent page") << 0 << QList<int>{1, 2} << 2;
        QTest::newRow("nomogram after the dependent page") << 1 << QList<int>{0, 2} << 1;
        QTest::newRow("opened on the nomogram") << 2 << QList<int>{} << 1;
    }

    void circuitOfTheSheet()
    {
        QFETCH(int, startPage);
        QFETCH(QList<int>, pages);
        open("[Main]\nLastSys=" + QByteArray::number(startPage) + "\n");
        auto *pageControl = m_form->findChild<QTabWidget *>("PgCtrl_Sys");
        QCOMPARE(pageControl->currentIndex(), startPage);
        for (int page : pages)
            pageControl->setCurrentIndex(page);
        QTEST(m_actions->circuit(), "circuit");
    }

    // Ctrl+S proposes the documents folder (home without one) and a dated
    // name, and writes the sheet there; Ctrl+P prints the circuit on screen.
    void shortcuts()
    {
        open(kWorkedSizing);
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));

        QString proposed;
        const QString saved = pdfPath("saved.pdf");
        m_actions->setFileNameAsker([&](QWidget *, const QString &path) {
            proposed = path;
            return saved;
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(QFileInfo(proposed).fileName(),
                 QStringLiteral("Подбор клапана %1.pdf").arg(QDate::currentDate().toString("yyyy-MM-dd")));
        QVERIFY(pdfText(saved).contains(lossLine("0.25")));

        m_form->findChild<QTabWidget *>("PgCtrl_Sys")->setCurrentIndex(1);
        const QString printed = pdfPath("printed.pdf");
        m_actions->setPrintAsker([&](QWidget *, QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printed);
            return true;
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(pdfText(printed).contains(QStringLiteral("Система с НЕЗАВИСИМЫМ присоединением потребителя")));
        QVERIFY(pdfInfo(printed).contains(QStringLiteral("(A4)")));
        m_form->hide();
    }

    void proposedFolder()
    {
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        const QDate date(2026, 12, 8);
        const QString withoutDocuments = SheetActions::proposedPath(date);
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Documents")));
        const QString withDocuments = SheetActions::proposedPath(date);
        qputenv("HOME", oldHome);
        QCOMPARE(withoutDocuments, home.filePath(QStringLiteral("Подбор клапана 2026-12-08.pdf")));
        QCOMPARE(withDocuments, home.filePath(QStringLiteral("Documents/Подбор клапана 2026-12-08.pdf")));
    }

    // A write that fails shows the error display's box with the path and
    // leaves nothing behind; a device in the way stays a device.
    void failedSave_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("print"); // to a file, from the print dialog
        QTest::newRow("path through a file") << "plain/sheet.pdf" << false;
        QTest::newRow("full device") << "full" << false;
        QTest::newRow("printed to a file on a full device") << "full" << true;
    }

    void failedSave()
    {
        QFETCH(QString, target);
        open(kWorkedSizing);
        QFile plain(pdfPath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QByteArray full = QFile::encodeName(pdfPath("full"));
        const bool device = target == "full";
        if (device && ::mknod(full.constData(), S_IFCHR | 0666, ::makedev(1, 7)) != 0)
            QSKIP("mknod refused: not root");
        target = m_dir->filePath(target);
        m_actions->setFileNameAsker([&](QWidget *, const QString &) { return target; });
        m_actions->setPrintAsker([&](QWidget *, QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(target);
            return true;
        });
        BoxRecorder boxes;
        QFETCH(bool, print);
        (print ? m_actions->printAction() : m_actions->saveAction())->trigger();
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].caption, QStringLiteral("Подбор Zelton"));
        QCOMPARE(boxes.boxes[0].icon, QMessageBox::Critical);
        QVERIFY2(boxes.boxes[0].text.startsWith(QStringLiteral("Unable to write to ") + target + ":"),
                 qPrintable(boxes.boxes[0].text));
        QVERIFY(boxes.boxes[0].text.endsWith(QLatin1Char('.')));
        QVERIFY(QFileInfo(plain.fileName()).isFile());
        struct stat st {};
        QVERIFY(!device
                || (::lstat(full.constData(), &st) == 0 && S_ISCHR(st.st_mode) && ::unlink(full.constData()) == 0));

        // cancelled: nothing written, no box
        m_actions->setFileNameAsker([](QWidget *, const QString &) { return QString(); });
        m_actions->saveAction()->trigger();
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(QDir(m_dir->path()).entryList({"*.pdf"}, QDir::Files).filter("plain").size(), 0);
    }

    // The real save dialog speaks Russian: the program loads the toolkit's
    // translation at start-up.
    void saveDialogInRussian()
    {
        open(kWorkedSizing);
        QStringList buttons;
        QTimer::singleShot(0, this, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            for (QPushButton *button : dialog->findChildren<QPushButton *>())
                buttons << button->text().remove(QLatin1Char('&'));
            dialog->close();
        });
        m_actions->saveAction()->trigger();
        buttons.sort();
        QCOMPARE(buttons, (QStringList{QStringLiteral("Отмена"), QStringLiteral("Сохранить")}));
    }

    // With any check input set, the sheet holds the valve check as the
    // check window words it, and stays one A4 page; without, it has none.
    void checkBlock_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QStringList>("texts"); // empty: no check block
        const QString limit = QStringLiteral("допустимого 1.09 атм");
        QTest::newRow("worked case with Kvy 15")
            << QByteArray("[Values]\nQ1=13.47\ndPr1=1\ndPf1=0.1\nKvy1=15\n[Checks]\nHeatLoad1=1\nt1_1=150\nt2_1=70\n"
                          "P1_1=6\n")
            << QStringList{"Проверка подбора",
                           "Расход через клапан G = 13.47 м3/ч",
                           "Kv = 15.06 м3/ч, располагаемый перепад 1.00 атм",
                           "Допустимый перепад ΔPкав = 1.09 атм (z = 0.50, Pнас = 4.85 атм абс.)",
                           "клапан мал: расчётный расход не будет достигнут",
                           "a = 0.71: авторитет хороший",
                           "опасность кавитации: перепад 1.81 атм больше " + limit,
                           "нет кавитации: перепад 0.71 атм не больше " + limit,
                           "нет кавитации: перепад 0.81 атм не больше " + limit,
                           "выбранный"};
        QTest::newRow("boiling at the valve of the independent scheme")
            << QByteArray("[Main]\nLastSys=1\n[Values]\nQ2=2\ndPr2=1\n[Checks]\nHeatLoad2=1\nt1_2=180\nt2_2=150\n"
                          "P1_2=3\n")
            << QStringList{"Qт = 1.000 Гкал/ч, t1 = 180.0 °C, t2 = 150.0 °C, P1 = 3.00 атм, z = 0.50",
                           "вода кипит перед клапаном: давление P1 не выше давления насыщения", "ближайший больший"};
        QTest::newRow("only z") << QByteArray("[Values]\n[Checks]\nz1=0.7\n")
                                << QStringList{"нет расхода: тепловая нагрузка должна быть больше нуля",
                                               "нет Kv: перепад на полностью открытом клапане dPкл должен быть "
                                               "больше нуля",
                                               "введите давление перед клапаном P1"};
        QTest::newRow("z out of range: no check") << kWorkedSizing + "[Checks]\nz1=0.95\n" << QStringList{};
    }

    void checkBlock()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QStringList, texts);
        open(settings);
        const SheetContent sheet = m_actions->content();
        QCOMPARE(sheet.check.has_value(), !texts.isEmpty());
        const QString pdf = pdfPath("check.pdf");
        writeSheetPdf(sheet, pdf);
        QVERIFY(pdfInfo(pdf).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
        const QString text = pdfText(pdf, true);
        QVERIFY(!texts.isEmpty() || !text.contains(QStringLiteral("Проверка подбора")));
        for (const QString &expected : texts)
            QVERIFY2(text.contains(expected), qPrintable(expected + " not in: " + text));
    }

    // The parts of the page lie within its frame, one below the other,
    // with or without the check and whatever its number of rows.
    void layoutFitsThePage_data()
    {
        QTest::addColumn<int>("inputs");
        QTest::addColumn<int>("checkRows"); // < 0: no check
        for (int inputs : {7, 8})
            for (int rows : {-1, 0, 1, 2, 3})
                QTest::addRow("%d inputs, %d check rows", inputs, rows) << inputs << rows;
    }

    void layoutFitsThePage()
    {
        QFETCH(int, inputs);
        QFETCH(int, checkRows);
        const SheetLayout l = sheetLayout(inputs, checkRows);
        const QRectF page(18, 14, 210 - 15 - 18, 297 - 28);
        QCOMPARE(l.check.isEmpty(), checkRows < 0);
        QVERIFY(page.contains(l.scheme) && page.contains(l.inputs) && page.contains(l.results)
                && page.contains(l.nomogram));
        const double belowInputs = checkRows < 0 ? l.inputs.bottom() : l.check.bottom();
        QVERIFY(l.scheme.bottom() < l.inputs.top() - 7 && (checkRows < 0 || l.inputs.bottom() < l.check.top() - 7));
        QVERIFY(belowInputs < l.results.top() && belowInputs < l.nomogram.top());
        QVERIFY(l.results.right() < l.nomogram.left());
        QVERIFY2(l.nomogram.height() > 60, qPrintable(QString::number(l.nomogram.height())));
    }

    // A right-click on a circuit page offers both, with their shortcuts;
    // the nomogram page offers nothing.
    void contextMenu_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("offered");
        QTest::newRow("scheme of the dependent circuit") << "Img1" << true;
        QTest::newRow("result line of the independent circuit") << "L_Kv2" << true;
        QTest::newRow("nomogram") << "L_Top" << false;
    }

    void contextMenu()
    {
        QFETCH(QString, target);
        open(kWorkedSizing);
        m_form->show();
        QWidget *widget = m_form->findChild<QWidget *>(target);
        QVERIFY(widget);
        QStringList items;
        QTimer::singleShot(0, [&] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (QAction *action : menu->actions())
                    items << action->text() + QLatin1Char('\t') + action->shortcut().toString();
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), widget->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(widget, &event);
        QApplication::processEvents();
        m_form->hide();
        QFETCH(bool, offered);
        const QStringList expected = {QStringLiteral("Печать листа подбора…\tCtrl+P"),
                                      QStringLiteral("Сохранить лист подбора в PDF…\tCtrl+S")};
        QCOMPARE(items, offered ? expected : QStringList());
    }
};

int main(int argc, char **argv)
{
    // The application as the program prepares it.
    TApplication app(argc, argv);
    prepareApplication(app);
    TestSheet test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_sheet.moc"
