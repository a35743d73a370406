#pragma once
// What the window description gives the controls of the main window, as
// the tests read it off a control: the hint texts, the font family the
// classic fonts are drawn in, captions, ShowHint, hints and the accessible
// descriptions.
#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QVariant>
#include <QWidget>

inline const char *const kSub = "Liberation Sans";

inline const QString kHintFilter = QStringLiteral("Перепад давления на фильтрах (грязевиках), атм");
inline const QString kHintMeter = QStringLiteral("Перепад давления на первичных преобразователях расхода, атм");
inline const QString kHintValve = QStringLiteral("Перепад давления на клапане, атм");
inline const QString kHintInlet = QStringLiteral("Перепад давления на вводе в тепловой пункт, атм");
inline const QString kHintSystem = QStringLiteral("Перепад давления в системе (отопления), атм");
inline const QString kHintPipes = QStringLiteral("Перепад давления в трубопроводах всего контура, атм");
inline const QString kHintPump = QStringLiteral("Перепад давления на насосе, атм");
inline const QString kHintExchanger = QStringLiteral("Перепад давления на теплообменнике, атм");
inline const QString kHintOther =
    QStringLiteral("Суммарный перепад давления на оборудовании, не учтённом в данной схеме, атм");
inline const QString kHintFlow = QStringLiteral("Расход теплоносителя через клапан, м3/ч");
inline const QString kHintClear = QStringLiteral("Обнулить все расчётные параметры");
inline const QString kHintKvyLabel =
    QStringLiteral("Ближайшее к Kv значение пропускной способности серийно выпускаемого клапана Kvy, м3/ч");
inline const QString kHintKvyField =
    QStringLiteral("Ближайшая к Kv пропускная способность серийно выпускаемого клапана Kvy, м3/ч");
inline const QString kHintActualLoss =
    QStringLiteral("Действительные гидравлические потери на выбранном клапане с серийно выпускаемым Кvy");

inline QString captionOf(QWidget *w)
{
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return g->title();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    return QString();
}

inline bool showHint(QObject *o)
{
    const QVariant v = o->property("ShowHint");
    return v.isValid() && v.toBool();
}

inline QString hintOf(QObject *o) { return o->property("Hint").toString(); }

// What a screen reader reads as the control's description.
inline QString accessibleDescription(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Description) : QString();
}
