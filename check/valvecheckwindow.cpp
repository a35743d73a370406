#include "check/valvecheckwindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <cmath>
#include <stdexcept>

#include "core/checkinputs.h"
#include "core/numtext.h"
#include "core/valvecheck.h"
#include "ui/handlererrors.h"
#include "ui/lookandfeel.h"
#include "widgets/controlsubclass.h"
#include "widgets/flatfloatedit.h"
#include "widgets/flatmanager.h"
#include "widgets/hintsettings.h"
#include "widgets/statictextlabel.h"
#include "widgets/syscolors.h"
#include "widgets/xpstylepainter.h"

namespace {

// The largest inputs the fields take.
constexpr double kMaxHeatLoad = 1000;     // Гкал/ч
constexpr double kMaxTemperature = 350;   // °C: the top of the water properties
constexpr double kMaxInletPressure = 100; // атм

// Columns of the series rows, in the group's coordinates.
constexpr int kKvyX = 10, kKvyW = 88;
constexpr int kLossX = 102, kLossW = 72;
constexpr int kAuthorityX = 178, kAuthorityW = 144;
constexpr int kDesignX = 326, kDesignW = 176;
constexpr int kClosingX = 506, kClosingW = 176;
constexpr int kAcceptX = 686, kAcceptW = 70;
constexpr int kRowsTop = 58, kRowPitch = 48, kRowHeight = 44;

const QString kTransferHint =
    QStringLiteral("Записать расход G в поле Q контура: контур пересчитывается, как после ввода");
const QString kEmptyRowHint = QStringLiteral("Строка пуста: принимать нечего");
const QString kAcceptHint =
    QStringLiteral("Записать этот Kvy в поле Kvy контура: потери пересчитываются, как после ввода");

// The hint a control shows and a screen reader reads as its description.
void setHint(QWidget *control, const QString &hint)
{
    control->setProperty(kHintProperty, hint);
    control->setProperty(kShowHintProperty, true);
    control->setAccessibleDescription(hint);
}

QLabel *addCaption(QWidget *parent, const QString &text, const QRect &geometry, bool bold = true)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setFont(designFont(kWindowFontPixels, bold));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton *addButton(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

template <class T>
T *mainControl(QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        throw std::logic_error("The window has no control " + name.toStdString());
    return found;
}

} // namespace

ValveCheckWindow::ValveCheckWindow(QWidget *mainWindow) : QWidget(mainWindow, Qt::Tool), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Form_Check"));
    setWindowTitle(QStringLiteral("Проверка подбора клапана"));
    setWindowIcon(programIcon());
    // Shown beside the main window without taking the focus from its field.
    setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, resolveColor(clBtnFace));
    setPalette(pal);
    setFixedSize(kClientWidth, kClientHeight);

    m_painter = new TXPStylePainter(this);
    build();
    // The frame the flat manager gives the main window's fields.
    m_flatManager = new TFlatManager(this);
    m_flatManager->setFlat(true);
    m_flatManager->setShowBorder(true);
    m_flatManager->setBorderColor(clBtnShadow);
    m_flatManager->setActivate(false);
    m_flatManager->ApplyStyle();
    // The flat look of the buttons and the group boxes.
    m_painter->setActive(true);
    m_painter->Loaded();
    // A restyled button covers every pixel of its rectangle: filling its
    // background first makes it opaque, so that its repaint (on every
    // change of its enabled state) leaves the group box beneath it alone.
    for (QPushButton *button : findChildren<QPushButton *>())
        if (TControlSubClass::hookOf(button))
            button->setAutoFillBackground(true);
    setCircuit(1);
}

ValveCheckWindow::~ValveCheckWindow() = default;

void ValveCheckWindow::build()
{
    m_circuitName = addCaption(this, QString(), QRect(12, 8, 756, 18));
    m_circuitName->setObjectName(QStringLiteral("L_Circuit"));
    m_circuitName->setFont(designFont(pointsToPixels(10), true));
    buildFlowGroup()->setGeometry(8, 30, 764, 76);
    buildSeriesGroup()->setGeometry(8, 112, 764, 208);
    buildCavitationGroup()->setGeometry(8, 326, 764, 70);
    for (TFlatFloatEdit *field : {m_heatLoad, m_t1, m_t2, m_p1, m_z}) {
        connect(field, &TFlatFloatEdit::OnChange, this, [this, field] { inputEdited(field); });
        connect(field, &TFlatFloatEdit::OnKeyUp, this,
                [this, field](int key, Qt::KeyboardModifiers) { nextField(field, key); });
    }
    connect(m_transfer, &QPushButton::clicked, this, &ValveCheckWindow::transferFlow);
    for (int i = 0; i < kRowCount; ++i)
        connect(m_rows[i].accept, &QPushButton::clicked, this, [this, i] { acceptRow(i); });
}

QGroupBox *ValveCheckWindow::buildFlowGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Расход по тепловой нагрузке"), this);
    group->setObjectName(QStringLiteral("GrBox_Flow"));
    m_heatLoad = addField(group, addCaption(group, QStringLiteral("Qт:"), QRect(10, 24, 26, 13)), "FlEdt_HeatLoad",
                          QRect(38, 20, 64, 21), kHeatLoadDecimals, kMaxHeatLoad,
                          QStringLiteral("Тепловая нагрузка потребителя, Гкал/ч"),
                          QStringLiteral("Тепловая нагрузка Qт, Гкал/ч"));
    addCaption(group, QStringLiteral("Гкал/ч"), QRect(106, 24, 50, 13));
    m_t1 = addField(group, addCaption(group, QStringLiteral("t1:"), QRect(170, 24, 20, 13)), "FlEdt_t1",
                    QRect(192, 20, 50, 21), kTemperatureDecimals, kMaxTemperature,
                    QStringLiteral("Температура подающей воды тепловой сети t1, °C"),
                    QStringLiteral("Температура подачи t1, °C"));
    addCaption(group, QStringLiteral("°C"), QRect(246, 24, 20, 13));
    m_t2 = addField(group, addCaption(group, QStringLiteral("t2:"), QRect(280, 24, 20, 13)), "FlEdt_t2",
                    QRect(302, 20, 50, 21), kTemperatureDecimals, kMaxTemperature,
                    QStringLiteral("Температура обратной воды тепловой сети t2, °C"),
                    QStringLiteral("Температура обратной воды t2, °C"));
    addCaption(group, QStringLiteral("°C"), QRect(356, 24, 20, 13));
    m_transfer = addButton(group, "Btn_TransferQ", QStringLiteral("Перенести в Q"), QRect(620, 19, 134, 23));
    setHint(m_transfer, kTransferHint);
    m_flow = addLine(group, "L_Flow", QRect(10, 50, 744, 16),
                     QStringLiteral("Расход через клапан по тепловой нагрузке: G = Qт / (h(t1) − h(t2)) · v, "
                                    "v при температуре у клапана (t1 в зависимой схеме, t2 в независимой)"),
                     QStringLiteral("Расход по тепловой нагрузке"));
    m_flow.label->setFont(designFont(kWindowFontPixels, true));
    return group;
}

QGroupBox *ValveCheckWindow::buildSeriesGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Клапаны серийного ряда Kvy"), this);
    group->setObjectName(QStringLiteral("GrBox_Series"));
    m_series = addLine(group, "L_Series", QRect(10, 20, 744, 14),
                       QStringLiteral("Расчётная пропускная способность Kv и располагаемый перепад давления: "
                                      "dPр + dPн в зависимой схеме, dPр в независимой"),
                       QStringLiteral("Пропускная способность"));
    const struct {
        const char *text;
        int x, w;
    } headers[] = {{"Kvy, м3/ч", kKvyX, kKvyW},
                   {"Потери, атм", kLossX, kLossW},
                   {"Авторитет", kAuthorityX, kAuthorityW},
                   {"Кавитация в рабочей точке", kDesignX, kDesignW},
                   {"Кавитация при закрытии", kClosingX, kClosingW}};
    for (const auto &h : headers)
        addCaption(group, QString::fromUtf8(h.text), QRect(h.x, 40, h.w, 14));
    for (int i = 0; i < kRowCount; ++i) {
        Row &row = m_rows[i];
        const int y = kRowsTop + i * kRowPitch;
        const QString n = QString::number(i + 1);
        const QByteArray suffix = QByteArray::number(i + 1);
        const auto name = [&suffix](const char *stem) { return QByteArray(stem) + suffix; };
        row.kvy = addLine(group, name("L_Kvy").constData(), QRect(kKvyX, y, kKvyW, 14),
                          QStringLiteral("Пропускная способность клапана серийного ряда Kvy, м3/ч"),
                          QStringLiteral("Kvy, строка ") + n);
        row.kvy.label->setFont(designFont(kWindowFontPixels, true));
        row.kind = addLine(group, name("L_Kind").constData(), QRect(kKvyX, y + 15, kKvyW, 28),
                           QStringLiteral("Место Kvy в ряду: ближайший к Kv меньший или больший, "
                                          "равный Kv или выбранный в поле Kvy"),
                           QStringLiteral("Место в ряду, строка ") + n, true);
        row.loss = addLine(group, name("L_Loss").constData(), QRect(kLossX, y, kLossW, 14),
                           QStringLiteral("Действительные потери на клапане при расчётном расходе (Q / Kvy)², атм"),
                           QStringLiteral("Потери, атм, строка ") + n);
        row.authority = addLine(group, name("L_Authority").constData(), QRect(kAuthorityX, y, kAuthorityW, kRowHeight),
                                QStringLiteral("Авторитет клапана a = потери / располагаемый перепад: от 0.5 "
                                               "хороший, от 0.3 допустимый, ниже 0.3 низкий"),
                                QStringLiteral("Авторитет, строка ") + n, true);
        row.designPoint = addLine(group, name("L_DesignPoint").constData(), QRect(kDesignX, y, kDesignW, kRowHeight),
                                  QStringLiteral("Кавитация в рабочей точке: потери на клапане против допустимого "
                                                 "перепада ΔPкав"),
                                  QStringLiteral("Кавитация в рабочей точке, строка ") + n, true);
        row.closing = addLine(group, name("L_Closing").constData(), QRect(kClosingX, y, kClosingW, kRowHeight),
                              QStringLiteral("Кавитация при закрытии: располагаемый перепад, который клапан "
                                             "принимает на себя, закрываясь, против ΔPкав"),
                              QStringLiteral("Кавитация при закрытии, строка ") + n, true);
        row.accept = addButton(group, name("Btn_Accept").constData(), QStringLiteral("Принять"),
                               QRect(kAcceptX, y, kAcceptW, 23));
        setHint(row.accept, kAcceptHint);
    }
    return group;
}

QGroupBox *ValveCheckWindow::buildCavitationGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Давление перед клапаном и кавитация"), this);
    group->setObjectName(QStringLiteral("GrBox_Cavitation"));
    m_p1 = addField(group, addCaption(group, QStringLiteral("P1:"), QRect(10, 24, 22, 13)), "FlEdt_P1",
                    QRect(34, 20, 56, 21), kInletPressureDecimals, kMaxInletPressure,
                    QStringLiteral("Избыточное давление перед клапаном P1, атм"),
                    QStringLiteral("Давление перед клапаном P1, атм избыточное"));
    addCaption(group, QStringLiteral("атм (избыточное)"), QRect(94, 24, 112, 13));
    m_z = addField(group, addCaption(group, QStringLiteral("z:"), QRect(214, 24, 14, 13)), "FlEdt_z",
                   QRect(230, 20, 44, 21), kCavitationZDecimals, kMaxCavitationZ,
                   QStringLiteral("Коэффициент начала кавитации клапана z, от 0.2 до 0.9 (0.5, если не известен)"),
                   QStringLiteral("Коэффициент кавитации z"));
    m_z->setMinValue(kMinCavitationZ);
    m_limit = addLine(group, "L_Limit", QRect(10, 48, 744, 16),
                      QStringLiteral("Допустимый перепад на клапане без кавитации: ΔPкав = z · (P1 абс. − Pнас), "
                                     "Pнас при температуре у клапана"),
                      QStringLiteral("Допустимый перепад"));
    m_limit.label->setFont(designFont(kWindowFontPixels, true));
    return group;
}

TFlatFloatEdit *ValveCheckWindow::addField(QWidget *parent, QLabel *caption, const char *name, const QRect &geometry,
                                           int decimals, double maxValue, const QString &hint,
                                           const QString &accessibleName)
{
    // The caption shows the field's hint too, as in the main window.
    setHint(caption, hint);
    auto *field = new TFlatFloatEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(geometry);
    field->setFont(designFont(kWindowFontPixels, true));
    field->setDecimals(decimals);
    field->setMaxValue(maxValue);
    setHint(field, hint);
    field->setAccessibleName(accessibleName);
    caption->setBuddy(field);
    return field;
}

ValveCheckWindow::Line ValveCheckWindow::addLine(QWidget *parent, const char *name, const QRect &geometry,
                                                 const QString &hint, const QString &caption, bool wrap)
{
    Line line;
    line.label = new StaticTextLabel(parent);
    line.label->setGeometry(geometry);
    // Fixed in size, a new text asks its group for no new layout.
    line.label->setFixedSize(geometry.size());
    line.label->setFont(designFont(kWindowFontPixels));
    line.label->setObjectName(QLatin1String(name));
    line.label->setWordWrap(wrap);
    line.caption = caption;
    line.label->setAccessibleName(caption);
    setHint(line.label, hint);
    return line;
}

// --- Showing ----------------------------------------------------------------

void ValveCheckWindow::setCircuit(int circuit)
{
    m_circuit = circuit == 2 ? 2 : 1;
    runHandler([this] {
        auto *pages = mainControl<QTabWidget>(m_mainWindow, QStringLiteral("PgCtrl_Sys"));
        m_circuitName->setText(pages->tabText(m_circuit - 1));
        m_qField = mainControl<TCustomFlatFloatEdit>(m_mainWindow, QStringLiteral("FlEdt_Q%1").arg(m_circuit));
        m_kvyField = mainControl<TCustomFlatFloatEdit>(m_mainWindow, QStringLiteral("FlEdt_Kvy%1").arg(m_circuit));
        // Each field writes what it shows back into the inputs, as the main
        // window's fields do when it starts.
        const CheckInputs inputs = checkInputs(m_circuit);
        m_pushing = true;
        m_heatLoad->setValueL(inputs.HeatLoad);
        m_t1->setValueL(inputs.t1);
        m_t2->setValueL(inputs.t2);
        m_p1->setValueL(inputs.P1);
        m_z->setValueL(effectiveCavitationZ(inputs.z));
        m_pushing = false;
    });
    m_pushing = false;
    refresh();
}

void ValveCheckWindow::showLine(Line &line, const std::string &text, VerdictTone tone)
{
    const QString shown = QString::fromStdString(text);
    if (line.label->text() != shown) {
        line.label->setText(shown);
        line.label->setAccessibleName(line.caption + QStringLiteral(": ") + shown);
    }
    // An empty line keeps its colour: nothing shows it.
    if (tone != line.tone && !shown.isEmpty()) {
        line.tone = tone;
        QPalette pal = line.label->palette();
        pal.setColor(QPalette::WindowText, verdictColor(tone));
        line.label->setPalette(pal);
    }
}

void ValveCheckWindow::setButton(QPushButton *button, const QString &refusal, const QString &hint)
{
    const bool enabled = refusal.isEmpty();
    if (button->isEnabled() != enabled)
        button->setEnabled(enabled);
    const QString shown = enabled ? hint : refusal;
    if (button->property(kHintProperty).toString() != shown)
        setHint(button, shown);
}

void ValveCheckWindow::refresh()
{
    runHandler([this] {
        if (!m_qField || !m_kvyField)
            return;
        TCustomFlatFloatEdit *qField = m_qField;
        TCustomFlatFloatEdit *kvyField = m_kvyField;
        const ValveCheck check = evaluateValveCheck(m_circuit, kvyField->Value());
        const CheckTexts texts = checkTexts(check, checkInputs(m_circuit));

        showLine(m_flow, texts.flow, texts.flowTone);
        const bool hasFlow = check.flow.reason == CheckReason::None;
        setButton(m_transfer,
                  hasFlow ? refusal(*qField, QStringLiteral("Q"), check.flow.flowM3h, false)
                          : QString::fromStdString(texts.flow),
                  kTransferHint);
        showLine(m_series, texts.series);
        showLine(m_limit, texts.limit, texts.limitTone);

        const int count = int(std::min<std::size_t>(texts.rows.size(), kRowCount));
        for (int i = 0; i < count; ++i) {
            const CheckRowTexts &t = texts.rows[i];
            Row &row = m_rows[i];
            showLine(row.kvy, t.kvy);
            showLine(row.kind, t.kind);
            showLine(row.loss, t.loss);
            showLine(row.authority, t.authority, t.authorityTone);
            showLine(row.designPoint, t.designPoint, t.designPointTone);
            showLine(row.closing, t.closing, t.closingTone);
            QString refused = refusal(*kvyField, QStringLiteral("Kvy"), t.kvyM3h, true);
            if (refused.isEmpty() && kvyField->Value() == t.kvyM3h)
                refused = QStringLiteral("Kvy %1 м3/ч уже в поле Kvy").arg(QString::fromStdString(t.kvy));
            setButton(row.accept, refused, kAcceptHint);
        }
        // Rows the check does not have stand empty, their buttons disabled
        // (hiding and showing them again would cost more than the rest of
        // an update).
        for (int i = count; i < kRowCount; ++i) {
            Row &row = m_rows[i];
            for (Line *line : {&row.kvy, &row.kind, &row.loss, &row.authority, &row.designPoint, &row.closing})
                showLine(*line, std::string());
            setButton(row.accept, kEmptyRowHint, kAcceptHint);
        }
    });
}

QString ValveCheckWindow::refusal(const TCustomFlatFloatEdit &field, const QString &fieldName, double value, bool exact)
{
    const QString unit = QStringLiteral(" м3/ч");
    const QString asGiven = exact ? QString::fromStdString(kvyText(value)) : field.formatValue(value);
    if (value < field.MinValueL())
        return QStringLiteral("Поле %1 не примет %2%3: оно не принимает меньше %4%3")
            .arg(fieldName, asGiven, unit, field.formatValue(field.MinValueL()));
    if (value > field.MaxValueL())
        return QStringLiteral("Поле %1 не примет %2%3: оно не принимает больше %4%3")
            .arg(fieldName, asGiven, unit, field.formatValue(field.MaxValueL()));
    long double kept = 0;
    const QString text = field.formatValue(value);
    if (exact && (!ParseSettingsValue(text.toStdString(), kept) || storeDouble(kept) != value))
        return QStringLiteral("Поле %1 хранит значения с точностью %2: %3%4 стало бы %5%4")
            .arg(fieldName, field.formatValue(std::pow(10.0L, -field.Decimals())), asGiven, unit, text);
    return {};
}

// --- Editing ------------------------------------------------------------------

void ValveCheckWindow::inputEdited(TFlatFloatEdit *field)
{
    runHandler([this, field] {
        CheckInputs &inputs = checkInputs(m_circuit);
        const double value = storeDouble(field->ValueL());
        if (field == m_heatLoad)
            inputs.HeatLoad = value;
        else if (field == m_t1)
            inputs.t1 = value;
        else if (field == m_t2)
            inputs.t2 = value;
        else if (field == m_p1)
            inputs.P1 = value;
        else if (field == m_z)
            inputs.z = value;
    });
    if (!m_pushing)
        refresh();
}

// Enter moves on to the next field, as in the main window.
void ValveCheckWindow::nextField(TFlatFloatEdit *field, int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    const std::array<TFlatFloatEdit *, 5> order = {m_heatLoad, m_t1, m_t2, m_p1, m_z};
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i] == field)
            order[(i + 1) % order.size()]->setFocus();
}

void ValveCheckWindow::transferFlow()
{
    runHandler([this] {
        if (!m_qField || !m_kvyField)
            return;
        const ValveCheck check = evaluateValveCheck(m_circuit, m_kvyField->Value());
        if (check.flow.reason == CheckReason::None
            && refusal(*m_qField, QStringLiteral("Q"), check.flow.flowM3h, false).isEmpty())
            m_qField->setValueL(check.flow.flowM3h);
    });
}

void ValveCheckWindow::acceptRow(int row)
{
    runHandler([this, row] {
        if (!m_kvyField)
            return;
        const ValveCheck check = evaluateValveCheck(m_circuit, m_kvyField->Value());
        if (row < 0 || row >= int(check.rows.size()))
            return;
        const double kvy = check.rows[row].kvyM3h;
        if (refusal(*m_kvyField, QStringLiteral("Kvy"), kvy, true).isEmpty())
            m_kvyField->setValueL(kvy);
    });
}
