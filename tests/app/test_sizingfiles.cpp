// Sizing files in the window, reached as a user reaches them (the
// shortcuts and the circuit pages' menu, the dialogs answered by the test):
// what is typed comes back bit for bit, in either name (*.zelton or
// settings.ini), and a file that is not a sizing file gets its box and
// changes nothing.
#include "app/application.h"
#include "core/checkinputs.h"
#include "core/sizingfile.h"
#include "sheet/sheetactions.h"
#include "tests/app/workflowfixture.h"
#include "ui/inputtable.h"
#include "ui/sizingfileactions.h"

#include <QMenu>
#include <sys/stat.h>

class TestSizingFiles : public WorkflowFixture
{
    Q_OBJECT

private:
    QTemporaryDir m_home; // HOME, with Documents and the user's configuration
    SizingFileActions *m_actions = nullptr;
    QString m_answer;    // what the file dialog answers ("@": the test's directory)
    QStringList m_asked; // "open|save <folder> <name>" for every dialog

    QString at(QString path) const { return path.replace(QLatin1Char('@'), m_dir->path()); }

    void openWindowWithActions()
    {
        m_asked.clear();
        openWindow();
        m_actions = new SizingFileActions(m_form.get());
        new SheetActions(m_form.get());
        m_actions->setFileNameAsker([this](QWidget *, bool save, const QString &folder, const QString &name) {
            m_asked << QStringLiteral("%1 %2 %3").arg(save ? "save" : "open", folder, name);
            return m_answer;
        });
    }

    // Everything the window shows and holds: the fields, the result lines,
    // the page, the caption, and every value of the state to its last bit.
    QStringList snapshot() const
    {
        QStringList all{m_form->windowTitle(), QString::number(m_form->ui->PgCtrl_Sys->currentIndex())};
        for (const InputRow *row : inPullOrder())
            all << (m_form->ui.get()->*row->field)->text();
        for (const char *name : {"L_dPkl1", "L_Kv1", "L_dPklReal1", "L_dPkl2", "L_Kv2", "L_dPklReal2"})
            all << line(name);
        return all << stateText(currentSizingRecord());
    }

    static QString stateText(const SizingRecord &record)
    {
        QString text = QString::number(record.sizing.LastSys);
        const SizingState &s = record.sizing;
        for (double value : {s.dPkl1, s.Kv1, s.dPklReal1, s.dPkl2, s.Kv2, s.dPklReal2})
            text += QLatin1Char(' ') + QString::number(value, 'g', 17);
        for (auto value : kFields)
            text += QLatin1Char(' ') + QString::number(s.*value, 'g', 17);
        for (const CheckKey &c : kCheckKeys) {
            const CheckInputs &inputs = c.circuit == 1 ? record.checks1 : record.checks2;
            text += QLatin1Char(' ') + QString::number(inputs.*c.field, 'g', 17);
        }
        return text;
    }

    // The menu of a circuit page, and the item `chosen` of it triggered.
    QStringList useMenu(const QString &chosen)
    {
        QStringList items;
        QTimer::singleShot(0, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QAction *picked = nullptr;
            for (QAction *action : menu ? menu->actions() : QList<QAction *>()) {
                items << action->text() + QLatin1Char('\t') + action->shortcut().toString();
                if (action->text() == chosen)
                    picked = action;
            }
            if (menu)
                menu->close();
            if (picked)
                picked->trigger();
        });
        QWidget *page = m_form->ui->Img1;
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), page->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(page, &event);
        QApplication::processEvents();
        return items;
    }

private slots:
    void initTestCase()
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config"))));
        QVERIFY(QDir(m_home.path()).mkdir(QStringLiteral("Documents")));
    }

    // Typed, saved and opened again; the file serves as settings.ini, and
    // settings.ini renamed opens as a sizing file.
    void roundTrip_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("flow"); // typed into both Q fields; the drops count up from 0.01
        QTest::newRow("dependent page") << 0 << "1.23";
        QTest::newRow("independent page") << 1 << "0.07";
        QTest::newRow("nomogram page") << 2 << "12.5";
    }

    void roundTrip()
    {
        QFETCH(int, page);
        QFETCH(QString, flow);
        clearCheckInputs();
        openWindowWithActions();
        double drop = 0.01;
        for (const InputRow *row : inPullOrder()) {
            const QByteArray name = (m_form->ui.get()->*row->field)->objectName().toLatin1();
            const bool q = name.startsWith("FlEdt_Q");
            typeInto(name.constData(), row->kvy                       ? QStringLiteral("99.9")
                                       : name.startsWith("FlEdt_dPr") ? QStringLiteral("95.5")
                                       : q                            ? flow
                                                                      : QString::number(drop += 0.01));
        }
        checkInputs(1) = {1.25, 150, 70, 6, 0.35};
        checkInputs(2) = {0.5, 130, 1e-5, 4.5, 0.9};
        if (page != 0)
            clickPage(page);
        m_answer = at(QStringLiteral("@/ТП-1.zelton"));
        QTest::keyClick(m_form.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        const QStringList saved = snapshot();
        QCOMPARE(saved[0], QStringLiteral("Подбор клапана регулирующего v1.02 — ТП-1.zelton"));
        QCOMPARE(stateText(readSizingFile(bytes(m_answer), currentSizingRecord())), saved.constLast());

        // the file as settings.ini
        m_form.reset();
        QVERIFY(QFile::remove(settingsFile()) && QFile::copy(m_answer, settingsFile()));
        sizing() = {};
        clearCheckInputs();
        openWindow();
        // the capacity step leaves the suggestion in the state; the fields
        // hold what was saved
        m_form->pullFieldsToState();
        QCOMPARE(snapshot().mid(1), saved.mid(1));

        // settings.ini, as the close writes it, renamed
        QVERIFY(m_form->close());
        QVERIFY(QFile::rename(settingsFile(), at(QStringLiteral("@/copy.zelton"))));
        m_form.reset();
        sizing() = {};
        clearCheckInputs();
        openWindowWithActions();
        m_answer = at(QStringLiteral("@/copy.zelton"));
        QTest::keyClick(m_form.get(), Qt::Key_O, Qt::ControlModifier);
        m_form->pullFieldsToState();
        QStringList opened = snapshot();
        QCOMPARE(opened.takeFirst(), QStringLiteral("Подбор клапана регулирующего v1.02 — copy.zelton"));
        QCOMPARE(opened, saved.mid(1));
        // opened again: the same as the first time
        QTest::keyClick(m_form.get(), Qt::Key_O, Qt::ControlModifier);
        m_form->pullFieldsToState();
        QCOMPARE(snapshot().mid(1), saved.mid(1));
        QVERIFY(m_boxes->boxes.isEmpty());
    }

    // What is not a sizing file, opened or saved to: one box naming it,
    // and the window as it was. "@" is the test's directory.
    void notSizingFiles_data()
    {
        QTest::addColumn<QString>("kind"); // what is at @/t: a file, folder, fifo, none, or a file through a file
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("message");
        const QString notSizing = QStringLiteral("@/t is not a sizing file: ");
        const auto row = [](const char *name, const char *kind, const QByteArray &content, bool save,
                            const QString &message) {
            QTest::newRow(name) << QString(kind) << content << save << message;
        };
        row("no section Values", "file", "[Main]\nLastSys=1\n", false, notSizing + "it has no section [Values].");
        row("binary", "file", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), false,
            notSizing + "it holds binary data.");
        row("NUL bytes", "file", QByteArray("[Values]\nQ1=5\0\n", 15), false, notSizing + "it holds binary data.");
        row("30 MB", "file", "[Values]\nQ1=5\n" + QByteArray(30 << 20, '\n'), false,
            notSizing + "it is larger than 1 MB.");
        row("folder", "folder", {}, false, notSizing + "it is a folder.");
        row("FIFO", "fifo", {}, false, notSizing + "it is not a regular file.");
        row("missing", "none", {}, false, "Unable to read @/t: No such file or directory.");
        row("unreadable: a path through a file", "through", {}, false, "Unable to read @/t/t: Not a directory.");
        row("overflowing value", "file", "[Values]\nQ1=2\ndPr1=1E400\n", false,
            "@/t: the value of dPr1 in section [Values] lies beyond the range of numbers.");
        row("saved into a folder", "folder", {}, true, "Unable to write to @/t: Is a directory.");
        row("saved through a file", "through", {}, true, "Unable to write to @/t/t: Not a directory.");
    }

    void notSizingFiles()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QFETCH(bool, save);
        QFETCH(QString, message);
        QVERIFY(writeFile(settingsFile(), "[Main]\nLastSys=1\n[Values]\nQ2=3\ndPr2=2\nKvy2=5\n"));
        openWindowWithActions();
        const QStringList before = snapshot();
        const QString t = at(QStringLiteral("@/t"));
        m_answer = t;
        if (kind == "through")
            m_answer += QStringLiteral("/t");
        if (kind == "file" || kind == "through")
            QVERIFY(writeFile(t, content));
        else if (kind == "folder")
            QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("t")));
        else if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(t).constData(), 0644), 0);
        (save ? m_actions->saveAsAction() : m_actions->openAction())->trigger();
        QCOMPARE(m_boxes->texts(), QStringList{at(message)});
        // a save reads the fields back into the state first, as a close does
        QCOMPARE(snapshot().mid(0, save ? before.size() - 1 : -1), before.mid(0, save ? before.size() - 1 : -1));
        if (kind == "file" || kind == "through")
            QCOMPARE(readFile(t), content); // an open never writes
    }

    // Ctrl+O, Ctrl+Shift+S and the menu of the circuit pages: the dialogs
    // start in Documents, then where the last one ended, as dialogs.ini in
    // the user's configuration keeps it (never settings.ini).
    void actionsAndFolders_data()
    {
        QTest::addColumn<QString>("how"); // a shortcut, or a menu item
        QTest::addColumn<QString>("asked");
        QTest::newRow("Ctrl+O") << "Ctrl+O"
                                << "open";
        QTest::newRow("Ctrl+Shift+S") << "Ctrl+Shift+S"
                                      << "save";
        QTest::newRow("menu: open") << "Открыть расчёт…"
                                    << "open";
        QTest::newRow("menu: save") << "Сохранить расчёт как…"
                                    << "save";
    }

    void actionsAndFolders()
    {
        QFETCH(QString, how);
        QFETCH(QString, asked);
        QFile::remove(m_home.filePath(QStringLiteral("config/zelton/dialogs.ini")));
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("sub")));
        QVERIFY(writeFile(at(QStringLiteral("@/sub/a.zelton")), "[Values]\nQ1=1\n"));
        openWindowWithActions();
        m_answer = at(QStringLiteral("@/sub/a.zelton"));
        for (int i = 0; i < 2; ++i) {
            if (how.startsWith(QLatin1String("Ctrl"))) {
                const QKeyCombination key = QKeySequence(how)[0];
                QTest::keyClick(m_form.get(), key.key(), key.keyboardModifiers());
            } else {
                QCOMPARE(useMenu(how),
                         (QStringList{"Открыть расчёт…\tCtrl+O", "Сохранить расчёт как…\tCtrl+Shift+S", "\t",
                                      "Печать листа подбора…\tCtrl+P", "Сохранить лист подбора в PDF…\tCtrl+S"}));
            }
        }
        // a save proposes the name of the file last opened or saved
        const QString name = asked == "save" ? QStringLiteral("a.zelton") : QString();
        QCOMPARE(m_asked, (QStringList{QStringLiteral("%1 %2/Documents ").arg(asked, m_home.path()),
                                       at("%1 @/sub %2").arg(asked, name)}));
        QVERIFY(readFile(m_home.filePath(QStringLiteral("config/zelton/dialogs.ini"))).contains("/sub"));
        QVERIFY(m_form->close());
        QVERIFY(!readFile(settingsFile()).contains("sub"));
        QCOMPARE(iniValue(readFile(settingsFile()), "Q1"), QByteArray(asked == "open" ? "1" : "0"));
        QVERIFY(m_boxes->boxes.isEmpty());
    }
};

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    prepareApplication(app);
    TestSizingFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_sizingfiles.moc"
