#include "TerminalProgress.h"

#include <algorithm>
#include <string>

TerminalProgress::TerminalProgress(const char* stage, bool visible, std::FILE* stream)
    : stage_(stage), visible_(visible), stream_(stream) {}

TerminalProgress::~TerminalProgress() {
    endLine();
}

void TerminalProgress::showProgress(double percent, double) {
    show(percent / 100.0);
}

void TerminalProgress::show(double fraction) {
    const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100.0);
    if (percent != shown_) {
        draw(percent);
    }
}

void TerminalProgress::finish() {
    if (shown_ != 100) {
        draw(100);
    }
    endLine();
}

void TerminalProgress::draw(int percent) {
    shown_ = percent;
    if (!visible_) {
        return;
    }
    const int filled = percent * Cells / 100;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(Cells - filled), '.');
    std::fprintf(stream_, "\r%-7s[%s] %3d%%", stage_, bar.c_str(), percent);
    std::fflush(stream_);
    lineOpen_ = true;
}

void TerminalProgress::endLine() {
    if (lineOpen_) {
        std::fputc('\n', stream_);
        std::fflush(stream_);
        lineOpen_ = false;
    }
}
