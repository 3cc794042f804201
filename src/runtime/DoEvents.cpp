#include "DoEvents.h"

#include <QCoreApplication>

void DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
