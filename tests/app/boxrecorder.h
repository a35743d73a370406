#pragma once
// Records every message box instead of showing it.
#include "app/errordisplay.h"

#include <QList>
#include <functional>

class BoxRecorder
{
public:
    BoxRecorder()
    {
        m_previous = setMessageBoxPresenter([this](const MessageBoxRequest &request) {
            boxes << request;
            if (onBox)
                onBox(request);
        });
    }
    ~BoxRecorder() { setMessageBoxPresenter(std::move(m_previous)); }
    BoxRecorder(const BoxRecorder &) = delete;
    BoxRecorder &operator=(const BoxRecorder &) = delete;

    QStringList texts() const
    {
        QStringList list;
        for (const MessageBoxRequest &box : boxes)
            list << box.text;
        return list;
    }

    QList<MessageBoxRequest> boxes;
    std::function<void(const MessageBoxRequest &)> onBox;

private:
    MessageBoxPresenter m_previous;
};
