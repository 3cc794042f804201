#pragma once
// The command line of quillet-export: its options and arguments become export settings, or the text
// to print and the exit status when it asks for help or the version or is wrong. The arguments are the
// system's bytes; file names stay so, and messages show them with other bytes escaped.

#include "ExportSettings.h"
#include "runtime/Failure.h"

#include <QByteArray>
#include <QList>
#include <QString>

class CommandLine {
public:
    enum class Request { Export, Help, Version, UsageError };

    // `arguments` starts with the program's name.
    static CommandLine parse(const QList<QByteArray>& arguments);

    Request request() const { return request_; }
    const ExportSettings& settings() const { return settings_; }
    // The help or version text, or the one-line usage error (all without the final newline).
    const QString& text() const { return text_; }

    static QString helpText();
    static QString versionText();

private:
    static CommandLine usageError(const Failure& failure);

    Request request_ = Request::Export;
    ExportSettings settings_;
    QString text_;
};
