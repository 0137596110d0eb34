#include "GlyphoxDoc.h"

#include "rom/FileIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Opens an existing file for reading and writing, with a message naming why not.
CFileResult OpenForWriting(QFile& file)
{
    const QString name = Shown(file.fileName());
    const QFileInfo info(file.fileName());
    if (!info.exists())
        return CFileResult::Failure(QStringLiteral("“%1” does not exist.").arg(name));
    if (info.isDir())
        return CFileResult::Failure(QStringLiteral("“%1” is a folder, not a ROM image.").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return CFileResult::Failure(
            QStringLiteral("Cannot read “%1”: %2.").arg(name, file.errorString()));
    file.close();
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered))
        return CFileResult::Failure(
            QStringLiteral("“%1” cannot be opened for writing (%2). Glyphox saves edits back into "
                           "the same file, so it only opens files it may write.")
                .arg(name, file.errorString()));
    return CFileResult::Success();
}

CFileResult TooShort(const QString& name, qint64 length)
{
    return CFileResult::Failure(
        QStringLiteral("“%1” is too short to be a Morrow ROM image: it holds %2 bytes, but "
                       "3,145,728 (without a copier header) or 3,146,240 (with one) are needed.")
            .arg(name)
            .arg(length));
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

CGlyphoxDoc::CGlyphoxDoc() : m_pImage(std::make_unique<std::uint8_t[]>(ROM_IMAGE_SIZE)) {}

CFileResult CGlyphoxDoc::Inspect(const QString& pathName)
{
    QFile file(pathName);
    if (CFileResult opened = OpenForWriting(file); !opened.ok)
        return opened;
    const CRomFileLayout layout = CRomFileLayout::ForLength(file.size());
    if (!layout.IsUsable())
        return TooShort(Shown(pathName), layout.fileLength);
    return CFileResult::Success();
}

CFileResult CGlyphoxDoc::OnOpenDocument(const QString& pathName)
{
    QFile file(pathName);
    const QString name = Shown(pathName);
    if (CFileResult opened = OpenForWriting(file); !opened.ok)
        return opened;
    const CFileResult settled = CSaveJournal::Settle(file);
    if (!settled.ok)
        return settled;

    const CRomFileLayout layout = CRomFileLayout::ForLength(file.size());
    if (!layout.IsUsable())
        return TooShort(name, layout.fileLength);

    auto image = std::make_unique<std::uint8_t[]>(ROM_IMAGE_SIZE);
    if (!ReadExactly(file, 0, reinterpret_cast<char*>(image.get() + layout.BufferOffset()),
                     layout.MappedSize()))
        return CFileResult::Failure(
            QStringLiteral("Cannot read “%1”: %2.").arg(name, file.errorString()));

    m_pImage = std::move(image);
    m_nFileLength = layout.fileLength;
    m_bHeaderless = layout.kind == CRomFileLayout::Headerless;
    m_strPathName = pathName;
    return settled;
}

CFileResult CGlyphoxDoc::OnSaveDocument(const QString& pathName)
{
    const QString name = Shown(pathName);
    if (!IsImageLoaded())
        return CFileResult::Failure(QStringLiteral("There is no ROM image to save."));
    QFile file(pathName);
    if (CFileResult opened = OpenForWriting(file); !opened.ok)
        return CFileResult::Failure(opened.message + QStringLiteral(" Nothing was saved."));
    // A journal left by another process's interrupted save is settled first.
    const CFileResult settled = CSaveJournal::Settle(file);
    if (!settled.ok)
        return settled;

    const CRomFileLayout layout = CRomFileLayout::ForLength(file.size());
    if (!layout.IsUsable())
        return CFileResult::Failure(TooShort(name, layout.fileLength).message +
                                    QStringLiteral(" Nothing was saved."));

    // An image read without a header has none to give: a headered target keeps its own.
    const qint64 skip =
        (m_bHeaderless && layout.kind == CRomFileLayout::Headered) ? COPIER_HEADER_SIZE : 0;
    const qint64 fileStart = skip;
    const qint64 size = layout.MappedSize() - skip;
    const char* source =
        reinterpret_cast<const char*>(m_pImage.get() + layout.BufferOffset() + skip);

    QByteArray old(size, Qt::Uninitialized);
    if (!ReadExactly(file, fileStart, old.data(), size))
        return CFileResult::Failure(QStringLiteral("Cannot read “%1” before saving: %2. Nothing "
                                                   "was saved.")
                                        .arg(name, file.errorString()));

    // Only the span from the first to the last changed byte is journalled and written.
    const qint64 first = FirstDifference(old.constData(), source, size);
    if (first == size) {
        m_strPathName = pathName;
        m_nFileLength = layout.fileLength;
        return settled;
    }
    const qint64 last = LastDifference(old.constData(), source, size);
    const qint64 span = last - first + 1;
    const QByteArrayView oldSpan(old.constData() + first, span);
    const QByteArrayView newSpan(source + first, span);

    const CFileResult journalled =
        CSaveJournal::Record(pathName, layout.fileLength, fileStart + first, oldSpan, newSpan);
    if (!journalled.ok)
        return CFileResult::Failure(journalled.message + QStringLiteral(" Nothing was saved."));

    if (!WriteAll(file, fileStart + first, newSpan.data(), span) || !SyncFile(file)) {
        const QString reason = file.errorString();
        // Put the old bytes back now if possible; otherwise the journal does it on the next open.
        const bool rolledBack =
            WriteAll(file, fileStart + first, oldSpan.data(), span) && SyncFile(file);
        if (rolledBack)
            CSaveJournal::Remove(pathName);
        return CFileResult::Failure(
            QStringLiteral("Saving “%1” failed: %2. The edits are still in memory; %3")
                .arg(name, reason,
                     rolledBack ? QStringLiteral("the file was left as it was.")
                                : QStringLiteral("the file will be restored to its previous "
                                                 "contents when it is next opened.")));
    }
    CSaveJournal::Remove(pathName);
    m_strPathName = pathName;
    m_nFileLength = layout.fileLength;
    return settled;
}
