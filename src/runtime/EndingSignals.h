#pragma once
// The signals that end a run of either program: INT, TERM, HUP, QUIT, USR1, PIPE and XFSZ (Ctrl-C, a
// request to terminate, the terminal closed, a reader gone, a file-size limit, ...). The windows
// program lets them act as they would; the command notes them and stops at its next step. Either way
// one that arrives while a file is rewritten in place takes effect only once the copy is complete.

#include <span>

#if !defined(_WIN32)
#include <csignal>
#endif

class EndingSignals {
public:
    static std::span<const int> all();

    // In the calling thread only; a thread started later starts with its starter's mask.
    static void block();
    static void unblock();

    // From now on they are only noted, and end the wait of a system call (which fails with EINTR).
    static void noteFromNowOn();
    // The first signal noted, or 0.
    static int noted();

    // While it lives the signals are held: blocked in this thread, and one that another thread takes
    // while its action is the default one waits as well. When the last hold ends, each acts as it would
    // have on arriving.
    class Held {
    public:
        Held();
        ~Held();
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;

    private:
#if !defined(_WIN32)
        sigset_t previousMask_;
#endif
    };
};
