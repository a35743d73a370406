#pragma once
// Counts the paint events of the widgets it is installed on: what a change
// must repaint is checked by counting them (a grab paints anew and cannot
// see a repaint that was never asked for).
#include <QEvent>
#include <QObject>

class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
