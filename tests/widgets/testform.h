#pragma once
// A small form for driving the flat controls through real events.
#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <memory>

#include "core/numtext.h"
#include "tests/paintcounter.h"
#include "widgets/flatfloatedit.h"

// Shows `w` as the active window; returns false if that did not happen.
inline bool showActive(QWidget &w)
{
    w.show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    QCoreApplication::processEvents();
    return w.isActiveWindow();
}

// The mouse entering or leaving `w`, as the toolkit's hover tracking
// reports it.
inline void hover(QWidget *w, bool inside)
{
    if (inside) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(w, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(w, &leave);
    }
}

// Fields as the program's forms configure them.
inline void configureLikeForm(TFlatFloatEdit *e)
{
    e->setActivate(false);
    e->setBorderColor(clBtnShadow);
    e->setFlat(true);
    e->setShowBorder(true);
}

// Three fields in tab order and a push button.
class TestForm : public QWidget
{
public:
    TFlatFloatEdit *a, *b, *c;
    QPushButton *button;

    TestForm()
    {
        resize(300, 200);
        a = new TFlatFloatEdit(this);
        a->setObjectName("a");
        a->setGeometry(10, 10, 60, 21);
        b = new TFlatFloatEdit(this);
        b->setObjectName("b");
        b->setGeometry(10, 40, 60, 21);
        c = new TFlatFloatEdit(this);
        c->setObjectName("c");
        c->setGeometry(10, 70, 60, 21);
        button = new QPushButton("Очистить", this);
        button->setGeometry(10, 110, 100, 25);
        for (TFlatFloatEdit *e : {a, b, c})
            configureLikeForm(e);
    }
};

inline QImage grabImage(QWidget *w)
{
    QCoreApplication::processEvents();
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A test class whose every test drives a fresh TestForm, shown as the
// active window with the focus on its button, so that the fields start
// without the focus.
class TestFormFixture : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<TestForm> m_form;

    // Gives `e` the focus as the keyboard would (the field before it has a
    // valid text).
    void focusWithTab(TFlatFloatEdit *e)
    {
        e->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), e);
    }

private slots:
    void initTestCase()
    {
        setDecimalSeparator('.');
        QApplication::setStyle("Fusion");
    }

    void init()
    {
        m_form = std::make_unique<TestForm>();
        QVERIFY(showActive(*m_form));
        m_form->button->setFocus();
    }

    void cleanup() { m_form.reset(); }
};
