#pragma once
// Keeps standard error quiet while it lives: the picture decoders' libraries write their own notes
// there directly, past Qt's message handling, and every failure is to be told in one line.

class QuietStandardError {
public:
    QuietStandardError();
    ~QuietStandardError();
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

    // Whether standard error goes to a terminal.
    static bool isTerminal();

private:
    int saved_ = -1;
};
