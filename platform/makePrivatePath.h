#pragma once

#include <QByteArray>

// mkdir -p for the program's own data, private as any XDG data folder we
// create. On failure errno keeps the system's reason for the message.
bool makePrivatePath(const QByteArray &path);
