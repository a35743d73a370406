#pragma once
// The main window driven as a user drives it, in a temporary directory of
// its own with its boxes recorded: the helpers the workflow tests share. A
// test class derives from WorkflowFixture; each test starts from an empty
// directory and a SizingState of zeros.
#include "app/errordisplay.h"
#include "core/sizing.h"
#include "tests/app/boxrecorder.h"
#include "tests/core/settingskeys.h"
#include "tests/testfiles.h"
#include "ui/mainwindow.h"
#include "ui/settingslocation.h"
#include "ui_Form_Main.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <sys/stat.h>

inline const QString kDropZero = QStringLiteral("Перепад давления на полностью открытом клапане dPкл = 0.00 атм");
inline const QString kKvZero = QStringLiteral("Пропускная способность регулирующего клапана Кv = 0.00 м3/ч");
inline const QString kLossZero = QStringLiteral("Действительные гидравлические потери на клапане dPкл = 0.00 атм");

inline QString dropLine(const char *v)
{
    return QStringLiteral("Перепад давления на полностью открытом клапане dPкл = %1 атм").arg(QLatin1String(v));
}
inline QString kvLine(const char *v)
{
    return QStringLiteral("Пропускная способность регулирующего клапана Кv = %1 м3/ч").arg(QLatin1String(v));
}
inline QString lossLine(const char *v)
{
    return QStringLiteral("Действительные гидравлические потери на клапане dPкл = %1 атм").arg(QLatin1String(v));
}

// The value of `key` in an INI text, or a null array.
inline QByteArray iniValue(const QByteArray &ini, const QByteArray &key)
{
    for (const QByteArray &line : ini.split('\n')) {
        const QByteArray l = line.trimmed();
        if (l.startsWith(key + '='))
            return l.mid(key.size() + 1);
    }
    return {};
}

// A new file (CR LF line ends): the twenty lines of the original keys,
// then the empty checks.
inline const QByteArray kZeroSettings =
    QByteArray("[Main]\r\nLastSys=0\r\n[Values]\r\nQ1=0\r\ndPr1=0\r\ndPf1=0\r\ndPppr1=0\r\ndPs=0\r\n"
               "dPtr1=0\r\ndPdr1=0\r\ndPn=0\r\nKvy1=0\r\nQ2=0\r\ndPr2=0\r\ndPf2=0\r\ndPppr2=0\r\n"
               "dPt=0\r\ndPtr2=0\r\ndPdr2=0\r\nKvy2=0\r\n")
    + kEmptyChecks;

// The SizingState field of a settings key, or null.
inline double *stateField(const QString &key)
{
    const int i = keyIndex(key.toStdString());
    return i < 0 ? nullptr : &(sizing().*kFields[i]);
}

// A mouse move as the window system delivers it: to the window, which
// finds the widget under the pointer.
inline void moveMouse(QWidget *over, QPoint pos)
{
    QWidget *top = over->window();
    QTest::mouseMove(top->windowHandle(), over->mapTo(top, pos));
}

class WorkflowFixture : public QObject
{
    Q_OBJECT

protected:
    QTemporaryDir *m_dir = nullptr;
    std::unique_ptr<TForm_Main> m_form;
    BoxRecorder *m_boxes = nullptr;

    QString settingsFile() const { return m_dir->filePath(QStringLiteral("settings.ini")); }
    TFlatFloatEdit *field(const char *name) const { return m_form->findChild<TFlatFloatEdit *>(QLatin1String(name)); }
    QString line(const char *name) const { return m_form->findChild<QLabel *>(QLatin1String(name))->text(); }
    // What the window shows under `name`: a field's text (FlEdt_…), a
    // result line's number (L_…), or the SizingState value of a settings key.
    QString shownValue(const QString &name) const
    {
        const QByteArray n = name.toLatin1();
        if (name.startsWith(QLatin1String("FlEdt_")))
            return field(n.constData())->text();
        if (name.startsWith(QLatin1String("L_")))
            return line(n.constData()).section(QStringLiteral(" = "), 1).section(QLatin1Char(' '), 0, 0);
        const double *value = stateField(name);
        return value ? QString::number(*value, 'g', 17) : QStringLiteral("(no such key)");
    }
    // Builds and shows the window as the program does.
    void openWindow()
    {
        m_form = std::make_unique<TForm_Main>();
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    // Gives the field the focus, selects its text, types over it.
    void typeInto(const char *name, const QString &text)
    {
        TFlatFloatEdit *f = field(name);
        f->setFocus();
        QVERIFY2(f->hasFocus(), name);
        f->selectAll();
        QTest::keyClicks(f, text);
    }
    void pressEnter(Qt::Key key = Qt::Key_Return)
    {
        QWidget *w = QApplication::focusWidget();
        QVERIFY(w);
        QTest::keyClick(w, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    }
    QString focusName() const
    {
        QWidget *w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    }
    void clickPage(int index)
    {
        FlatTabBar *bar = m_form->ui->PgCtrl_Sys->flatTabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->buttonRect(index).center());
        QCOMPARE(m_form->ui->PgCtrl_Sys->currentIndex(), index);
    }
    // The dependent-circuit example: dPр 1, dPф 0.1, Q 2.
    void enterExample()
    {
        typeInto("FlEdt_dPr1", QStringLiteral("1.00"));
        pressEnter();
        typeInto("FlEdt_dPf1", QStringLiteral("0.10"));
        pressEnter();
        typeInto("FlEdt_Q1", QStringLiteral("2.00"));
        pressEnter();
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        setExecutableDirectoryOverride(m_dir->path());
        sizing() = SizingState{};
        m_boxes = new BoxRecorder;
    }
    void cleanup()
    {
        m_form.reset();
        delete m_boxes;
        m_boxes = nullptr;
        setExecutableDirectoryOverride({});
        ::chmod(QFile::encodeName(settingsFile()).constData(), 0644);
        delete m_dir;
        m_dir = nullptr;
    }
};
