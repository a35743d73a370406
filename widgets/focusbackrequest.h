#pragma once
// The request a field sends up its parents when it has rejected its text
// but could not keep the focus, because the page holding it was switched
// away from code: a page control among the parents that holds the field on
// one of its pages shows that page again; the field then takes the focus
// back. The field itself knows nothing of pages.
#include <QEvent>

class QWidget;

class FocusBackRequest : public QEvent
{
public:
    explicit FocusBackRequest(QWidget *field) : QEvent(eventType()), m_field(field) {}

    static QEvent::Type eventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    QWidget *field() const { return m_field; }

private:
    QWidget *m_field;
};
