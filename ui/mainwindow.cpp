// TForm_Main: the window built from its description, its creation, show
// and close, the page change, the fields' change and key handlers and the
// clearing buttons.
#include "ui/mainwindow.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <string>
#include <string_view>

#include "core/numtext.h"
#include "core/settings.h"
#include "core/sizing.h"
#include "core/sizingfile.h"
#include "core/sizingrecord.h"
#include "ui/crosshair.h"
#include "ui/handlererrors.h"
#include "ui/inputtable.h"
#include "ui/lookandfeel.h"
#include "ui/settingslocation.h"
#include "ui_Form_Main.h"
#include "widgets/hintsettings.h"
#include "widgets/syscolors.h"
#include "widgets/xpstylepainter.h"

namespace {

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                         | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

} // namespace

TForm_Main::TForm_Main(QWidget *parent) : QWidget(parent, kWindowFlags), ui(new Ui::Form_Main)
{
    // The window background is the button face of the system colour table.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, resolveColor(clBtnFace));
    setPalette(pal);

    // Loading the description. setupUi constructs the controls in the order
    // of the description and applies each one's stored properties right
    // after constructing it; the non-visual components come last: the
    // XP-style painter first, whose stored Active (true, the last of its
    // properties) restyles the two clearing buttons, the two input groups
    // and the three panels at once; the flat manager as the very last
    // one: its stored Activate (false) differs from
    // the constructed value, so its ApplyStyle walks the window once, over
    // fields that already exist. Only then, at the end of setupUi, does uic
    // bind the handlers (<connections>), so nothing done while loading -
    // texts, decimals, the design-time page - reaches a handler. The
    // page control raises OnChange only for a page switched by the user, so
    // the design-time page set by setupUi runs no handler either.
    ui->setupUi(this);
    // End of loading: the painter registers with the process-wide manager.
    ui->XPStylePainter1->Loaded();

    // The description gives fonts in points for 96 pixels per inch; make
    // them the exact pixel heights the window was laid out with. Fonts
    // start no handler.
    applyDesignFonts(this);

#if QT_CONFIG(accessibility)
    // A control's hint is its accessible description too: a screen reader
    // reads what the hint window shows.
    for (QWidget *control : findChildren<QWidget *>()) {
        const QString hint = control->property(kHintProperty).toString();
        if (!hint.isEmpty())
            control->setAccessibleDescription(hint);
    }
#endif

    setFixedSize(kClientWidth, kClientHeight);
    setWindowIcon(programIcon());
    m_ownCaption = windowTitle();
    keepStartUpView();

    // The creation handler. A failure while loading the description (a
    // picture that cannot be decoded) or in FormCreate leaves the
    // constructor; the controls built so far go with the window.
    FormCreate();
}

TForm_Main::~TForm_Main() = default;

void TForm_Main::centreOnScreen()
{
    QScreen *scr = screen();
    if (!scr)
        scr = QGuiApplication::primaryScreen();
    if (!scr)
        return;
    const QRect desk = scr->geometry();
    // The frame is not known before the first show on every platform; centre
    // the client area then, the whole frame when it is known.
    const QRect frame = frameGeometry();
    const QSize outer = frame.size().expandedTo(size());
    const QPoint topLeft(desk.left() + (desk.width() - outer.width()) / 2,
                         desk.top() + (desk.height() - outer.height()) / 2);
    move(topLeft);
}

void TForm_Main::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    if (!m_shownOnce) {
        m_shownOnce = true;
        centreOnScreen();
    }
    FormShow();
}

void TForm_Main::closeEvent(QCloseEvent *event)
{
    // Ignored first: when the query fails or raises, the window stays open.
    event->ignore();
    if (FormCloseQuery())
        event->accept();
}

// --- Result lines ------------------------------------------------------------

namespace {

constexpr std::string_view kValveDropLine = "Перепад давления на полностью открытом клапане dPкл = %.2f атм";
constexpr std::string_view kCapacityLine = "Пропускная способность регулирующего клапана Кv = %.2f м3/ч";
constexpr std::string_view kCapacityUnknown = "Пропускная способность регулирующего клапана Кv = ??? м3/ч";
constexpr std::string_view kActualLossLine = "Действительные гидравлические потери на клапане dPкл = %.2f атм";
constexpr std::string_view kActualLossUnknown = "Действительные гидравлические потери на клапане dPкл = ??? атм";

QString resultLine(std::string_view format, double value)
{
    return QString::fromStdString(fillTemplate(format, FormatTwoDecimals(value)));
}

QString text(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

std::string nativePath(const QString &path) { return QFile::encodeName(path).toStdString(); }

// The field's value, narrowed to a double as the SizingState keeps it.
double fieldValue(const TFlatFloatEdit *field) { return storeDouble(field->ValueL()); }

// Focus and select all; a field that cannot take the focus is left alone.
void focusAndSelectAll(TFlatFloatEdit *field)
{
    field->setFocus();
    field->selectAll();
}

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// The rest of a circuit's recomputation once its valve drop is known: the
// drop line, then the capacity step, the Kv line and the Kvy field, which
// follows the suggestion (`kv` and `kvy` are read after the step).
void showDropAndCapacity(QLabel *dropLine, QLabel *kvLine, TFlatFloatEdit *kvyField, double drop,
                         bool (*computeCapacity)(), const double &kv, const double &kvy)
{
    dropLine->setText(resultLine(kValveDropLine, drop));
    if (computeCapacity()) {
        kvLine->setText(resultLine(kCapacityLine, kv));
        kvyField->setMinValueL(kvy);
        if (kvyField->ValueL() < static_cast<long double>(kvy))
            kvyField->setValueL(kvy);
    } else {
        kvLine->setText(text(kCapacityUnknown));
        kvyField->setMinValueL(0);
        kvyField->setValueL(0);
    }
}

// The actual-loss line after a circuit's actual-loss step.
void showActualLossLine(QLabel *line, bool computed, double loss)
{
    line->setText(computed ? resultLine(kActualLossLine, loss) : text(kActualLossUnknown));
}

} // namespace

// --- Operations --------------------------------------------------------------

void TForm_Main::recomputeSys1()
{
    const SizingState &s = sizing();
    computeValveDrop1();
    showDropAndCapacity(ui->L_dPkl1, ui->L_Kv1, ui->FlEdt_Kvy1, s.dPkl1, computeCapacity1, s.Kv1, s.Kvy1);
}

void TForm_Main::recomputeSys2()
{
    const SizingState &s = sizing();
    computeValveDrop2();
    showDropAndCapacity(ui->L_dPkl2, ui->L_Kv2, ui->FlEdt_Kvy2, s.dPkl2, computeCapacity2, s.Kv2, s.Kvy2);
}

void TForm_Main::pushStateToFields()
{
    SizingState &s = sizing();
    // Each write raises the field's change handler when its text changes,
    // so the circuits are recomputed along the way; a handler's error leaves
    // through the write and ends the push there.
    for (const InputRow *row : inPushOrder())
        (ui.get()->*row->field)->setValueL(s.*row->value);
    // A page index the control does not have selects nothing. Selecting a
    // page from code raises no page-changed event.
    if (s.LastSys < ui->PgCtrl_Sys->count())
        ui->PgCtrl_Sys->setCurrentIndex(s.LastSys);
}

void TForm_Main::pullFieldsToState()
{
    SizingState &s = sizing();
    for (const InputRow *row : inPullOrder())
        s.*row->value = fieldValue(ui.get()->*row->field);
    s.LastSys = static_cast<std::uint8_t>(ui->PgCtrl_Sys->currentIndex());
}

QString TForm_Main::settingsPath() const { return m_settingsPath; }

void TForm_Main::openSizingFile(const QString &path)
{
    // As the start-up loads settings.ini: the file's values (the results as
    // at the start of the program, before any computation) pushed into the
    // fields as the description made them.
    makeCurrent(readSizingFile(nativePath(path), SizingRecord()));
    setSizingFile(path);
    restoreStartUpView();
    pushStateToFields();
    // as the show after the start-up: the page's first field takes the focus
    PgCtrl_SysChange();
    emit sizingFileOpened();
}

void TForm_Main::saveSizingFile(const QString &path)
{
    pullFieldsToState();
    writeSizingFile(nativePath(path), currentSizingRecord());
    setSizingFile(path);
}

namespace {

// The result lines, which only the handlers write.
QLabel *const Ui::Form_Main::*const kResultLines[] = {&Ui::Form_Main::L_dPkl1,     &Ui::Form_Main::L_Kv1,
                                                      &Ui::Form_Main::L_dPklReal1, &Ui::Form_Main::L_dPkl2,
                                                      &Ui::Form_Main::L_Kv2,       &Ui::Form_Main::L_dPklReal2};

} // namespace

void TForm_Main::keepStartUpView()
{
    for (const InputRow *row : inPushOrder()) {
        const TFlatFloatEdit *field = ui.get()->*row->field;
        m_startUpTexts.push_back(field->text());
        m_startUpMinimums.push_back(field->MinValueL());
    }
    for (QLabel *const Ui::Form_Main::*line : kResultLines)
        m_startUpTexts.push_back((ui.get()->*line)->text());
}

void TForm_Main::restoreStartUpView()
{
    std::size_t i = 0;
    for (const InputRow *row : inPushOrder()) {
        TFlatFloatEdit *field = ui.get()->*row->field;
        const QSignalBlocker quiet(field);
        field->setText(m_startUpTexts[i]);
        field->setMinValueL(m_startUpMinimums[i++]);
    }
    for (QLabel *const Ui::Form_Main::*line : kResultLines)
        (ui.get()->*line)->setText(m_startUpTexts[i++]);
}

void TForm_Main::setSizingFile(const QString &path)
{
    m_sizingFile = path;
    setWindowTitle(m_ownCaption + QStringLiteral(" — ") + QFileInfo(path).fileName());
}

// --- Window handlers ---------------------------------------------------------

void TForm_Main::FormCreate()
{
    // The crosshair's handlers belong to the window's description: they are
    // bound whatever happens below. Until step 6 prepares the pen, the
    // crosshair would draw with the default one.
    new Crosshair(ui->L_Top, ui->Sht_Dia, ui->Img3, ui->Pan_Dia, &m_crossPen, this);

    runHandler([this] {
        setDecimalSeparator('.');
        // Every widget of the toolkit paints through a back buffer already:
        // the window, the page control, the pages and the groups are double
        // buffered without being asked.
        m_exeDir = executableDirectory();
        m_settingsPath = chooseSettingsPath(m_exeDir);
        LoadSettings(nativePath(m_settingsPath));
        pushStateToFields();
        m_crossPen = QPen(QColor(255, 0, 0), 1, Qt::DashLine);
        m_crossPen.setCosmetic(true);
    });
}

void TForm_Main::FormShow() { PgCtrl_SysChange(); }

bool TForm_Main::FormCloseQuery()
{
    bool saved = false;
    runHandler([this, &saved] {
        pullFieldsToState();
        SaveSettings(nativePath(m_settingsPath));
        saved = true;
    });
    return saved;
}

void TForm_Main::PgCtrl_SysChange()
{
    runHandler([this] {
        const int page = ui->PgCtrl_Sys->currentIndex();
        sizing().LastSys = static_cast<std::uint8_t>(page);
        if (page == 0)
            focusAndSelectAll(ui.get()->*inputsOf(1).front().field);
        else if (page == 1)
            focusAndSelectAll(ui.get()->*inputsOf(2).front().field);
    });
}

// Zeroes the circuit's inputs, pushes the state into the fields (the other
// circuit's included) and focuses the circuit's first field.
void TForm_Main::clearCircuit(int circuit)
{
    runHandler([this, circuit] {
        zeroCircuitInputs(circuit);
        pushStateToFields();
        focusAndSelectAll(ui.get()->*inputsOf(circuit).front().field);
    });
}

// A field changed: its value goes into the state, then its circuit is
// recomputed; a Kvy field's change recomputes the actual loss, the only
// place the actual-loss line changes.
void TForm_Main::inputChanged(TFlatFloatEdit *field)
{
    runHandler([this, field] {
        const InputRow *row = rowOfField(*ui, field);
        if (!row)
            return;
        sizing().*row->value = fieldValue(field);
        if (row->kvy)
            showActualLoss(row->circuit);
        else if (row->circuit == 1)
            recomputeSys1();
        else
            recomputeSys2();
    });
}

// The actual loss on a valve of the chosen capacity, after a Kvy change.
void TForm_Main::showActualLoss(int circuit)
{
    const SizingState &s = sizing();
    if (circuit == 1) {
        const bool computed = computeActualLoss1();
        showActualLossLine(ui->L_dPklReal1, computed, s.dPklReal1);
    } else {
        const bool computed = computeActualLoss2();
        showActualLossLine(ui->L_dPklReal2, computed, s.dPklReal2);
    }
}

// Enter released in a field moves on to the next field of its circuit in
// the order of the input grid (then the Kvy field, then the first again).
// Leaving a field runs its exit check: a rejected text keeps the focus.
void TForm_Main::keyReleasedIn(TFlatFloatEdit *field, int key)
{
    if (!isEnter(key))
        return;
    runHandler([this, field] {
        if (const InputRow *row = rowOfField(*ui, field))
            (ui.get()->*nextInGrid(*row).field)->setFocus();
    });
}

// --- The handlers the window description binds --------------------------------

void TForm_Main::Btn_Clear1Click() { clearCircuit(1); }
void TForm_Main::Btn_Clear2Click() { clearCircuit(2); }

void TForm_Main::FlEdt_dPr1Change() { inputChanged(ui->FlEdt_dPr1); }
void TForm_Main::FlEdt_dPf1Change() { inputChanged(ui->FlEdt_dPf1); }
void TForm_Main::FlEdt_dPppr1Change() { inputChanged(ui->FlEdt_dPppr1); }
void TForm_Main::FlEdt_dPsChange() { inputChanged(ui->FlEdt_dPs); }
void TForm_Main::FlEdt_dPtr1Change() { inputChanged(ui->FlEdt_dPtr1); }
void TForm_Main::FlEdt_dPdr1Change() { inputChanged(ui->FlEdt_dPdr1); }
void TForm_Main::FlEdt_dPnChange() { inputChanged(ui->FlEdt_dPn); }
void TForm_Main::FlEdt_Q1Change() { inputChanged(ui->FlEdt_Q1); }
void TForm_Main::FlEdt_Kvy1Change() { inputChanged(ui->FlEdt_Kvy1); }
void TForm_Main::FlEdt_dPr2Change() { inputChanged(ui->FlEdt_dPr2); }
void TForm_Main::FlEdt_dPf2Change() { inputChanged(ui->FlEdt_dPf2); }
void TForm_Main::FlEdt_dPppr2Change() { inputChanged(ui->FlEdt_dPppr2); }
void TForm_Main::FlEdt_dPtChange() { inputChanged(ui->FlEdt_dPt); }
void TForm_Main::FlEdt_dPtr2Change() { inputChanged(ui->FlEdt_dPtr2); }
void TForm_Main::FlEdt_dPdr2Change() { inputChanged(ui->FlEdt_dPdr2); }
void TForm_Main::FlEdt_Q2Change() { inputChanged(ui->FlEdt_Q2); }
void TForm_Main::FlEdt_Kvy2Change() { inputChanged(ui->FlEdt_Kvy2); }

void TForm_Main::FlEdt_dPr1KeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_dPr1, Key); }
void TForm_Main::FlEdt_dPf1KeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_dPf1, Key); }
void TForm_Main::FlEdt_dPppr1KeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_dPppr1, Key); }
void TForm_Main::FlEdt_dPsKeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_dPs, Key); }
void TForm_Main::FlEdt_dPtr1KeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_dPtr1, Key); }
void TForm_Main::FlEdt_dPdr1KeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_dPdr1, Key); }
void TForm_Main::FlEdt_dPnKeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_dPn, Key); }
void TForm_Main::FlEdt_Q1KeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_Q1, Key); }
void TForm_Main::FlEdt_Kvy1KeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_Kvy1, Key); }
void TForm_Main::FlEdt_dPr2KeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_dPr2, Key); }
void TForm_Main::FlEdt_dPf2KeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_dPf2, Key); }
void TForm_Main::FlEdt_dPppr2KeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_dPppr2, Key); }
void TForm_Main::FlEdt_dPtKeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_dPt, Key); }
void TForm_Main::FlEdt_dPtr2KeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_dPtr2, Key); }
void TForm_Main::FlEdt_dPdr2KeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_dPdr2, Key); }
void TForm_Main::FlEdt_Q2KeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_Q2, Key); }
void TForm_Main::FlEdt_Kvy2KeyUp(int Key, Qt::KeyboardModifiers) { keyReleasedIn(ui->FlEdt_Kvy2, Key); }
