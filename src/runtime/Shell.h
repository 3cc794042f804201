#pragma once
// What the forms need from the desktop around them: message boxes, ending the program, the
// program's folder and the screen size. Tests put a recording stand-in in its place.

#include <QSize>
#include <QString>

#include <optional>

class QFontMetrics;
class RuntimeError;

inline const QString ApplicationTitle = QStringLiteral("Quillet");

class Shell {
public:
    virtual ~Shell() = default;

    // A text with an OK button (确定); waits until it is dismissed. An empty title shows the application's.
    virtual void MsgBox(const QString& text, const QString& title = QString()) = 0;
    // Asks for a line of text with OK and Cancel, starting from defaultText; nothing when cancelled.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& defaultText) = 0;
    // Ends the program at once: open record files are abandoned, no further handler runs.
    virtual void End() = 0;
    virtual QString AppPath() const = 0;
    // Screen.Width and Screen.Height, in twips.
    virtual QSize screenTwips() const = 0;

    // The standard report of an error that escaped an event handler, in Chinese with its number.
    void reportError(const RuntimeError& error);
};

constexpr int TwipsPerPixel = 15;

// Where the dialogs start for a program in programFolder: that folder, unless no sample pictures lie
// beside the program and its installed samples (../share/quillet/samples) do.
QString dialogStartFolder(const QString& programFolder);

// How wide a message box is at least, for its title to show whole in the title bar.
int minimumMessageBoxWidth(const QString& title, const QFontMetrics& metrics);

class DesktopShell : public Shell {
public:
    void MsgBox(const QString& text, const QString& title = QString()) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& defaultText) override;
    [[noreturn]] void End() override;
    // The program's folder, or its installed samples' folder when installed (see dialogStartFolder).
    QString AppPath() const override;
    QSize screenTwips() const override;
};
