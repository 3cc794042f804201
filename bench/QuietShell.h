#pragma once
// The window benchmarks' shell and set-up: messages go to standard error, nothing asks or ends the
// program, the screen has a fixed size and the picture window one size, so that every run lays out the
// same windows.

#include "runtime/Shell.h"

#include <QCoreApplication>
#include <QSize>

#include <cstdio>

// Without a display unless a platform is named.
inline void preferOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

// A picture window whose viewport (with its border) is 1600 x 1000.
inline constexpr QSize PictureWindowSize(1600 + 17, 1000 + 17);

class QuietShell : public Shell {
public:
    explicit QuietShell(QSize screenPixels = QSize(1920, 1200)) : screenPixels_(screenPixels) {}

    void MsgBox(const QString& text, const QString&) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool YesNoBox(const QString&, const QString&) override { return true; }
    std::optional<QString> InputBox(const QString&, const QString&) override { return std::nullopt; }
    void End() override {}
    QString dialogFolder() const override { return QCoreApplication::applicationDirPath(); }
    QSize screenTwips() const override { return screenPixels_ * TwipsPerPixel; }

private:
    QSize screenPixels_;
};
