#include "EndingSignals.h"

#include <array>
#include <atomic>
#include <mutex>
#include <pthread.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 7> Signals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGPIPE, SIGXFSZ};

sigset_t signalSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : Signals) {
        sigaddset(&set, signal);
    }
    return set;
}

// Lock-free, so safe to touch in a signal handler.
std::atomic<int> notedSignal{0};
std::atomic<int> deferredSignal{0};

extern "C" void note(int signal) {
    int none = 0;
    notedSignal.compare_exchange_strong(none, signal);
}

extern "C" void defer(int signal) {
    int none = 0;
    deferredSignal.compare_exchange_strong(none, signal);
}

// Holds may overlap (exports in several threads): the first installs the deferring actions, the last
// puts the old ones back.
std::mutex holdsMutex;
int holds = 0;
std::array<struct sigaction, Signals.size()> savedActions;
std::array<bool, Signals.size()> deferring{};

} // namespace

std::span<const int> EndingSignals::all() {
    return Signals;
}

void EndingSignals::block() {
    const sigset_t set = signalSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void EndingSignals::unblock() {
    const sigset_t set = signalSet();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void EndingSignals::noteFromNowOn() {
    struct sigaction action {};
    action.sa_handler = note;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a blocked open, write or lock returns EINTR
    for (const int signal : Signals) {
        sigaction(signal, &action, nullptr);
    }
}

int EndingSignals::noted() {
    return notedSignal.load();
}

// Blocking them in this thread is not enough: a thread started after the windows program unblocked them
// in its main thread (Qt's image threads among them) has them unblocked too, and the system may hand a
// signal to it. While a signal's action is the default one, a hold makes it wait in any thread.
EndingSignals::Held::Held() {
    const sigset_t set = signalSet();
    pthread_sigmask(SIG_BLOCK, &set, &previousMask_);
    const std::lock_guard lock(holdsMutex);
    if (holds++ > 0) {
        return;
    }
    struct sigaction waiting {};
    waiting.sa_handler = defer;
    sigfillset(&waiting.sa_mask);
    for (std::size_t index = 0; index < Signals.size(); ++index) {
        sigaction(Signals[index], nullptr, &savedActions[index]);
        deferring[index] = savedActions[index].sa_handler == SIG_DFL;
        if (deferring[index]) {
            sigaction(Signals[index], &waiting, nullptr);
        }
    }
}

EndingSignals::Held::~Held() {
    {
        const std::lock_guard lock(holdsMutex);
        if (--holds == 0) {
            for (std::size_t index = 0; index < Signals.size(); ++index) {
                if (deferring[index]) {
                    sigaction(Signals[index], &savedActions[index], nullptr);
                }
            }
            // Sent again now that its own action is back: to the process, whichever thread takes it.
            if (const int signal = deferredSignal.exchange(0)) {
                kill(getpid(), signal);
            }
        }
    }
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}
