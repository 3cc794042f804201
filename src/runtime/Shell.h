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
    // Asks a question with the buttons 是 and 否 (否 the default, also for Esc); true for 是.
    virtual bool YesNoBox(const QString& question, const QString& title = QString()) = 0;
    // Asks for a line of text with OK and Cancel, starting from defaultText; nothing when cancelled.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& defaultText) = 0;
    // Ends the program at once: open output files are abandoned, no further handler runs.
    virtual void End() = 0;
    // The folder the open and export dialogs start in, remembered from the last use; it stands where
    // the program reads App.Path.
    virtual QString dialogFolder() const = 0;
    // Notes the folder a dialog was last used in, where the dialogs start the next time.
    virtual void folderUsed(const QString& /*folder*/) {}
    // Screen.Width and Screen.Height, in twips.
    virtual QSize screenTwips() const = 0;

    // The standard report of an error that escaped an event handler, in Chinese with its number.
    void reportError(const RuntimeError& error);
};

constexpr int TwipsPerPixel = 15;

// Where the dialogs start: the folder remembered from the last use while it exists; else the program's
// folder when sample pictures lie beside it (the build tree); else its installed samples
// (../share/quillet/samples); else the user's pictures folder, else home.
QString dialogStartFolder(const QString& programFolder, const QString& remembered = QString());

// How wide a message box is at least, for its title to show whole in the title bar.
int minimumMessageBoxWidth(const QString& title, const QFontMetrics& metrics);

class DesktopShell : public Shell {
public:
    void MsgBox(const QString& text, const QString& title = QString()) override;
    bool YesNoBox(const QString& question, const QString& title = QString()) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& defaultText) override;
    [[noreturn]] void End() override;
    // Where the dialogs start (see dialogStartFolder), the last used folder kept with QSettings.
    QString dialogFolder() const override;
    void folderUsed(const QString& folder) override;
    QSize screenTwips() const override;
};
