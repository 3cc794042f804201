#include "RecordingShell.h"

void RecordingShell::MsgBox(const QString& text, const QString& title) {
    messages.append({text, title.isEmpty() ? ApplicationTitle : title});
}
