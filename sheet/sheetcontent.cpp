#include "sheet/sheetcontent.h"

#include <QFileInfo>
#include <QLabel>
#include <QTabWidget>
#include <QVariant>
#include <QWidget>
#include <stdexcept>

#include "core/checkinputs.h"
#include "core/sizing.h"
#include "core/valvecheck.h"
#include "ui/mainwindow.h"
#include "widgets/flatfloatedit.h"

namespace {

// The inputs of each circuit in the order of the window's input grid.
const char *const kInputs1[] = {"dPr1", "dPf1", "dPppr1", "dPs", "dPtr1", "dPdr1", "dPn", "Q1"};
const char *const kInputs2[] = {"dPr2", "dPf2", "dPppr2", "dPt", "dPtr2", "dPdr2", "Q2"};

template <class T>
T *control(const QWidget &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        throw std::logic_error("The window has no control " + name.toStdString());
    return found;
}

QString labelText(const QWidget &window, const QString &name) { return control<QLabel>(window, name)->text(); }

// A control's hint: its Hint property where it has one, else its tooltip.
QString hintOf(const QWidget &w)
{
    const QString hint = w.property("Hint").toString();
    return hint.isEmpty() ? w.toolTip() : hint;
}

QString withoutColon(QString caption)
{
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption.trimmed();
}

} // namespace

QString sheetTitle() { return QStringLiteral("Подбор клапана регулирующего"); }

QString programVersionText()
{
    return QStringLiteral("Подбор Zelton " ZELTON_PRODUCT_VERSION " (" ZELTON_FILE_VERSION ")");
}

QString objectNameOf(const QString &sizingFile)
{
    QString name = QFileInfo(sizingFile).fileName();
    if (name.endsWith(QLatin1String(".zelton"), Qt::CaseInsensitive))
        name.chop(7);
    return name;
}

int circuitOnScreen(const QWidget &window)
{
    const int page = control<QTabWidget>(window, QStringLiteral("PgCtrl_Sys"))->currentIndex();
    return page == 0 || page == 1 ? page + 1 : 0;
}

SheetContent readSheetContent(const QWidget &window, int circuit, const QDate &date)
{
    if (circuit != 1 && circuit != 2)
        throw std::logic_error("There is no circuit " + std::to_string(circuit));
    const QString n = QString::number(circuit);
    SheetContent sheet;
    sheet.circuit = circuit;
    sheet.date = date;
    sheet.circuitName = control<QTabWidget>(window, QStringLiteral("PgCtrl_Sys"))->tabText(circuit - 1);
    if (const auto *form = qobject_cast<const TForm_Main *>(&window); form && !form->sizingFile().isEmpty())
        sheet.objectName = objectNameOf(form->sizingFile());

    const auto inputs = [circuit] {
        return circuit == 1 ? std::vector<QString>(std::begin(kInputs1), std::end(kInputs1))
                            : std::vector<QString>(std::begin(kInputs2), std::end(kInputs2));
    }();
    for (const QString &input : inputs) {
        const auto *field = control<TFlatFloatEdit>(window, QStringLiteral("FlEdt_") + input);
        sheet.inputs.push_back({input, withoutColon(labelText(window, QStringLiteral("L_") + input)), hintOf(*field),
                                field->text(),
                                labelText(window, QStringLiteral("L_") + input + QStringLiteral("unit"))});
    }

    const auto *kvyField = control<TFlatFloatEdit>(window, QStringLiteral("FlEdt_Kvy") + n);
    sheet.resultLines = {labelText(window, QStringLiteral("L_dPkl") + n), labelText(window, QStringLiteral("L_Kv") + n),
                         labelText(window, QStringLiteral("L_Kvy") + n) + QLatin1Char(' ') + kvyField->text()
                             + QLatin1Char(' ')
                             + labelText(window, QStringLiteral("L_Kvy") + n + QStringLiteral("unit")),
                         labelText(window, QStringLiteral("L_dPklReal") + n)};

    // The valve drop as the window last computed it; flow and Kvy as their
    // fields hold them (the capacity step may have put the suggestion in
    // place of the user's Kvy in the sizing state).
    const SizingState &s = sizing();
    sheet.valveDrop = circuit == 1 ? s.dPkl1 : s.dPkl2;
    sheet.flow = control<TFlatFloatEdit>(window, QStringLiteral("FlEdt_Q") + n)->Value();
    sheet.chosenKvy = kvyField->Value();
    sheet.chosenKvyText = kvyField->text();
    // The same evaluation and texts as the check window.
    if (anyCheckInputSet(checkInputs(circuit))) {
        const ValveCheck check = evaluateValveCheck(circuit, sheet.chosenKvy);
        sheet.check = checkTexts(check, checkInputs(circuit));
        sheet.checkedKvy = check.chosen;
    }
    return sheet;
}
