#include "QuietStandardError.h"

#include <cstdio>
#include <fcntl.h>

#if defined(_WIN32)
#include <io.h>
#define dup _dup
#define dup2 _dup2
#define close _close
#define isatty _isatty
#define open _open
constexpr const char* NullDevice = "NUL";
#else
#include <unistd.h>
constexpr const char* NullDevice = "/dev/null";
#endif

namespace {
constexpr int StandardError = 2;
}

QuietStandardError::QuietStandardError() {
    std::fflush(stderr);
    const int nothing = open(NullDevice, O_WRONLY);
    if (nothing < 0) {
        return;
    }
    saved_ = dup(StandardError);
    if (saved_ >= 0) {
        dup2(nothing, StandardError);
    }
    close(nothing);
}

QuietStandardError::~QuietStandardError() {
    if (saved_ >= 0) {
        std::fflush(stderr);
        dup2(saved_, StandardError);
        close(saved_);
    }
}

bool QuietStandardError::isTerminal() {
    return isatty(StandardError) != 0;
}
