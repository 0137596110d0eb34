#pragma once

#include "rom/FileResult.h"
#include "rom/RomFileLayout.h"
#include "rom/SaveJournal.h"

#include <QString>

#include <cstdint>
#include <memory>

// The ROM image document: one buffer of ROM_IMAGE_SIZE bytes, a 512-byte copier
// header followed by the 3 MiB ROM, so that every sprite location is a fixed
// buffer offset. Edits go straight into the buffer; Save writes the mapped
// region back over the same file, in place and behind a recovery journal.
class CGlyphoxDoc
{
public:
    // What opening does with a pending journal of an interrupted save.
    enum class Pending
    {
        Settle, // settle it first; the success result carries a notice for the user
        Refuse, // refuse the file, changing nothing
    };

    CGlyphoxDoc();

    // Reads the file. A file that cannot be used (missing, not a regular file,
    // unreadable, not writable, too short, being saved by another program) is
    // refused and the document keeps what it had.
    CFileResult OnOpenDocument(const QString& pathName, Pending pending = Pending::Settle);
    // Writes the image over the mapped region of an existing file of usable
    // length. On failure the edits stay in memory and the file is unchanged or
    // settled on its next open.
    CFileResult OnSaveDocument(const QString& pathName);

    // Settles a pending journal of an interrupted save of the file, as opening
    // does, without reading the image; the message is empty if there was none.
    static CFileResult SettlePending(const QString& pathName);
    // Whether the editor could open and save the file, without reading or changing it.
    static CFileResult Inspect(const QString& pathName);

    // True once a file was opened: the image may be shown, edited and saved.
    bool IsImageLoaded() const { return m_nFileLength > 0; }
    bool IsHeaderless() const { return m_bHeaderless; }
    const QString& PathName() const { return m_strPathName; }

    qint64 m_nFileLength = 0;                 // length of the open file, 0 before
    std::unique_ptr<std::uint8_t[]> m_pImage; // never null, ROM_IMAGE_SIZE bytes

private:
    bool m_bHeaderless = false;
    QString m_strPathName;
};
