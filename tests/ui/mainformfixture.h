#pragma once
// The main window under test: made once per test program, after the look
// and feel is installed, and freed when the program's tests are done. A test
// class derives from MainFormFixture and uses `form`.
#include <QObject>

#include "ui/lookandfeel.h"
#include "ui/mainwindow.h"

class MainFormFixture : public QObject
{
    Q_OBJECT

protected:
    TForm_Main *m_form = nullptr;

private slots:
    void initTestCase()
    {
        installLookAndFeel();
        m_form = new TForm_Main;
    }

    void cleanupTestCase()
    {
        delete m_form;
        m_form = nullptr;
    }
};
