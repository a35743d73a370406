#pragma once
// Stand-in for a non-visual component of the main window whose real class
// is not part of the program yet. It exists so that the window owns an
// object of this name and class (`XPStylePainter1`), and it is INERT: it
// holds no settings, hooks nothing and paints nothing. When the real
// component is built, the window description (resources/Form_Main.ui,
// <customwidgets>) points at its header instead and this file is removed.
#include <QObject>

// Placeholder for the XP-style painter of buttons, group boxes and panels.
class TXPStylePainter : public QObject
{
    Q_OBJECT

public:
    explicit TXPStylePainter(QObject *parent = nullptr) : QObject(parent) {}
};
