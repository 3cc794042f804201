#pragma once
// Ctrl-C and requests to terminate, taken at the next column rather than at once: the run unwinds,
// so the point file's temporary copy is removed and an existing file stays as it was.

class Interruption {
public:
    // Thrown by check() once a signal has arrived.
    struct Raised {
        int signal;
    };

    // Catches the signals from now on.
    static void watch();
    // Throws Raised when a signal has arrived since watch().
    static void check();
    // Ends the program as the signal would have ended it.
    [[noreturn]] static void endAs(const Raised& raised);
};
