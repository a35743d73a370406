// The flat manager pushing its frame settings into the fields of a form.
#include <QDialog>
#include <QGroupBox>
#include <QTabWidget>
#include <QtTest>

#include <memory>

#include "tests/widgets/testform.h"
#include "widgets/customframe.h"
#include "widgets/flatmanager.h"

namespace {

// A form like the program's: fields directly on it, in a group box, on the
// pages of a tab widget, and a second group box after the last field.
//   a, group(g1, g2), d, tabs(page1(p1), page0(p0)), group2(h1)
// (the tab widget's stack lowers each page it inserts, so its child order
// is the reverse of the tab order).
class ManagedForm : public QWidget
{
public:
    TFlatFloatEdit *a, *g1, *g2, *p0, *p1, *d, *h1;
    TFlatManager *manager;

    static TFlatFloatEdit *field(QWidget *parent, const char *name, int y)
    {
        auto *e = new TFlatFloatEdit(parent);
        e->setObjectName(name);
        e->setGeometry(10, y, 45, 21);
        configureLikeForm(e);
        return e;
    }

    ManagedForm()
    {
        resize(400, 400);
        a = field(this, "a", 5);
        auto *group = new QGroupBox("group", this);
        group->setGeometry(0, 30, 200, 80);
        g1 = field(group, "g1", 20);
        g2 = field(group, "g2", 45);
        d = field(this, "d", 230);
        auto *tabs = new QTabWidget(this);
        tabs->setGeometry(0, 120, 200, 100);
        auto *page0 = new QWidget;
        auto *page1 = new QWidget;
        p0 = field(page0, "p0", 10);
        p1 = field(page1, "p1", 10);
        tabs->addTab(page0, "0");
        tabs->addTab(page1, "1");
        auto *group2 = new QGroupBox("group2", this);
        group2->setGeometry(0, 260, 200, 60);
        h1 = field(group2, "h1", 20);
        manager = new TFlatManager(this);
        // The stored values of the program's manager.
        manager->setActivate(false);
    }

    QList<TFlatFloatEdit *> fields() const { return {a, g1, g2, p0, p1, d, h1}; }
};

QStringList names(const QList<QObject *> &objs)
{
    QStringList out;
    for (QObject *o : objs)
        out << o->objectName();
    return out;
}

} // namespace

class TestFlatManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void defaults();
    void borderColourRepaintsEveryField();
    void pushesAllFourSettings();
    void equalValueDoesNothing();
    void walkOrderAndEvents();
    void canChangeIsSharedAlongTheWalk();
    void canChangeSetBackToTrue();
    void ownerMustBeWindowOrFrame();
    void frameOwner();
    void childWindowsAreNotWalked();
    void handlerDeletingAField();

private:
};

void TestFlatManager::initTestCase() { QApplication::setStyle("Fusion"); }

void TestFlatManager::defaults()
{
    TFlatManager m;
    QCOMPARE(m.Activate(), true);
    QCOMPARE(m.BorderColor(), clBtnShadow);
    QCOMPARE(m.Flat(), true);
    QCOMPARE(m.ShowBorder(), true);
    QCOMPARE(m.Version(), QString("1.29"));
    m.setVersion("3.1");
    QCOMPARE(m.property("Version").toString(), QString("1.29"));
    QVERIFY(!m.OnBeforeSetStyle);
    QVERIFY(!m.OnAfterSetStyle);
    QCOMPARE(int(ctFlatEdit), 0);
    QCOMPARE(int(ctFlatFloatEdit), 1);
    QCOMPARE(int(ctFlatGroupBox), 18);
    QCOMPARE(int(ct3DSPanel), 27);
    QCOMPARE(int(ctFlatComboBoxEx), 29);
}

void TestFlatManager::borderColourRepaintsEveryField()
{
    ManagedForm f;
    QVERIFY(showActive(f));
    for (TFlatFloatEdit *e : {f.a, f.g1, f.h1})
        QCOMPARE(grabImage(e).pixelColor(20, 0), QColor(128, 128, 128));

    // Every shown field is repainted (counted in paint events: a grab would
    // paint it anew whether a repaint was asked for or not).
    QCoreApplication::processEvents();
    QList<PaintCounter *> counters;
    for (TFlatFloatEdit *e : f.fields()) {
        counters << new PaintCounter;
        counters.last()->setParent(e);
        e->installEventFilter(counters.last());
    }
    f.manager->setBorderColor(clRed);
    QCoreApplication::processEvents();
    for (qsizetype i = 0; i < counters.size(); ++i) {
        TFlatFloatEdit *e = f.fields()[i];
        QCOMPARE(counters[i]->paints > 0, e->isVisible());
        QCOMPARE(e->BorderColor(), clRed);
        const QImage img = e->isVisible() ? grabImage(e) : e->grab().toImage();
        QCOMPARE(img.pixelColor(20, 0), QColor(255, 0, 0));
        QCOMPARE(img.pixelColor(20, 1), QColor(255, 255, 255));
    }
}

void TestFlatManager::pushesAllFourSettings()
{
    ManagedForm f;
    f.g1->setActivate(true);
    f.g1->setFlat(false);
    f.g1->setShowBorder(false);
    f.g1->setBorderColor(clBlue);
    f.manager->setShowBorder(false);
    for (TFlatFloatEdit *e : f.fields()) {
        QCOMPARE(e->Activate(), false);
        QCOMPARE(e->Flat(), true);
        QCOMPARE(e->ShowBorder(), false);
        QCOMPARE(e->BorderColor(), clBtnShadow);
    }
    f.manager->setFlat(false);
    f.manager->setActivate(true);
    for (TFlatFloatEdit *e : f.fields()) {
        QCOMPARE(e->Flat(), false);
        QCOMPARE(e->Activate(), true);
    }
}

void TestFlatManager::equalValueDoesNothing()
{
    ManagedForm f;
    int calls = 0;
    f.manager->OnBeforeSetStyle = [&](QObject *, QObject *, TFlatComponentType, bool &) { ++calls; };
    f.a->setBorderColor(clRed);
    f.manager->setBorderColor(clBtnShadow);
    f.manager->setActivate(false);
    f.manager->setFlat(true);
    f.manager->setShowBorder(true);
    QCOMPARE(calls, 0);
    QCOMPARE(f.a->BorderColor(), clRed);
    // A new value styles every field again.
    f.manager->setBorderColor(clGreen);
    QCOMPARE(calls, 7);
    QCOMPARE(f.a->BorderColor(), clGreen);
}

void TestFlatManager::walkOrderAndEvents()
{
    ManagedForm f;
    QList<QObject *> before, after;
    QList<QObject *> senders;
    QList<TFlatComponentType> types;
    f.manager->OnBeforeSetStyle = [&](QObject *sender, QObject *name, TFlatComponentType type, bool &canChange) {
        QVERIFY(canChange);
        before << name;
        senders << sender;
        types << type;
    };
    f.manager->OnAfterSetStyle = [&](QObject *sender, QObject *name, TFlatComponentType type) {
        // Called after the settings were written.
        QCOMPARE(qobject_cast<TFlatFloatEdit *>(name)->ShowBorder(), false);
        QCOMPARE(sender, static_cast<QObject *>(f.manager));
        QCOMPARE(type, ctFlatFloatEdit);
        after << name;
    };
    f.manager->setShowBorder(false);
    QCOMPARE(names(before), QStringList({"a", "g1", "g2", "d", "p1", "p0", "h1"}));
    QCOMPARE(names(after), names(before));
    for (QObject *s : senders)
        QCOMPARE(s, static_cast<QObject *>(f.manager));
    for (TFlatComponentType t : types)
        QCOMPARE(t, ctFlatFloatEdit);
}

// A handler that refuses the first field of a group also skips the fields
// after it, up to the next container the walk enters.
void TestFlatManager::canChangeIsSharedAlongTheWalk()
{
    ManagedForm f;
    QList<QObject *> after;
    f.manager->OnBeforeSetStyle = [&](QObject *, QObject *name, TFlatComponentType, bool &canChange) {
        if (name == f.g1)
            canChange = false;
    };
    f.manager->OnAfterSetStyle = [&](QObject *, QObject *name, TFlatComponentType) { after << name; };
    f.manager->setBorderColor(clRed);
    QCOMPARE(names(after), QStringList({"a", "p1", "p0", "h1"}));
    QCOMPARE(f.g1->BorderColor(), clBtnShadow);
    QCOMPARE(f.g2->BorderColor(), clBtnShadow);
    QCOMPARE(f.d->BorderColor(), clBtnShadow); // after the group, flag still false
    QCOMPARE(f.p0->BorderColor(), clRed);      // a new container sets it again
    QCOMPARE(f.h1->BorderColor(), clRed);
}

void TestFlatManager::canChangeSetBackToTrue()
{
    ManagedForm f;
    f.manager->OnBeforeSetStyle = [&](QObject *, QObject *name, TFlatComponentType, bool &canChange) {
        if (name == f.a)
            canChange = false;
        if (name == f.d)
            canChange = true;
    };
    f.manager->setBorderColor(clRed);
    QCOMPARE(f.a->BorderColor(), clBtnShadow);
    QCOMPARE(f.g1->BorderColor(), clRed); // entering the group set it True
    QCOMPARE(f.d->BorderColor(), clRed);
}

void TestFlatManager::ownerMustBeWindowOrFrame()
{
    ManagedForm f;
    // A manager owned by a plain child widget, or by no one, styles nothing.
    auto *group = qobject_cast<QWidget *>(f.g1->parent());
    auto *inGroup = new TFlatManager(group);
    int calls = 0;
    inGroup->OnBeforeSetStyle = [&](QObject *, QObject *, TFlatComponentType, bool &) { ++calls; };
    inGroup->setBorderColor(clRed);
    QCOMPARE(calls, 0);
    QCOMPARE(f.g1->BorderColor(), clBtnShadow);

    TFlatManager orphan;
    orphan.setBorderColor(clRed);
    orphan.ApplyStyle();

    QObject plain;
    auto *ofObject = new TFlatManager(&plain);
    ofObject->setBorderColor(clRed);
    QCOMPARE(f.a->BorderColor(), clBtnShadow);
}

void TestFlatManager::frameOwner()
{
    QWidget w;
    auto *frame = new TCustomFrame(&w);
    auto *inFrame = ManagedForm::field(frame, "inFrame", 5);
    auto *outside = ManagedForm::field(&w, "outside", 40);
    auto *m = new TFlatManager(frame);
    m->setBorderColor(clRed);
    QCOMPARE(inFrame->BorderColor(), clRed);
    QCOMPARE(outside->BorderColor(), clBtnShadow);
}

void TestFlatManager::childWindowsAreNotWalked()
{
    ManagedForm f;
    auto *dialog = new QDialog(&f);
    auto *inDialog = ManagedForm::field(dialog, "inDialog", 5);
    f.manager->setBorderColor(clRed);
    QCOMPARE(f.a->BorderColor(), clRed);
    QCOMPARE(inDialog->BorderColor(), clBtnShadow);
}

void TestFlatManager::handlerDeletingAField()
{
    ManagedForm f;
    QList<QObject *> after;
    TFlatFloatEdit *g2 = f.g2;
    f.manager->OnBeforeSetStyle = [&](QObject *, QObject *name, TFlatComponentType, bool &) {
        if (name == f.g1)
            delete g2;
    };
    f.manager->OnAfterSetStyle = [&](QObject *, QObject *name, TFlatComponentType) { after << name; };
    f.manager->setBorderColor(clRed);
    QCOMPARE(names(after), QStringList({"a", "g1", "d", "p1", "p0", "h1"}));
}

QTEST_MAIN(TestFlatManager)
#include "test_flatmanager.moc"
