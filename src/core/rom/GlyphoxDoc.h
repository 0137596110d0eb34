#pragma once

#include "rom/DiskState.h"
#include "rom/EditHistory.h"
#include "rom/FileResult.h"
#include "rom/ImageEdit.h"
#include "rom/RomFileLayout.h"
#include "rom/SaveJournal.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

class CPosixFile;

// The ROM image document: one buffer of ROM_IMAGE_SIZE bytes, a 512-byte copier
// header followed by the 3 MiB ROM, so that every sprite location is a fixed
// buffer offset. Its bytes change in one place only, Apply, which records each
// change in the edit history; undo and redo replay the history. Save writes the
// mapped region back over the same file, in place and behind a recovery journal.
class CGlyphoxDoc : public QObject
{
    Q_OBJECT

public:
    // What opening does with a pending journal of an interrupted save.
    enum class Pending
    {
        Settle, // settle it first; the success result carries a notice for the user
        Refuse, // refuse the file, changing nothing
    };

    explicit CGlyphoxDoc(QObject* parent = nullptr);

    // Reads the file. A file that cannot be used (missing, not a regular file,
    // unreadable, not writable, too short, being saved by another program) is
    // refused and the document keeps what it had.
    CFileResult OnOpenDocument(const QString& pathName, Pending pending = Pending::Settle);
    // Whether a save over the document's own file may replace changes another
    // program made to it since it was opened or last saved.
    enum class Overwrite
    {
        IfUnchanged, // refuse, with changedOnDisk set
        Always,
    };

    // Writes the image over the mapped region of an existing file of usable
    // length. On failure the edits stay in memory and the file is unchanged or
    // settled on its next open.
    CFileResult OnSaveDocument(const QString& pathName,
                               Overwrite overwrite = Overwrite::IfUnchanged);
    // Save As to a file that does not exist yet: the current file's bytes
    // (header, tail and all; a headered image when there is no file) with the
    // image written into them, written whole and atomically. The document then
    // continues on the new file.
    CFileResult SaveAsNewFile(const QString& pathName);

    // The file as the document last read or wrote it, and as it is now (not
    // known if it is gone or cannot be read).
    const CDiskState& DiskState() const { return m_diskState; }
    CDiskState ReadDiskState() const;

    // Settles a pending journal of an interrupted save of the file, as opening
    // does, without reading the image; the message is empty if there was none.
    static CFileResult SettlePending(const QString& pathName);
    // Whether the editor could open and save the file, without reading or changing it.
    static CFileResult Inspect(const QString& pathName);

    // True once a file was opened: the image may be shown, edited and saved.
    bool IsImageLoaded() const { return m_nFileLength > 0; }
    bool IsHeaderless() const { return m_bHeaderless; }
    qint64 FileLength() const { return m_nFileLength; }
    // The file the image belongs to; empty while untitled.
    const QString& PathName() const { return m_strPathName; }
    // File New: the image stays, its name and history go.
    void MakeUntitled();

    // ROM_IMAGE_SIZE bytes, never null.
    const std::uint8_t* Image() const { return m_pImage.get(); }

    // Writes the edit's bytes and records the change as one step of the history
    // (or as part of the open stroke); false, and nothing recorded, when the
    // bytes are already there or the edit reaches outside the buffer.
    bool Apply(const CImageEdit& edit);
    // Between these, every applied edit joins one step (a paint stroke).
    void BeginStroke(const QString& label, const CEditSite& site);
    void EndStroke();

    const CEditHistory& History() const { return m_history; }
    // The step undo or redo would take; null if none.
    const CEditHistory::Step* UndoStep() const { return m_history.UndoStep(); }
    const CEditHistory::Step* RedoStep() const { return m_history.RedoStep(); }
    bool Undo();
    bool Redo();
    // The image differs from its file: the history is away from the saved point.
    bool IsModified() const { return !m_history.IsClean(); }

signals:
    // size bytes from offset changed (an edit, undo or redo).
    void ImageChanged(qint64 offset, qint64 size);
    // The history, the modified state or the name changed.
    void StateChanged();

private:
    struct SFreeImage
    {
        void operator()(std::uint8_t* image) const;
    };
    using ImageBuffer = std::unique_ptr<std::uint8_t[], SFreeImage>;
    // Zeroed, or with its pages made ready for a read over the whole buffer.
    static ImageBuffer AllocateImage(bool zeroed);

    void Write(qint64 offset, const QByteArray& bytes);
    void StartFreshHistory();
    void MarkSaved(const QString& pathName, qint64 fileLength);
    CDiskState StateOf(CPosixFile& file, QByteArrayView mapped) const;

    qint64 m_nFileLength = 0; // length of the open file, 0 before
    ImageBuffer m_pImage;
    ImageBuffer m_pDiskBytes; // the file's mapped bytes as a save reads them
    bool m_bHeaderless = false;
    QString m_strPathName;
    CEditHistory m_history;
    CDiskState m_diskState;
    bool m_bStrokeOpen = false;
    bool m_bStrokeStepPushed = false;
    QString m_strStrokeLabel;
    CEditSite m_strokeSite;
};
