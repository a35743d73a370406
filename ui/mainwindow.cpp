// TForm_Main: the window built from its description, its creation, show
// and close, the page change, the fields' change and key handlers and the
// clearing buttons.
#include "ui/mainwindow.h"

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <string>
#include <string_view>

#include "core/numtext.h"
#include "core/settings.h"
#include "core/sizing.h"
#include "ui/crosshair.h"
#include "ui/handlererrors.h"
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
    pal.setColor(QPalette::Window, ResolveColor(clBtnFace));
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
    ApplyDesignFonts(this);

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
    setWindowIcon(ProgramIcon());

    // The creation handler. A failure while loading the description (a
    // picture that cannot be decoded) or in FormCreate leaves the
    // constructor; the controls built so far go with the window.
    FormCreate();
}

TForm_Main::~TForm_Main() = default;

void TForm_Main::CentreOnScreen()
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
        CentreOnScreen();
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

constexpr std::string_view kValveDropLine =
    "Перепад давления на полностью открытом клапане dPкл = %.2f атм";
constexpr std::string_view kCapacityLine =
    "Пропускная способность регулирующего клапана Кv = %.2f м3/ч";
constexpr std::string_view kCapacityUnknown =
    "Пропускная способность регулирующего клапана Кv = ??? м3/ч";
constexpr std::string_view kActualLossLine =
    "Действительные гидравлические потери на клапане dPкл = %.2f атм";
constexpr std::string_view kActualLossUnknown =
    "Действительные гидравлические потери на клапане dPкл = ??? атм";

QString resultLine(std::string_view format, double value)
{
    return QString::fromStdString(FillTemplate(format, FormatTwoDecimals(value)));
}

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::string nativePath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

// The field's value, narrowed to a double as the SizingState keeps it.
double fieldValue(const TFlatFloatEdit *field)
{
    return StoreDouble(field->ValueL());
}

// Focus and select all; a field that cannot take the focus is left alone.
void focusAndSelectAll(TFlatFloatEdit *field)
{
    field->setFocus();
    field->selectAll();
}

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

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
void showActualLoss(QLabel *line, bool computed, double loss)
{
    line->setText(computed ? resultLine(kActualLossLine, loss) : text(kActualLossUnknown));
}

} // namespace

// --- Operations --------------------------------------------------------------

void TForm_Main::RecomputeSys1()
{
    const SizingState &s = Sizing();
    ComputeValveDrop1();
    showDropAndCapacity(ui->L_dPkl1, ui->L_Kv1, ui->FlEdt_Kvy1, s.dPkl1, ComputeCapacity1, s.Kv1,
                        s.Kvy1);
}

void TForm_Main::RecomputeSys2()
{
    const SizingState &s = Sizing();
    ComputeValveDrop2();
    showDropAndCapacity(ui->L_dPkl2, ui->L_Kv2, ui->FlEdt_Kvy2, s.dPkl2, ComputeCapacity2, s.Kv2,
                        s.Kvy2);
}

void TForm_Main::PushStateToFields()
{
    const SizingState &s = Sizing();
    // Each write raises the field's change handler when its text changes,
    // so the circuits are recomputed along the way.
    ui->FlEdt_Kvy1->setValueL(s.Kvy1);
    ui->FlEdt_dPr1->setValueL(s.dPr1);
    ui->FlEdt_Q1->setValueL(s.Q1);
    ui->FlEdt_dPf1->setValueL(s.dPf1);
    ui->FlEdt_dPppr1->setValueL(s.dPppr1);
    ui->FlEdt_dPs->setValueL(s.dPs);
    ui->FlEdt_dPtr1->setValueL(s.dPtr1);
    ui->FlEdt_dPdr1->setValueL(s.dPdr1);
    ui->FlEdt_dPn->setValueL(s.dPn);
    ui->FlEdt_Kvy2->setValueL(s.Kvy2);
    ui->FlEdt_dPr2->setValueL(s.dPr2);
    ui->FlEdt_Q2->setValueL(s.Q2);
    ui->FlEdt_dPf2->setValueL(s.dPf2);
    ui->FlEdt_dPppr2->setValueL(s.dPppr2);
    ui->FlEdt_dPt->setValueL(s.dPt);
    ui->FlEdt_dPtr2->setValueL(s.dPtr2);
    ui->FlEdt_dPdr2->setValueL(s.dPdr2);
    // A page index the control does not have selects nothing. Selecting a
    // page from code raises no page-changed event.
    if (s.LastSys < ui->PgCtrl_Sys->count())
        ui->PgCtrl_Sys->setCurrentIndex(s.LastSys);
}

void TForm_Main::PullFieldsToState()
{
    SizingState &s = Sizing();
    s.Q1 = fieldValue(ui->FlEdt_Q1);
    s.dPr1 = fieldValue(ui->FlEdt_dPr1);
    s.dPf1 = fieldValue(ui->FlEdt_dPf1);
    s.dPppr1 = fieldValue(ui->FlEdt_dPppr1);
    s.dPs = fieldValue(ui->FlEdt_dPs);
    s.dPtr1 = fieldValue(ui->FlEdt_dPtr1);
    s.dPdr1 = fieldValue(ui->FlEdt_dPdr1);
    s.dPn = fieldValue(ui->FlEdt_dPn);
    s.Kvy1 = fieldValue(ui->FlEdt_Kvy1);
    s.Q2 = fieldValue(ui->FlEdt_Q2);
    s.dPr2 = fieldValue(ui->FlEdt_dPr2);
    s.dPf2 = fieldValue(ui->FlEdt_dPf2);
    s.dPppr2 = fieldValue(ui->FlEdt_dPppr2);
    s.dPt = fieldValue(ui->FlEdt_dPt);
    s.dPtr2 = fieldValue(ui->FlEdt_dPtr2);
    s.dPdr2 = fieldValue(ui->FlEdt_dPdr2);
    s.Kvy2 = fieldValue(ui->FlEdt_Kvy2);
    s.LastSys = static_cast<std::uint8_t>(ui->PgCtrl_Sys->currentIndex());
}

QString TForm_Main::settingsPath() const
{
    return m_settingsPath;
}

// --- Window handlers ---------------------------------------------------------

void TForm_Main::FormCreate()
{
    // The crosshair's handlers belong to the window's description: they are
    // bound whatever happens below. Until step 6 prepares the pen, the
    // crosshair would draw with the default one.
    new TCrosshair(ui->L_Top, ui->Sht_Dia, ui->Img3, ui->Pan_Dia, &m_crossPen, this);

    RunHandler([this] {
        SetDecimalSeparator('.');
        // Every widget of the toolkit paints through a back buffer already:
        // the window, the page control, the pages and the groups are double
        // buffered without being asked.
        m_exeDir = ExecutableDirectory();
        m_settingsPath = ChooseSettingsPath(m_exeDir);
        LoadSettings(nativePath(m_settingsPath));
        PushStateToFields();
        m_crossPen = QPen(QColor(255, 0, 0), 1, Qt::DashLine);
        m_crossPen.setCosmetic(true);
    });
}

void TForm_Main::FormShow()
{
    PgCtrl_SysChange();
}

bool TForm_Main::FormCloseQuery()
{
    bool saved = false;
    RunHandler([this, &saved] {
        PullFieldsToState();
        SaveSettings(nativePath(m_settingsPath));
        saved = true;
    });
    return saved;
}

void TForm_Main::PgCtrl_SysChange()
{
    RunHandler([this] {
        const int page = ui->PgCtrl_Sys->currentIndex();
        Sizing().LastSys = static_cast<std::uint8_t>(page);
        if (page == 0)
            focusAndSelectAll(ui->FlEdt_dPr1);
        else if (page == 1)
            focusAndSelectAll(ui->FlEdt_dPr2);
    });
}

void TForm_Main::Btn_Clear1Click()
{
    RunHandler([this] {
        SizingState &s = Sizing();
        s.dPr1 = s.dPf1 = s.dPppr1 = s.dPs = s.dPtr1 = s.dPdr1 = s.dPn = 0;
        s.Q1 = 0;
        s.Kvy1 = 0;
        PushStateToFields();
        focusAndSelectAll(ui->FlEdt_dPr1);
    });
}

void TForm_Main::Btn_Clear2Click()
{
    RunHandler([this] {
        SizingState &s = Sizing();
        s.dPr2 = s.dPf2 = s.dPppr2 = s.dPt = s.dPtr2 = s.dPdr2 = 0;
        s.Q2 = 0;
        s.Kvy2 = 0;
        PushStateToFields();
        focusAndSelectAll(ui->FlEdt_dPr2);
    });
}

// --- Field changed -------------------------------------------------------------

#define ZELTON_INPUT_CHANGED(field, member, recompute)                                             \
    void TForm_Main::FlEdt_##field##Change()                                                       \
    {                                                                                              \
        RunHandler([this] {                                                                        \
            Sizing().member = fieldValue(ui->FlEdt_##field);                                       \
            recompute();                                                                           \
        });                                                                                        \
    }

ZELTON_INPUT_CHANGED(dPr1, dPr1, RecomputeSys1)
ZELTON_INPUT_CHANGED(dPf1, dPf1, RecomputeSys1)
ZELTON_INPUT_CHANGED(dPppr1, dPppr1, RecomputeSys1)
ZELTON_INPUT_CHANGED(dPs, dPs, RecomputeSys1)
ZELTON_INPUT_CHANGED(dPtr1, dPtr1, RecomputeSys1)
ZELTON_INPUT_CHANGED(dPdr1, dPdr1, RecomputeSys1)
ZELTON_INPUT_CHANGED(dPn, dPn, RecomputeSys1)
ZELTON_INPUT_CHANGED(Q1, Q1, RecomputeSys1)
ZELTON_INPUT_CHANGED(dPr2, dPr2, RecomputeSys2)
ZELTON_INPUT_CHANGED(dPf2, dPf2, RecomputeSys2)
ZELTON_INPUT_CHANGED(dPppr2, dPppr2, RecomputeSys2)
ZELTON_INPUT_CHANGED(dPt, dPt, RecomputeSys2)
ZELTON_INPUT_CHANGED(dPtr2, dPtr2, RecomputeSys2)
ZELTON_INPUT_CHANGED(dPdr2, dPdr2, RecomputeSys2)
ZELTON_INPUT_CHANGED(Q2, Q2, RecomputeSys2)

#undef ZELTON_INPUT_CHANGED

// Kvy changed: the actual loss on a valve of the chosen capacity. This is
// the only place the actual-loss line changes.
void TForm_Main::FlEdt_Kvy1Change()
{
    RunHandler([this] {
        SizingState &s = Sizing();
        s.Kvy1 = fieldValue(ui->FlEdt_Kvy1);
        const bool computed = ComputeActualLoss1();
        showActualLoss(ui->L_dPklReal1, computed, s.dPklReal1);
    });
}

void TForm_Main::FlEdt_Kvy2Change()
{
    RunHandler([this] {
        SizingState &s = Sizing();
        s.Kvy2 = fieldValue(ui->FlEdt_Kvy2);
        const bool computed = ComputeActualLoss2();
        showActualLoss(ui->L_dPklReal2, computed, s.dPklReal2);
    });
}

// --- Key released: Enter moves on to the next field of the circuit ----------
// Dependent:   dPr1 dPf1 dPppr1 dPs dPtr1 dPdr1 dPn Q1 Kvy1 (then dPr1)
// Independent: dPr2 dPf2 dPppr2 dPt dPtr2 dPdr2 Q2 Kvy2 (then dPr2)
// Leaving a field runs its exit check: a rejected text keeps the focus.

#define ZELTON_ENTER_MOVES(field, next)                                                            \
    void TForm_Main::FlEdt_##field##KeyUp(int Key, Qt::KeyboardModifiers)                          \
    {                                                                                              \
        if (isEnter(Key))                                                                          \
            RunHandler([this] { ui->FlEdt_##next->setFocus(); });                                  \
    }

ZELTON_ENTER_MOVES(dPr1, dPf1)
ZELTON_ENTER_MOVES(dPf1, dPppr1)
ZELTON_ENTER_MOVES(dPppr1, dPs)
ZELTON_ENTER_MOVES(dPs, dPtr1)
ZELTON_ENTER_MOVES(dPtr1, dPdr1)
ZELTON_ENTER_MOVES(dPdr1, dPn)
ZELTON_ENTER_MOVES(dPn, Q1)
ZELTON_ENTER_MOVES(Q1, Kvy1)
ZELTON_ENTER_MOVES(Kvy1, dPr1)
ZELTON_ENTER_MOVES(dPr2, dPf2)
ZELTON_ENTER_MOVES(dPf2, dPppr2)
ZELTON_ENTER_MOVES(dPppr2, dPt)
ZELTON_ENTER_MOVES(dPt, dPtr2)
ZELTON_ENTER_MOVES(dPtr2, dPdr2)
ZELTON_ENTER_MOVES(dPdr2, Q2)
ZELTON_ENTER_MOVES(Q2, Kvy2)
ZELTON_ENTER_MOVES(Kvy2, dPr2)

#undef ZELTON_ENTER_MOVES
