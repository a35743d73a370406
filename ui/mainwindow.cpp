#include "ui/mainwindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QShowEvent>

#include "ui/lookandfeel.h"
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
