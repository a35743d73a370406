#include "widgets/flathint.h"

#include <QGuiApplication>
#include <QPointer>

#include "widgets/flathintwindow.h"

TFlatHint::TFlatHint(QObject *owner) : QObject(owner), m_font(QGuiApplication::font())
{
    HintSettings *hints = HintSettings::application();
    if (!hints)
        return;
    hints->setHintWindowClass(&TFlatHintWindow::staticMetaObject);
    // Off and on again: the current hint window goes and a new one of the
    // flat class takes its place; hints end up as they were.
    hints->setHintsEnabled(!hints->hintsEnabled());
    hints->setHintsEnabled(!hints->hintsEnabled());
    // The hook outlives this component (the hint settings belong to the
    // application): once the component is gone it does nothing.
    hints->setShowHintHook([component = QPointer<TFlatHint>(this)](QString &text, bool &canShow, THintInfo &info) {
        if (component)
            component->DoShowHint(text, canShow, info);
    });
    hints->setNextHintDelay(kNextHintDelay);
    hints->setShowDelay(kShowDelay);
    hints->setDisplayTime(kDisplayTime);
}

TFlatHint::~TFlatHint() = default;

void TFlatHint::DoShowHint(QString &HintStr, bool &CanShow, THintInfo &HintInfo)
{
    if (OnShowHint)
        OnShowHint(HintStr, CanShow, HintInfo);
}
