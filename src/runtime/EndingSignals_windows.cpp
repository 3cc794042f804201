// Windows: a console's Ctrl-C and closing arrive through its own handler, not as these signals; the
// holds and masks have nothing to do.

#include "EndingSignals.h"

std::span<const int> EndingSignals::all() {
    return {};
}

void EndingSignals::block() {}

void EndingSignals::unblock() {}

void EndingSignals::noteFromNowOn() {}

int EndingSignals::noted() {
    return 0;
}

EndingSignals::Held::Held() = default;

EndingSignals::Held::~Held() = default;
