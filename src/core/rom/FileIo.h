#pragma once

#include <QByteArray>
#include <QString>

// Reads the first min(length, maxBytes) bytes of a regular file, never blocking on
// a pipe or device; false if it is not a regular file or cannot be read.
bool ReadFileStart(const QString& path, qint64 maxBytes, QByteArray* bytes);

// Makes a rename, creation or removal in the folder durable. On failure errno
// tells why.
bool SyncDirectory(const QString& path);
