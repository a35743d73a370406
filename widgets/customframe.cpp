#include "widgets/customframe.h"

TCustomFrame::TCustomFrame(QWidget *parent) : QWidget(parent) {}

TCustomFrame::~TCustomFrame() = default;
