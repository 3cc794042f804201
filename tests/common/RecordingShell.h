#pragma once
// A shell for tests: message boxes and End are recorded instead of shown or carried out.

#include "runtime/Shell.h"

#include <QStringList>

#include <optional>

class RecordingShell : public Shell {
public:
    struct Message {
        QString text;
        QString title;
    };

    void MsgBox(const QString& text, const QString& title = QString()) override {
        messages.append({text, title.isEmpty() ? ApplicationTitle : title});
    }
    // Records the question and answers from yesNoAnswers, in turn; 是 once they run out.
    bool YesNoBox(const QString& question, const QString& /*title*/ = QString()) override {
        questions.append(question);
        return yesNoAnswers.isEmpty() || yesNoAnswers.takeFirst();
    }
    // Records the prompt and answers from answers, in turn; cancelled once they run out.
    std::optional<QString> InputBox(const QString& prompt, const QString& defaultText) override {
        prompts.append({prompt, defaultText});
        return answers.isEmpty() ? std::nullopt : std::optional<QString>(answers.takeFirst());
    }
    void End() override { ++endCount; }
    QString dialogFolder() const override { return startFolder; }
    QSize screenTwips() const override { return screen; }

    QList<Message> messages;
    QList<Message> prompts; // prompt and default text
    QStringList answers;
    QStringList questions;
    QList<bool> yesNoAnswers;
    int endCount = 0;
    QString startFolder;
    QSize screen{1024 * TwipsPerPixel, 768 * TwipsPerPixel};
};
