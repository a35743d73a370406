#include "widgets/panel.h"

#include <QPainter>

#include "widgets/xppaint.h"

TPanel::TPanel(QWidget *parent) : QWidget(parent) {}

TPanel::~TPanel() = default;

void TPanel::setBevelOuter(TBevelCut value)
{
    if (value == m_bevelOuter)
        return;
    m_bevelOuter = value;
    update();
}

void TPanel::setBevelInner(TBevelCut value)
{
    if (value == m_bevelInner)
        return;
    m_bevelInner = value;
    update();
}

void TPanel::setBevelWidth(int value)
{
    if (value == m_bevelWidth)
        return;
    m_bevelWidth = value;
    update();
}

void TPanel::setBorderWidth(int value)
{
    if (value == m_borderWidth)
        return;
    m_borderWidth = value;
    update();
}

void TPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    DrawPanelBevels(p, this, clBtnHighlight, clBtnShadow);
}
