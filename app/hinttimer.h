#pragma once
// The countdown of the hint controller: one single-shot precise timer on
// the GUI thread. Tests put a timer of their own in its place and drive
// time by hand.
#include <QObject>

class QTimer;

class HintTimer : public QObject
{
    Q_OBJECT

public:
    explicit HintTimer(QObject *parent = nullptr);
    ~HintTimer() override;

    // Starts counting `ms` milliseconds, stopping a countdown that runs.
    // False when no timer could be had.
    virtual bool start(int ms);
    virtual void stop();
    virtual bool isActive() const;

signals:
    // The countdown has run out (once per start).
    void expired();

private:
    QTimer *m_timer;
};
