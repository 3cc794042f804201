#include "EscapeUnloads.h"

#include "runtime/Form.h"

#include <QKeyEvent>

EscapeUnloads::EscapeUnloads(Form& form) : QObject(&form), form_(form) {
    form.installEventFilter(this);
}

bool EscapeUnloads::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_ && event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier) {
            form_.Unload();
            return true;
        }
    }
    return false;
}
