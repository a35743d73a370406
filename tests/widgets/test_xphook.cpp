// The hooks of the XP-style painter: the flags and repaints that real
// events cause, which controls get a hook, switching the painter off and
// on, the destruction rules, the process-wide manager and the painter's
// properties.
#include <QLabel>
#include <QStyleFactory>
#include <QTabWidget>
#include <QtTest>

#include "core/errors.h"
#include "tests/widgets/testform.h"
#include "tests/widgets/xphost.h"
#include "widgets/customframe.h"
#include "widgets/flatfloatedit.h"
#include "widgets/flatmanager.h"
#include "widgets/xpstylemanager.h"

namespace {

QString flags(const TControlSubClass *h)
{
    QString f;
    f += h->Hot() ? "H" : "";
    f += h->MouseDown() ? "M" : "";
    f += h->SpaceDown() ? "S" : "";
    f += h->SpaceSeen() ? "s" : "";
    f += h->HasFocus() ? "F" : "";
    return f.isEmpty() ? QStringLiteral("-") : f;
}

void sendKey(QWidget *w, QEvent::Type type, bool autoRepeat)
{
    QKeyEvent key(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
    QApplication::sendEvent(w, &key);
}

void act(XPHost &host, const QString &action)
{
    QPushButton *b = host.button;
    const QPoint centre = b->rect().center();
    if (action == "enter" || action == "leave")
        hover(b, action == "enter");
    else if (action == "press")
        QTest::mousePress(b, Qt::LeftButton, {}, centre);
    else if (action == "out" || action == "in")
        QTest::mouseMove(b, action == "in" ? centre : QPoint(-30, centre.y()));
    else if (action == "release")
        QTest::mouseRelease(b, Qt::LeftButton, {}, centre);
    else if (action == "dblclick") {
        QMouseEvent dbl(QEvent::MouseButtonDblClick, centre, b->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(b, &dbl);
    } else if (action == "space")
        QTest::keyPress(b, Qt::Key_Space);
    else if (action == "repeat") { // as the X server repeats a held key
        sendKey(b, QEvent::KeyRelease, true);
        sendKey(b, QEvent::KeyPress, true);
    } else if (action == "spaceup")
        QTest::keyRelease(b, Qt::Key_Space);
    else if (action == "tab")
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    else if (action == "disable" || action == "enable")
        b->setEnabled(action == "enable");
    else
        QFAIL(qPrintable("unknown action " + action));
}

// Whether the button shows the pressed look: the shade on the top edge.
bool looksPressed(QWidget *b)
{
    const QImage img = shownPixels(b);
    return qGray(img.pixel(2, 0)) < qGray(img.pixel(2, img.height() - 1));
}

template <typename T>
T *make(QWidget *parent, const char *name, QRect geometry)
{
    auto *w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

// XPHost with more kinds of controls and parents: a numeric field and a
// label (no kind), a button on a tab page, a button in a plain container
// (a parent of no kind) and a group box with a button in a frame.
struct KindsHost : XPHost {
    KindsHost()
    {
        group->setObjectName("group");
        inner->setObjectName("inner");
        button->setObjectName("button");
        panel->setObjectName("panel");
        make<TFlatFloatEdit>(group, "field", {10, 20, 45, 21});
        make<QLabel>(this, "label", {150, 10, 40, 13});
        auto *tabs = make<QTabWidget>(this, "tabs", {0, 250, 150, 50});
        auto *page = new QWidget;
        page->setObjectName("page");
        tabs->addTab(page, "page");
        make<QPushButton>(page, "pageButton", {0, 0, 50, 20});
        make<QPushButton>(make<QWidget>(this, "plain", {160, 250, 60, 30}), "plainButton", {0, 0, 50, 20});
        auto *frame = make<TCustomFrame>(this, "frame", {230, 160, 160, 90});
        make<QPushButton>(make<QGroupBox>(frame, "frameGroup", {0, 0, 150, 80}), "frameButton", {5, 20, 50, 20});
        // the painter last, as the window description has it
        delete painter;
        painter = new TXPStylePainter(this);
    }
};

} // namespace

class TestXPHook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion"))); }

    // Steps "action flags [p|u] [+repaints]": the flags after the step (H
    // Hot, M MouseDown, S SpaceDown, s SpaceSeen, F HasFocus, - none), the
    // look (pressed or not) and how many more repaints the step caused than
    // it causes on a button without a hook.
    void sequences_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::newRow("mouse leaves while held, comes back")
            << "enter H u; press HMF p; out MF u; in HMF p; release HF u";
        QTest::newRow("space held: no repaint on auto-repeat, one on release")
            << "tab HF u; space HSsF p; repeat HSsF p +0; repeat HSsF p +0; spaceup HF u +1";
        QTest::newRow("double click shows a press") << "enter H u; dblclick HM p";
        QTest::newRow("tabbing onto the button makes it hot at once") << "tab HF u; leave F u";
        QTest::newRow("tabbing away clears the hot look") << "tab HF u; tab - u";
        QTest::newRow("a disabled button never turns hot")
            << "disable - u; enter - u; enable - u; enter H u; disable - u; leave - u";
    }

    void sequences()
    {
        QFETCH(QString, steps);
        QList<QStringList> parts;
        for (const QString &step : steps.split(';'))
            parts << step.simplified().split(' ');
        // The repaints of each step, without the hook (first run) and with it.
        QList<int> plain;
        for (const bool hooked : {false, true}) {
            XPHost host;
            if (hooked)
                host.activate();
            QVERIFY(showActive(host));
            host.inner->setFocus(Qt::OtherFocusReason);
            const PaintCount count(host.button);
            for (int i = 0; i < parts.size(); ++i) {
                const QStringList &part = parts[i];
                QCoreApplication::processEvents();
                const int before = count.paints;
                act(host, part[0]);
                QCoreApplication::processEvents();
                const int paints = count.paints - before;
                if (!hooked) {
                    plain << paints;
                    continue;
                }
                const TControlSubClass *hook = TControlSubClass::hookOf(host.button);
                QVERIFY(hook);
                QCOMPARE(flags(hook) + " after " + part[0], part[1] + " after " + part[0]);
                for (const QString &check : part.mid(2)) {
                    if (check.startsWith('+'))
                        QCOMPARE(paints - plain[i], check.mid(1).toInt());
                    else
                        QCOMPARE(looksPressed(host.button), check == "p");
                }
            }
        }
    }

    void hooks_data()
    {
        QTest::addColumn<int>("tagged"); // 0 none, 1 the button, 2 the group box
        QTest::addColumn<uint>("dropKind");
        QTest::addColumn<uint>("dropParent");
        QTest::addColumn<bool>("whileActive");
        QTest::addColumn<QString>("hooked");
        const QString all = "button frameButton frameGroup group inner pageButton panel";
        QTest::newRow("all kinds") << 0 << 0u << 0u << false << all;
        QTest::newRow("Tag 999 on a control")
            << 1 << 0u << 0u << false << "frameButton frameGroup group inner pageButton panel";
        QTest::newRow("Tag 999 on a parent")
            << 2 << 0u << 0u << false << "button frameButton frameGroup pageButton panel";
        QTest::newRow("without buttons") << 0 << xpBit(xcButton) << 0u << false << "frameGroup group panel";
        QTest::newRow("without buttons, changed while active")
            << 0 << xpBit(xcButton) << 0u << true << "frameGroup group panel";
        QTest::newRow("without group box parents")
            << 0 << 0u << xpBit(xccGroupBox) << false << "button frameGroup group pageButton panel";
        QTest::newRow("without frames: not entered either")
            << 0 << 0u << xpBit(xccFrame) << false << "button group inner pageButton panel";
        QTest::newRow("without tab sheets")
            << 0 << 0u << xpBit(xccTabSheet) << false << "button frameButton frameGroup group inner panel";
    }

    void hooks()
    {
        QFETCH(int, tagged);
        QFETCH(uint, dropKind);
        QFETCH(uint, dropParent);
        QFETCH(bool, whileActive);
        KindsHost host;
        if (tagged)
            (tagged == 1 ? static_cast<QWidget *>(host.button) : host.group)->setProperty("Tag", 999);
        TXPStylePainter &p = *host.painter;
        const auto restrict = [&] {
            p.setXPControls(kAllXPControls & ~dropKind);
            p.setXPContainers(TXPContainers(kAllXPContainers & ~dropParent));
        };
        if (!whileActive)
            restrict();
        host.activate();
        if (whileActive)
            restrict();
        QTEST(hookedNames(&host), "hooked");
        // Hooking again adds no second hook.
        const qsizetype hooks = p.hooks().size();
        p.ApplyToOwner(&host, true, true);
        QCOMPARE(p.hooks().size(), hooks);
    }

    // Active false: every hook goes at the control's next event (the
    // repaint request itself), and the controls show their own look again.
    void activeOffAndOn()
    {
        XPHost plain, host;
        for (XPHost *h : {&plain, &host}) {
            h->inner->hide();
            h->button->setFocusPolicy(Qt::NoFocus); // focus would make it hot
            h->show();
        }
        host.activate();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        const QList<QWidget *> controls{host.button, host.group, host.panel};
        const QList<QWidget *> own{plain.button, plain.group, plain.panel};
        QList<QImage> flat;
        for (int i = 0; i < controls.size(); ++i) {
            flat << shownPixels(controls[i]);
            QVERIFY(flat[i] != shownPixels(own[i]));
        }
        host.painter->setActive(false);
        QCOMPARE(hookedNames(&host), QString());
        QVERIFY(host.painter->hooks().isEmpty());
        for (int i = 0; i < controls.size(); ++i)
            QCOMPARE(shownPixels(controls[i]), shownPixels(own[i]));
        host.painter->setActive(true);
        QCOMPARE(hookedNames(&host).split(' ').size(), 4); // the hidden one too
        for (int i = 0; i < controls.size(); ++i)
            QCOMPARE(shownPixels(controls[i]), flat[i]);
    }

    void destruction()
    {
        XPHost host;
        host.activate();
        QVERIFY(showActive(host));
        QCoreApplication::processEvents(); // every hook has painted
        TXPStylePainter *p = host.painter;
        QCOMPARE(p->hooks().size(), 4);
        QVERIFY(!TControlSubClass::hookOf(host.button)->RepaintPending());
        delete host.button; // no repaint pending: the hook goes with it
        QCOMPARE(p->hooks().size(), 3);
        TControlSubClass::invalidate(host.inner);
        QVERIFY(TControlSubClass::hookOf(host.inner)->RepaintPending());
        delete host.inner; // a repaint pending: the hook stays, without control
        QCOMPARE(p->hooks().size(), 3);
        const QList<TControlSubClass *> hooks = p->hooks();
        QCOMPARE(std::count_if(hooks.begin(), hooks.end(), [](auto *h) { return !h->Control(); }), 1);
        // The painter goes first: the controls keep working without hooks.
        delete p;
        QVERIFY(!TControlSubClass::hookOf(host.group));
        QVERIFY(!TXPStyleManager::instance());
        host.group->update();
        host.panel->update();
        QCoreApplication::processEvents();
    }

    void manager()
    {
        QVERIFY(!TXPStyleManager::instance());
        QWidget other; // a window without a painter of its own
        auto *otherButton = make<QPushButton>(&other, "otherButton", {0, 0, 60, 20});
        other.show();
        auto a = std::make_unique<XPHost>();
        TXPStyleManager *m = TXPStyleManager::instance();
        QVERIFY(m);
        a->activate();
        QCOMPARE(m->Painters(), QList<TXPStylePainter *>{a->painter});
        QCOMPARE(m->ActivePainter(), a->painter);
        QVERIFY(m->HandledWindows().contains(a.get()));
        QVERIFY(m->PendingWindows().contains(&other));
        QVERIFY(!TControlSubClass::hookOf(otherButton)); // at the next turn of the event loop
        QCoreApplication::processEvents();
        QCOMPARE(TControlSubClass::hookOf(otherButton)->Painter(), a->painter);
        QVERIFY(m->HandledWindows().contains(&other));
        QVERIFY(m->PendingWindows().isEmpty());
        // A window made later, owned by a painter's window, is restyled too.
        auto *late = new QWidget(a.get(), Qt::Window);
        auto *lateButton = make<QPushButton>(late, "lateButton", {0, 0, 60, 20});
        QCoreApplication::processEvents();
        QVERIFY(TControlSubClass::hookOf(lateButton));
        XPHost b;
        b.activate();
        QCOMPARE(m->Painters().size(), 2);
        QCOMPARE(m->ActivePainter(), a->painter);
        // The active painter leaves: the next active one takes over its
        // controls in other windows.
        delete a->painter;
        a->painter = nullptr;
        QCOMPARE(m->ActivePainter(), b.painter);
        QCOMPARE(TControlSubClass::hookOf(otherButton)->Painter(), b.painter);
        a.reset();
        // The last painter leaves: the manager goes, and the other windows
        // get their own look back.
        delete b.painter;
        b.painter = nullptr;
        QVERIFY(!TXPStyleManager::instance());
        QVERIFY(!TControlSubClass::hookOf(otherButton));
    }

    void properties_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QVariant>("value");
        const auto row = [](const char *name, const QVariant &v) { QTest::newRow(name) << QByteArray(name) << v; };
        row("DimLevel", 30);
        row("GrayLevel", 10);
        row("FontColor", uint(clMenuText));
        row("Color", uint(clBtnFace));
        row("DrawMenuBar", false);
        row("IconBackColor", uint(clBtnFace));
        row("MenuBarColor", uint(clBtnFace));
        row("SelectColor", uint(clHighlight));
        row("SelectBorderColor", uint(clHighlight));
        row("SelectFontColor", uint(clMenuText));
        row("DisabledColor", uint(clInactiveCaption));
        row("SeparatorColor", uint(clBtnFace));
        row("CheckedColor", uint(clHighlight));
        row("IconWidth", 24);
        row("DrawSelect", true);
        row("UseSystemColors", true);
        row("UseDimColor", false);
        row("OverrideOwnerDraw", false);
        row("Gradient", false);
        row("FlatMenu", false);
        row("AutoDetect", false);
        row("XPContainers", QVariant::fromValue(TXPContainers(0x3FF)));
        row("XPControls", QVariant::fromValue(TXPControls(0x7FFFFF)));
        row("Active", false);
    }

    // The values after construction.
    void properties()
    {
        QFETCH(QByteArray, name);
        QFETCH(QVariant, value);
        XPHost host;
        QCOMPARE(host.painter->property(name), value);
    }

    // A write of DisableSubclassing (whose value stays false) has the
    // manager elect its ActivePainter anew: an inactive one gives way.
    void disableSubclassingElects()
    {
        XPHost a, b;
        a.activate();
        b.activate();
        a.painter->setActive(false);
        TXPStyleManager *m = TXPStyleManager::instance();
        QCOMPARE(m->ActivePainter(), a.painter);
        a.painter->setDisableSubclassing(true);
        QCOMPARE(m->ActivePainter(), b.painter);
    }

    // The owner must be a form or a frame.
    void owner()
    {
        QObject object;
        QWidget window;
        auto *child = new QWidget(&window);
        for (QObject *wrong : {&object, static_cast<QObject *>(child)})
            QVERIFY_THROWS_EXCEPTION(EInvalidCast, TXPStylePainter{wrong});
        QCOMPARE(window.children().size(), 1);
        TCustomFrame frame;
        QCOMPARE(TXPStylePainter(&frame).OwnerWindow(), &frame);
        TXPStylePainter none;
        QCOMPARE(none.OwnerWindow(), nullptr);
        QVERIFY(!none.HighColor());
    }
};

QTEST_MAIN(TestXPHook)
#include "test_xphook.moc"
