#pragma once
// File names as the system keeps them (bytes, not always text) shown in messages.

#include <QByteArray>
#include <QString>

// Valid UTF-8 as text; any other byte, and control characters, as \xNN, so that a message stays one
// readable line and still tells the bytes apart.
QString pathForMessages(const QByteArray& path);
