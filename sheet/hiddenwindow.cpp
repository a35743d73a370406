#include "sheet/hiddenwindow.h"

#include <QFileInfo>

#include "ui/mainwindow.h"

HiddenWindow::HiddenWindow() : m_kept(currentSizingRecord())
{
    try {
        m_window = std::make_unique<TForm_Main>();
    } catch (...) {
        makeCurrent(m_kept);
        throw;
    }
}

HiddenWindow::~HiddenWindow()
{
    m_window.reset();
    makeCurrent(m_kept);
}

void HiddenWindow::open(const QString &path) { m_window->openSizingFile(QFileInfo(path).absoluteFilePath()); }
