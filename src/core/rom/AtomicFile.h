#pragma once

#include "rom/FileResult.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Output files written whole or not at all. The bytes go to a new file beside
// the target, which is written, synced and closed, then renamed over the target,
// and the folder synced; every step is checked. Until all of it succeeds an
// earlier file of that name stays exactly as it was. A link is followed: its
// target gets the new content and the link stays.
class CAtomicFile
{
public:
    // Refuses a target that exists and is not a regular file (a folder, pipe,
    // device or socket is never replaced), or that is the same file as one of
    // inputs, whatever links lead there.
    static CFileResult CheckTarget(const QString& path, const QStringList& inputs = {});
    static CFileResult Write(const QString& path, QByteArrayView bytes);
};
