#pragma once
// A reusable block of controls placed on forms. A flat manager or an
// XP-style painter owned by a frame styles the controls inside it, as one
// owned by a form does.
#include <QWidget>

class TCustomFrame : public QWidget
{
    Q_OBJECT

public:
    explicit TCustomFrame(QWidget *parent = nullptr);
    ~TCustomFrame() override;
};
