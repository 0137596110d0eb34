#pragma once

#include <QFileDevice>
#include <QString>

// Checked, durable file primitives: every byte asked for is read or written, or
// the call reports failure.

bool ReadExactly(QFileDevice& file, qint64 offset, char* data, qint64 size);
bool WriteAll(QFileDevice& file, qint64 offset, const char* data, qint64 size);
// Flushes Qt's buffer and asks the system to put the file's data on the disk.
bool SyncFile(QFileDevice& file);
// Makes a rename or removal in the folder durable (a no-op where unsupported).
bool SyncDirectory(const QString& path);
