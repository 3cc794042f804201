#include "Timer.h"

Timer::Timer(QObject* parent, int interval, bool enabled) : QObject(parent), enabled_(enabled) {
    timer_.setInterval(interval);
    connect(&timer_, &QTimer::timeout, this, &Timer::tick);
    restart();
}

void Timer::setInterval(int milliseconds) {
    timer_.setInterval(milliseconds);
    restart();
}

void Timer::setEnabled(bool enabled) {
    enabled_ = enabled;
    restart();
}

void Timer::restart() {
    if (enabled_ && timer_.interval() > 0) {
        timer_.start();
    } else {
        timer_.stop();
    }
}

void Timer::tick() {
    if (running_ || !enabled_ || !handler_) {
        return;
    }
    running_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{running_};
    handler_();
}
