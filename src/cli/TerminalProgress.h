#pragma once
// A progress bar for one stage of quillet-export, drawn on standard error over and over on one line;
// an invisible bar draws nothing. It is also the progress display of the pixel runs.

#include "convert/ConversionSteps.h"

#include <cstdio>

class TerminalProgress : public ProgressDisplay {
public:
    TerminalProgress(const char* stage, bool visible, std::FILE* stream = stderr);
    // A bar left unfinished (the stage failed) still ends its line, so that what follows starts afresh.
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    double fullBarWidth() const override { return Cells; }
    void showProgress(double percent, double barWidth) override;

    // Shows the fraction done, 0 to 1 (clamped); draws only when the percentage changes.
    void show(double fraction);
    // Shows 100 % and ends the line.
    void finish();

private:
    static constexpr int Cells = 40;

    void draw(int percent);
    void endLine();

    const char* stage_;
    bool visible_;
    std::FILE* stream_;
    int shown_ = -1;
    bool lineOpen_ = false;
};
