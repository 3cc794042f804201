#pragma once
// A shell for tests: message boxes and End are recorded instead of shown or carried out.

#include "runtime/Shell.h"

#include <QStringList>

#include <functional>

class RecordingShell : public Shell {
public:
    struct Message {
        QString text;
        QString title;
    };

    void MsgBox(const QString& text, const QString& title = QString()) override;
    void End() override { ++endCount; }
    QString AppPath() const override { return appPath; }
    QSize screenTwips() const override { return screen; }

    QList<Message> messages;
    int endCount = 0;
    QString appPath;
    QSize screen{1024 * TwipsPerPixel, 768 * TwipsPerPixel};
    // Runs while a message box would be shown, as a user acting then would.
    std::function<void(const Message&)> onMessage;
};
