#pragma once
// Esc in a window (or any control of it that leaves the key alone) unloads that window and nothing
// else: the export dialog's Esc closes the dialog, while its 取消 keeps ending the program.

#include <QObject>

class Form;

class EscapeUnloads : public QObject {
    Q_OBJECT
public:
    explicit EscapeUnloads(Form& form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form& form_;
};
