#pragma once
// DoEvents: runs the pending events (clicks, close requests, repaints, timer ticks), then returns.

#include <QElapsedTimer>

void DoEvents();

// DoEvents for a loop that yields once per picture column. Events the program posted itself (queued
// calls) run at every call; the window system and the timers are polled at most every ten
// milliseconds, because a poll costs more than a column of pixels and no user can tell a click
// handled ten milliseconds later from one made ten milliseconds later.
class ColumnYield {
public:
    void operator()();

private:
    QElapsedTimer sincePoll_;
};
