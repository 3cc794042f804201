#include "DoEvents.h"

#include <QCoreApplication>

namespace {

constexpr qint64 PollIntervalNanoseconds = 10'000'000;

} // namespace

void DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void ColumnYield::operator()() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    if (!sincePoll_.isValid() || sincePoll_.nsecsElapsed() >= PollIntervalNanoseconds) {
        DoEvents();
        sincePoll_.restart();
    }
}
