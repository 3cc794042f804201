#include "Interruption.h"

#include <csignal>
#include <cstdlib>

namespace {

volatile std::sig_atomic_t arrived = 0;

extern "C" void note(int signal) {
    arrived = signal;
}

} // namespace

void Interruption::watch() {
    std::signal(SIGINT, note);
    std::signal(SIGTERM, note);
}

void Interruption::check() {
    if (arrived != 0) {
        throw Raised{arrived};
    }
}

void Interruption::endAs(const Raised& raised) {
    std::signal(raised.signal, SIG_DFL);
    std::raise(raised.signal);
    std::_Exit(128 + raised.signal);
}
