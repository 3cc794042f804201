#pragma once
// Runs the built quillet-export, without any display, and collects how it ended and what it printed.

#include <QByteArray>
#include <QStringList>

#include <functional>

struct ExporterRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// `inChild` runs in the started process just before the program (to hand it a terminal, say).
ExporterRun runExporter(const QStringList& arguments, const std::function<void()>& inChild = {});
