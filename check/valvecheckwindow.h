#pragma once
// The tool window "Проверка подбора клапана": the valve check of one
// circuit of the main window, live.
//
// Three groups: the heat load with t1 and t2, the flow G they give and
// "Перенести в Q"; the rows of the standard Kvy series around Kv (and of
// the chosen Kvy), each with its actual loss, authority and cavitation
// verdicts and "Принять"; the pressure before the valve P1 and z with the
// allowed cavitation drop. The fields edit the circuit's check inputs
// (core/checkinputs.h), which the settings file keeps. Every number and
// verdict comes from one evaluation (evaluateValveCheck with the Kvy the
// main window's field holds), worded by checkTexts, as the sizing sheet
// prints them. The two buttons write the
// main window's Q and Kvy fields through the fields' own path, so that
// the main window's handlers run as if the user had typed the value.
//
// The window is fixed in size and laid out by hand, as the main window
// is: an update changes texts, colours and the enabled state of buttons,
// never the geometry nor what is shown (a row the check does not have
// stands empty).
#include <QString>
#include <QWidget>
#include <array>

#include "core/checktexts.h"

class QGroupBox;
class QLabel;
class QPushButton;
class TCustomFlatFloatEdit;
class TFlatFloatEdit;
class TFlatManager;
class TXPStylePainter;

class ValveCheckWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRowCount = 3; // below, above, the chosen Kvy
    static constexpr int kClientWidth = 780;
    static constexpr int kClientHeight = 404;

    // `mainWindow` (the main window) owns the window; its fields are read
    // and its Q and Kvy fields written.
    explicit ValveCheckWindow(QWidget *mainWindow);
    ~ValveCheckWindow() override;

    // 1 dependent, 2 independent.
    int circuit() const { return m_circuit; }
    // Shows circuit 1 or 2: its name, its inputs in the fields, its check.
    void setCircuit(int circuit);
    // Evaluates the circuit again and shows what changed.
    void refresh();

    // "Перенести в Q": G into the circuit's Q field.
    void transferFlow();
    // "Принять" of row 0..2: its Kvy into the circuit's Kvy field.
    void acceptRow(int row);

    // Why `field` would not take `value` as it is, or an empty text: below
    // its minimum, above its maximum, or not kept with its decimals
    // (`exact`: the value must survive its rounding).
    static QString refusal(const TCustomFlatFloatEdit &field, const QString &fieldName, double value, bool exact);

private:
    // A text the window shows, with the tone it is coloured in.
    struct Line {
        QLabel *label = nullptr;
        QString caption; // what a screen reader says before the text
        VerdictTone tone = VerdictTone::Neutral;
    };
    struct Row {
        Line kvy, kind, loss, authority, designPoint, closing;
        QPushButton *accept = nullptr;
    };

    void build();
    QGroupBox *buildFlowGroup();
    QGroupBox *buildSeriesGroup();
    QGroupBox *buildCavitationGroup();
    TFlatFloatEdit *addField(QWidget *parent, QLabel *caption, const char *name, const QRect &geometry, int decimals,
                             double maxValue, const QString &hint, const QString &accessibleName);
    Line addLine(QWidget *parent, const char *name, const QRect &geometry, const QString &hint, const QString &caption,
                 bool wrap = false);
    void inputEdited(TFlatFloatEdit *field);
    void nextField(TFlatFloatEdit *field, int key);
    static void showLine(Line &line, const std::string &text, VerdictTone tone = VerdictTone::Neutral);
    static void setButton(QPushButton *button, const QString &refusal, const QString &hint);

    QWidget *m_mainWindow;
    // The circuit's Q and Kvy fields in the main window.
    TCustomFlatFloatEdit *m_qField = nullptr;
    TCustomFlatFloatEdit *m_kvyField = nullptr;
    TXPStylePainter *m_painter = nullptr;
    TFlatManager *m_flatManager = nullptr;
    int m_circuit = 1;
    bool m_pushing = false; // the fields are being filled from the inputs
    QLabel *m_circuitName = nullptr;
    TFlatFloatEdit *m_heatLoad = nullptr;
    TFlatFloatEdit *m_t1 = nullptr;
    TFlatFloatEdit *m_t2 = nullptr;
    TFlatFloatEdit *m_p1 = nullptr;
    TFlatFloatEdit *m_z = nullptr;
    QPushButton *m_transfer = nullptr;
    Line m_flow, m_series, m_limit;
    std::array<Row, kRowCount> m_rows;
};
