#include "FileIo.h"

#include "rom/PosixFile.h"

#include <fcntl.h>

bool SyncDirectory(const QString& path)
{
    CPosixFile folder;
    return folder.Open(path, O_RDONLY | O_DIRECTORY) && folder.Sync() && folder.Close();
}
