#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Marks a ROM image file as open in an editor, so that a second editor or a
// command-line write can tell, and name the holder. The mark is a lock file
// beside the save journals, keyed by the file's canonical path; a mark left by
// a process that is gone is taken over.
class CEditorLock
{
public:
    struct Holder
    {
        bool held = false;
        qint64 pid = 0;
        QString host;
        QString application;
    };

    // Who holds the file, without taking it.
    static Holder HolderOf(const QString& filePath);
    // A one-line description of a holder: "Glyphox (process 123 on host)".
    static QString Describe(const Holder& holder);

    // Takes the mark for filePath, dropping any held before; false (and nothing
    // held) if another process holds it.
    bool Take(const QString& filePath);
    void Release();
    bool IsHeld() const { return m_lock != nullptr; }

private:
    static QString LockPathFor(const QString& filePath);

    std::unique_ptr<QLockFile> m_lock;
};
