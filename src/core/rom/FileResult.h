#pragma once

#include <QString>

// The outcome of a file operation: success, or failure with one clear message.
// A success may carry a notice the user must see (an interrupted save settled).
struct CFileResult
{
    bool ok = true;
    QString message;
    QString detail;             // why, where the message itself must stay short
    bool changedOnDisk = false; // a save refused because another program changed the file

    static CFileResult Success(const QString& notice = {}) { return {true, notice, {}, false}; }
    static CFileResult Failure(const QString& message) { return {false, message, {}, false}; }
};
