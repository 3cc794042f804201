#pragma once
// A timer with Interval and Enabled whose handler is never entered again while it still runs,
// even when the handler yields to the event loop.

#include <QObject>
#include <QTimer>

#include <functional>

class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject* parent, int interval, bool enabled);

    int Interval() const { return timer_.interval(); }
    void setInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // The handler; it runs through the owner's event dispatch.
    void onTimer(std::function<void()> handler) { handler_ = std::move(handler); }
    // Delivers one tick now, as the clock would (refused while the handler runs).
    void tick();

private:
    void restart();

    QTimer timer_;
    std::function<void()> handler_;
    bool enabled_ = false;
    bool running_ = false;
};
