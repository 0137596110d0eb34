#pragma once

#include <QString>

// Makes a rename, creation or removal in the folder durable. On failure errno
// tells why.
bool SyncDirectory(const QString& path);
