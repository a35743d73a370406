#pragma once
// Stand-ins for two non-visual components of the main window whose real
// classes are not part of the program yet. They exist so that the window
// owns objects of these names and classes (`XPStylePainter1`, `FlatHint`),
// and they are INERT: they hold no settings, hook nothing and paint nothing.
// When the real components are built, the window description
// (resources/Form_Main.ui, <customwidgets>) points at their headers instead
// and this file is removed.
#include <QObject>

// Placeholder for the XP-style painter of buttons, group boxes and panels.
class TXPStylePainter : public QObject
{
    Q_OBJECT

public:
    explicit TXPStylePainter(QObject *parent = nullptr) : QObject(parent) {}
};

// Placeholder for the flat hint component (hint window and hint delays).
class TFlatHint : public QObject
{
    Q_OBJECT

public:
    explicit TFlatHint(QObject *parent = nullptr) : QObject(parent) {}
};
