#include "Interruption.h"

#include "runtime/EndingSignals.h"

#include <csignal>
#include <cstdlib>

void Interruption::watch() {
    EndingSignals::noteFromNowOn();
}

void Interruption::check() {
    if (const int signal = EndingSignals::noted()) {
        throw Raised{signal};
    }
}

int Interruption::arrived() {
    return EndingSignals::noted();
}

void Interruption::endAs(const Raised& raised) {
    if (raised.signal != SIGQUIT && raised.signal != SIGXFSZ) {
        std::signal(raised.signal, SIG_DFL);
        EndingSignals::unblock();
        std::raise(raised.signal);
    }
    std::_Exit(128 + raised.signal);
}
