#include "GlyphoxDoc.h"

#include "rom/AtomicFile.h"
#include "rom/ContentHash.h"
#include "rom/FileIdentity.h"
#include "rom/PosixFile.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

namespace {

// The image's mapping is a whole number of 2 MiB pages (4 MiB).
constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kImageMapping = (ROM_IMAGE_SIZE + kHugePage - 1) / kHugePage * kHugePage;

// How long an open or save waits for another program's save of the file to end.
constexpr int kLockWaitMs = 2000;

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Why a ROM image file cannot be opened, in the user's terms.
CFileResult OpenRefused(const QString& path, const CPosixFile& file)
{
    const QString name = Shown(path);
    struct stat info = {};
    const int error = errno;
    if (error == ENOENT)
        return CFileResult::Failure(QStringLiteral("“%1” does not exist.").arg(name));
    if (::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return CFileResult::Failure(
            QStringLiteral("“%1” is %2, not a ROM image.").arg(name, FileKindName(info.st_mode)));
    CPosixFile reader;
    if (error == EACCES || error == EROFS || error == EPERM || error == ETXTBSY) {
        if (!reader.Open(path, O_RDONLY))
            return CFileResult::Failure(
                QStringLiteral("Cannot read “%1”: %2.").arg(name, reader.ErrorText()));
        return CFileResult::Failure(
            QStringLiteral("“%1” cannot be opened for writing (%2). Glyphox saves edits back into "
                           "the same file, so it only opens files it may write.")
                .arg(name, file.ErrorText()));
    }
    return CFileResult::Failure(
        QStringLiteral("Cannot open “%1”: %2.").arg(name, file.ErrorText()));
}

// Opens an existing regular file for reading and writing without ever blocking
// on a pipe or device, with a message naming why not.
CFileResult OpenRomFile(const QString& path, CPosixFile& file)
{
    if (!file.Open(path, O_RDWR))
        return OpenRefused(path, file);
    struct stat info = {};
    if (!file.Stat(&info))
        return CFileResult::Failure(
            QStringLiteral("Cannot read “%1”: %2.").arg(Shown(path), file.ErrorText()));
    if (!S_ISREG(info.st_mode))
        return CFileResult::Failure(QStringLiteral("“%1” is %2, not a ROM image.")
                                        .arg(Shown(path), FileKindName(info.st_mode)));
    return CFileResult::Success();
}

// Waits briefly for another program's save of the file; the lock is held until
// the descriptor is closed.
CFileResult LockRomFile(const QString& path, CPosixFile& file)
{
    if (file.TakeLock(CPosixFile::Lock::Exclusive, kLockWaitMs))
        return CFileResult::Success();
    if (file.Busy())
        return CFileResult::Failure(QStringLiteral("“%1” is being saved by another program; try "
                                                   "again when it has finished.")
                                        .arg(Shown(path)));
    return CFileResult::Failure(
        QStringLiteral("Cannot lock “%1”: %2.").arg(Shown(path), file.ErrorText()));
}

qint64 LengthOf(CPosixFile& file)
{
    struct stat info = {};
    return file.Stat(&info) ? qint64(info.st_size) : -1;
}

// The length rule: a multiple of 1024 bytes has no copier header and needs the
// 3 MiB ROM; any other length is taken to start with the 512-byte header.
CFileResult TooShort(const QString& name, qint64 length)
{
    if (length % 1024 == 0)
        return CFileResult::Failure(
            QStringLiteral("“%1” is too short to be a Morrow ROM image: it holds %2 bytes, a "
                           "multiple of 1,024, so it has no copier header, and such an image "
                           "needs at least 3,145,728 bytes.")
                .arg(name, QLocale::c().toString(length)));
    return CFileResult::Failure(
        QStringLiteral("“%1” is too short to be a Morrow ROM image: it holds %2 bytes, not a "
                       "multiple of 1,024, so it is taken to start with a 512-byte copier "
                       "header, and such an image needs at least 3,146,240 bytes.")
            .arg(name, QLocale::c().toString(length)));
}

constexpr qint64 kCompareBlock = 4096;

// Index of the first byte where a and b differ, or size if they are equal.
qint64 FirstDifference(const char* a, const char* b, qint64 size)
{
    qint64 i = 0;
    while (i + kCompareBlock <= size && std::memcmp(a + i, b + i, kCompareBlock) == 0)
        i += kCompareBlock;
    while (i < size && a[i] == b[i])
        ++i;
    return i;
}

// Index of the last byte where a and b differ; they must differ somewhere.
qint64 LastDifference(const char* a, const char* b, qint64 size)
{
    qint64 end = size;
    while (end >= kCompareBlock &&
           std::memcmp(a + end - kCompareBlock, b + end - kCompareBlock, kCompareBlock) == 0)
        end -= kCompareBlock;
    qint64 i = end - 1;
    while (a[i] == b[i])
        --i;
    return i;
}

} // namespace

CGlyphoxDoc::CGlyphoxDoc(QObject* parent) : QObject(parent), m_pImage(AllocateImage(true)) {}

void CGlyphoxDoc::SFreeImage::operator()(std::uint8_t* image) const
{
    ::munmap(image, kImageMapping);
}

CGlyphoxDoc::ImageBuffer CGlyphoxDoc::AllocateImage(bool zeroed)
{
    // One huge page more than the image, so that it can start on a boundary.
    void* reserved = ::mmap(nullptr, kImageMapping + kHugePage, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (reserved == MAP_FAILED)
        throw std::bad_alloc();
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(reserved);
    const std::size_t head = (kHugePage - start % kHugePage) % kHugePage;
    auto* image = static_cast<std::uint8_t*>(reserved) + head;
    if (head != 0)
        ::munmap(reserved, head);
    ::munmap(image + kImageMapping, kHugePage - head);
    // A file's image is read, hashed and compared whole. In 4 KiB pages that faults
    // 769 pages in, and touches each again on the first read after the kernel wrote
    // it; two huge pages cost a tenth of that. Both calls are advice: without huge
    // pages the small ones are still made ready in one call. A zeroed image stays
    // unpopulated, so that the few pages an empty document shows are all it holds.
    if (!zeroed) {
#ifdef MADV_HUGEPAGE
        ::madvise(image, kImageMapping, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
        ::madvise(image, kImageMapping, MADV_POPULATE_WRITE);
#endif
    }
    return ImageBuffer(image);
}

void CGlyphoxDoc::Write(qint64 offset, const QByteArray& bytes)
{
    std::memcpy(m_pImage.get() + offset, bytes.constData(), std::size_t(bytes.size()));
    emit ImageChanged(offset, bytes.size());
}

void CGlyphoxDoc::StartFreshHistory()
{
    m_history.Clear();
    m_bStrokeOpen = false;
    m_bStrokeStepPushed = false;
    emit StateChanged();
}

void CGlyphoxDoc::MakeUntitled()
{
    m_strPathName.clear();
    m_diskState = {};
    StartFreshHistory();
}

bool CGlyphoxDoc::Apply(const CImageEdit& edit)
{
    const qint64 size = edit.bytes.size();
    if (edit.offset < 0 || size <= 0 || edit.offset > qint64(ROM_IMAGE_SIZE) - size)
        return false;
    const char* current = reinterpret_cast<const char*>(m_pImage.get()) + edit.offset;
    const qint64 first = FirstDifference(current, edit.bytes.constData(), size);
    if (first == size)
        return false;
    const qint64 span = LastDifference(current, edit.bytes.constData(), size) - first + 1;
    const qint64 start = edit.offset + first;
    const QByteArray after = edit.bytes.mid(first, span);

    const CEditHistory::Step* top = m_history.Top();
    if (m_bStrokeOpen && m_bStrokeStepPushed && top) {
        // The stroke's step grows to cover both spans; bytes it had not touched
        // yet are still the ones from before the stroke.
        CEditHistory::Step step = *top;
        const qint64 from = qMin(step.offset, start);
        const qint64 to = qMax(step.offset + step.before.size(), start + span);
        QByteArray before(reinterpret_cast<const char*>(m_pImage.get()) + from, to - from);
        before.replace(step.offset - from, step.before.size(), step.before);
        Write(start, after);
        step.offset = from;
        step.before = before;
        step.after = QByteArray(reinterpret_cast<const char*>(m_pImage.get()) + from, to - from);
        m_history.ReplaceTop(std::move(step));
    } else {
        CEditHistory::Step step;
        step.label = m_bStrokeOpen ? m_strStrokeLabel : edit.label;
        step.site = m_bStrokeOpen ? m_strokeSite : edit.site;
        step.offset = start;
        step.before = QByteArray(current + first, span);
        step.after = after;
        Write(start, after);
        m_history.Push(std::move(step));
        m_bStrokeStepPushed = m_bStrokeOpen;
    }
    emit StateChanged();
    return true;
}

void CGlyphoxDoc::BeginStroke(const QString& label, const CEditSite& site)
{
    EndStroke();
    m_bStrokeOpen = true;
    m_bStrokeStepPushed = false;
    m_strStrokeLabel = label;
    m_strokeSite = site;
}

void CGlyphoxDoc::EndStroke()
{
    if (!m_bStrokeOpen)
        return;
    const CEditHistory::Step* top = m_history.Top();
    // A stroke that ended where it began (painted back over) leaves no step.
    if (m_bStrokeStepPushed && top && top->before == top->after) {
        m_history.DropTop();
        emit StateChanged();
    }
    m_bStrokeOpen = false;
    m_bStrokeStepPushed = false;
}

void CGlyphoxDoc::MarkSaved(const QString& pathName, qint64 fileLength)
{
    m_strPathName = pathName;
    m_nFileLength = fileLength;
    m_history.SetClean();
    emit StateChanged();
}

bool CGlyphoxDoc::Undo()
{
    EndStroke();
    const CEditHistory::Step* step = m_history.Undo();
    if (!step)
        return false;
    Write(step->offset, step->before);
    emit StateChanged();
    return true;
}

bool CGlyphoxDoc::Redo()
{
    EndStroke();
    const CEditHistory::Step* step = m_history.Redo();
    if (!step)
        return false;
    Write(step->offset, step->after);
    emit StateChanged();
    return true;
}

CFileResult CGlyphoxDoc::Inspect(const QString& pathName)
{
    CPosixFile file;
    if (CFileResult opened = OpenRomFile(pathName, file); !opened.ok)
        return opened;
    const CRomFileLayout layout = CRomFileLayout::ForLength(LengthOf(file));
    if (!layout.IsUsable())
        return TooShort(Shown(pathName), layout.fileLength);
    return CFileResult::Success();
}

CFileResult CGlyphoxDoc::SettlePending(const QString& pathName)
{
    CPosixFile file;
    if (CFileResult opened = OpenRomFile(pathName, file); !opened.ok)
        return opened;
    if (CFileResult locked = LockRomFile(pathName, file); !locked.ok)
        return locked;
    return CSaveJournal::Settle(file, CFileIdentity::Of(file, pathName), Shown(pathName));
}

CFileResult CGlyphoxDoc::OnOpenDocument(const QString& pathName, Pending pending)
{
    CPosixFile file;
    const QString name = Shown(pathName);
    if (CFileResult opened = OpenRomFile(pathName, file); !opened.ok)
        return opened;
    if (CFileResult locked = LockRomFile(pathName, file); !locked.ok)
        return locked;
    const CFileIdentity identity = CFileIdentity::Of(file, pathName);
    if (pending == Pending::Refuse && CSaveJournal::IsPending(identity))
        return CFileResult::Failure(
            QStringLiteral("The last save of “%1” was interrupted and is not settled yet.")
                .arg(name));
    const CFileResult settled = CSaveJournal::Settle(file, identity, name);
    if (!settled.ok)
        return settled;

    const CRomFileLayout layout = CRomFileLayout::ForLength(LengthOf(file));
    if (!layout.IsUsable())
        return TooShort(name, layout.fileLength);

    ImageBuffer image = AllocateImage(false);
    if (!file.ReadAt(0, reinterpret_cast<char*>(image.get() + layout.BufferOffset()),
                     layout.MappedSize()))
        return CFileResult::Failure(
            QStringLiteral("Cannot read “%1”: %2.").arg(name, file.ErrorText()));

    m_diskState = StateOf(
        file, QByteArrayView(reinterpret_cast<const char*>(image.get()) + layout.BufferOffset(),
                             layout.MappedSize()));
    m_pImage = std::move(image);
    m_nFileLength = layout.fileLength;
    m_bHeaderless = layout.kind == CRomFileLayout::Headerless;
    m_strPathName = pathName;
    StartFreshHistory();
    emit ImageChanged(0, ROM_IMAGE_SIZE);
    return settled;
}

CFileResult CGlyphoxDoc::OnSaveDocument(const QString& pathName, Overwrite overwrite)
{
    const QString name = Shown(pathName);
    const QString nothingSaved = QStringLiteral(" Nothing was saved.");
    if (!IsImageLoaded())
        return CFileResult::Failure(QStringLiteral("There is no ROM image to save."));
    CPosixFile file;
    if (CFileResult opened = OpenRomFile(pathName, file); !opened.ok)
        return CFileResult::Failure(opened.message + nothingSaved);
    if (CFileResult locked = LockRomFile(pathName, file); !locked.ok)
        return CFileResult::Failure(locked.message + nothingSaved);
    const CFileIdentity identity = CFileIdentity::Of(file, pathName);
    // A journal left by another process's interrupted save is settled first.
    const CFileResult settled = CSaveJournal::Settle(file, identity, name);
    if (!settled.ok)
        return settled;

    const CRomFileLayout layout = CRomFileLayout::ForLength(LengthOf(file));
    if (!layout.IsUsable())
        return CFileResult::Failure(TooShort(name, layout.fileLength).message + nothingSaved);

    // An image read without a header has none to give: a headered target keeps its own.
    const qint64 skip =
        (m_bHeaderless && layout.kind == CRomFileLayout::Headered) ? COPIER_HEADER_SIZE : 0;
    const qint64 fileStart = skip;
    const qint64 size = layout.MappedSize() - skip;
    const char* source =
        reinterpret_cast<const char*>(m_pImage.get() + layout.BufferOffset() + skip);

    // Every save reads into the same buffer: fresh pages for 3 MiB cost more to
    // fault in than the read itself.
    if (!m_pDiskBytes)
        m_pDiskBytes = AllocateImage(false);
    char* diskBytes = reinterpret_cast<char*>(m_pDiskBytes.get());
    const QByteArrayView old(diskBytes, size);
    if (!file.ReadAt(fileStart, diskBytes, size))
        return CFileResult::Failure(
            QStringLiteral("Cannot read “%1” before saving: %2.").arg(name, file.ErrorText()) +
            nothingSaved);

    // Only the span from the first to the last changed byte is journalled and written.
    const qint64 first = FirstDifference(old.constData(), source, size);
    if (first == size) {
        m_diskState = StateOf(file, old);
        MarkSaved(pathName, layout.fileLength);
        return settled;
    }
    // Another program's changes to this document's own file are never replaced unasked.
    if (overwrite == Overwrite::IfUnchanged && pathName == m_strPathName && skip == 0 &&
        !StateOf(file, old).SameContent(m_diskState)) {
        CFileResult refused = CFileResult::Failure(
            QStringLiteral("“%1” was changed by another program since it was opened.").arg(name) +
            nothingSaved);
        refused.changedOnDisk = true;
        return refused;
    }
    const qint64 last = LastDifference(old.constData(), source, size);
    const qint64 span = last - first + 1;
    const QByteArrayView oldSpan(old.constData() + first, span);
    const QByteArrayView newSpan(source + first, span);

    const CFileResult journalled =
        CSaveJournal::Record(identity, layout.fileLength, fileStart + first, oldSpan, newSpan);
    if (!journalled.ok)
        return CFileResult::Failure(journalled.message + nothingSaved);

    if (!file.WriteAt(fileStart + first, newSpan) || !file.Sync()) {
        const QString reason = file.ErrorText();
        // Put the old bytes back now if possible; otherwise the journal does it on the next open.
        const bool rolledBack = file.WriteAt(fileStart + first, oldSpan) && file.Sync();
        if (rolledBack)
            CSaveJournal::MarkSettled(identity);
        return CFileResult::Failure(
            QStringLiteral("Saving “%1” failed: %2. The edits are still in memory; %3")
                .arg(name, reason,
                     rolledBack ? QStringLiteral("the file was left as it was.")
                                : QStringLiteral("the file will be restored to its previous "
                                                 "contents when it is next opened.")));
    }
    // Settled while the lock is held, so it can never settle a later save's journal.
    CSaveJournal::MarkSettled(identity);
    if (skip == 0) {
        m_diskState = StateOf(file, QByteArrayView(source, size));
    } else {
        QByteArray mapped(layout.MappedSize(), Qt::Uninitialized);
        m_diskState =
            file.ReadAt(0, mapped.data(), mapped.size()) ? StateOf(file, mapped) : CDiskState();
    }
    MarkSaved(pathName, layout.fileLength);
    return settled;
}

CDiskState CGlyphoxDoc::StateOf(CPosixFile& file, QByteArrayView mapped) const
{
    CDiskState state;
    struct stat info = {};
    if (!file.Stat(&info))
        return state;
    state.known = true;
    state.device = std::uint64_t(info.st_dev);
    state.inode = std::uint64_t(info.st_ino);
    state.length = info.st_size;
    state.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    state.hash = ContentHash(mapped);
    return state;
}

CDiskState CGlyphoxDoc::ReadDiskState() const
{
    CPosixFile file;
    if (m_strPathName.isEmpty() || !file.Open(m_strPathName, O_RDONLY))
        return {};
    const CRomFileLayout layout = CRomFileLayout::ForLength(LengthOf(file));
    QByteArray mapped(layout.IsUsable() ? layout.MappedSize() : 0, Qt::Uninitialized);
    if (!file.ReadAt(0, mapped.data(), mapped.size()))
        return {};
    return StateOf(file, mapped);
}

CFileResult CGlyphoxDoc::SaveAsNewFile(const QString& pathName)
{
    if (!IsImageLoaded())
        return CFileResult::Failure(QStringLiteral("There is no ROM image to save."));
    // The current file's bytes, or a headered image when the document has none.
    QByteArray content(reinterpret_cast<const char*>(m_pImage.get()), ROM_IMAGE_SIZE);
    CRomFileLayout layout = CRomFileLayout::ForLength(ROM_IMAGE_SIZE);
    CPosixFile source;
    if (!m_strPathName.isEmpty() && source.Open(m_strPathName, O_RDONLY)) {
        const qint64 length = LengthOf(source);
        const CRomFileLayout current = CRomFileLayout::ForLength(length);
        QByteArray bytes(length, Qt::Uninitialized);
        if (current.IsUsable() &&
            current.kind ==
                (m_bHeaderless ? CRomFileLayout::Headerless : CRomFileLayout::Headered) &&
            source.ReadAt(0, bytes.data(), length)) {
            bytes.replace(
                0, current.MappedSize(),
                QByteArray(reinterpret_cast<const char*>(m_pImage.get()) + current.BufferOffset(),
                           current.MappedSize()));
            content = bytes;
            layout = current;
        }
    }
    const CFileResult written = CAtomicFile::Write(pathName, content);
    if (!written.ok)
        return written;
    CPosixFile file;
    m_diskState = file.Open(pathName, O_RDONLY)
                      ? StateOf(file, QByteArrayView(content).first(layout.MappedSize()))
                      : CDiskState();
    m_bHeaderless = layout.kind == CRomFileLayout::Headerless;
    MarkSaved(pathName, layout.fileLength);
    return CFileResult::Success();
}
