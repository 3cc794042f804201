#pragma once
// The window benchmarks' shell: messages go to standard error, nothing asks or ends the program, and
// the screen has a fixed size so that every run lays out the same windows.

#include "runtime/Shell.h"

#include <QCoreApplication>

#include <cstdio>

class QuietShell : public Shell {
public:
    explicit QuietShell(QSize screenPixels = QSize(1920, 1200)) : screenPixels_(screenPixels) {}

    void MsgBox(const QString& text, const QString&) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    std::optional<QString> InputBox(const QString&, const QString&) override { return std::nullopt; }
    void End() override {}
    QString AppPath() const override { return QCoreApplication::applicationDirPath(); }
    QSize screenTwips() const override { return screenPixels_ * TwipsPerPixel; }

private:
    QSize screenPixels_;
};
