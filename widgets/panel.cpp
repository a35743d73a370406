#include "widgets/panel.h"

#include <QPainter>

#include "widgets/xppaint.h"

namespace {

// A new value repaints the panel.
template <typename T>
void assign(QWidget *panel, T &field, T value)
{
    if (value == field)
        return;
    field = value;
    panel->update();
}

} // namespace

TPanel::TPanel(QWidget *parent) : QWidget(parent) {}

TPanel::~TPanel() = default;

void TPanel::setBevelOuter(TBevelCut value) { assign(this, m_bevelOuter, value); }

void TPanel::setBevelInner(TBevelCut value) { assign(this, m_bevelInner, value); }

void TPanel::setBevelWidth(int value) { assign(this, m_bevelWidth, value); }

void TPanel::setBorderWidth(int value) { assign(this, m_borderWidth, value); }

void TPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    drawPanelBevels(p, this, clBtnHighlight, clBtnShadow);
}
