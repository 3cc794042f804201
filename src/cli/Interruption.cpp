#include "Interruption.h"

#include <csignal>
#include <cstdlib>

namespace {

volatile std::sig_atomic_t arrivedSignal = 0;

const int Watched[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGUSR1, SIGXFSZ};

extern "C" void note(int signal) {
    if (arrivedSignal == 0) {
        arrivedSignal = signal;
    }
}

} // namespace

void Interruption::watch() {
    struct sigaction action {};
    action.sa_handler = note;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a blocked open or write returns EINTR
    for (const int signal : Watched) {
        sigaction(signal, &action, nullptr);
    }
}

void Interruption::check() {
    if (arrivedSignal != 0) {
        throw Raised{arrivedSignal};
    }
}

int Interruption::arrived() {
    return arrivedSignal;
}

void Interruption::endAs(const Raised& raised) {
    if (raised.signal != SIGQUIT && raised.signal != SIGXFSZ) {
        std::signal(raised.signal, SIG_DFL);
        std::raise(raised.signal);
    }
    std::_Exit(128 + raised.signal);
}
