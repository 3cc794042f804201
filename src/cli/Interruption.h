#pragma once
// The signals that end quillet-export (runtime/EndingSignals: Ctrl-C, a request to terminate, the
// terminal closed, a reader gone, a file-size limit, ...), taken at the next column rather than at once:
// the run unwinds, so the point file's temporary copy goes and an existing file stays as it was. One that
// comes after the last column keeps the file from being put in place, or, once it is there, is told
// with the file written. They interrupt any wait of a system call, which then fails instead of waiting on.

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
    // The signal that has arrived, or 0.
    static int arrived();
    // Ends the program with status 128 + the signal, as the signal itself would where it only ends a
    // program (a core dump is not wanted).
    [[noreturn]] static void endAs(const Raised& raised);
};
