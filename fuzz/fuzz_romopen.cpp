// Opening a ROM image: a file of an interesting length holding the input at its
// start, optionally with a save journal planted for it (the input's own bytes, or
// a well-formed record built from the input). Opening must not crash; it may
// change the file only by putting back the old bytes of a journal that matches
// the file, and never when told to refuse a file with a pending journal; a
// successful open leaves no pending journal and shows exactly what the file then
// holds. A settled journal stands for none.
//
// Input: byte 0 picks the length; byte 1 the journal (bits 0-1: none, raw bytes,
// built record, a folder in its place; bits 2-5 vary the built record; bit 6
// opens with Pending::Refuse); a built record takes its offset (4 bytes) and
// old-byte count (2 bytes) next; the rest is the file's first bytes (and the
// record's old bytes).

#include "FuzzSupport.h"

#include "rom/ContentHash.h"
#include "rom/GlyphoxDoc.h"
#include "rom/JournalRecord.h"
#include "rom/RomFileLayout.h"
#include "rom/SaveJournal.h"

#include <QFileInfo>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include <sys/stat.h>

namespace {

constexpr qint64 kLengths[] = {
    0,
    31,
    ROM_SIZE - 1,
    ROM_SIZE,
    ROM_SIZE + 100,
    ROM_IMAGE_SIZE - 1,
    ROM_IMAGE_SIZE,
    ROM_IMAGE_SIZE + 1,
    ROM_IMAGE_SIZE + 512,
    ROM_SIZE + 1024,
};
constexpr size_t kLengthCount = sizeof(kLengths) / sizeof(kLengths[0]);

enum JournalMode
{
    NoJournal,
    RawJournal,
    BuiltJournal,
    FolderJournal
};

std::uint32_t Take(const std::uint8_t*& data, size_t& size, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes && size > 0; ++i, ++data, --size)
        value |= std::uint32_t(*data) << (8 * i);
    return value;
}

void EmptyJournalFolder(const std::filesystem::path& folder)
{
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
        std::filesystem::remove_all(entry.path(), ignored);
}

// The file as it must read after opening: the bytes before, except that the
// span of a journal that matches the file may hold the journal's old bytes.
void CheckFile(const QString& path, const std::vector<char>& before, const CJournalRecord* match,
               std::vector<char>* after)
{
    struct stat info;
    FUZZ_CHECK(::stat(QFile::encodeName(path).constData(), &info) == 0);
    FUZZ_CHECK(info.st_size == off_t(before.size()));
    after->resize(before.size());
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(::pread(fd, after->data(), after->size(), 0) == ssize_t(after->size()));
    ::close(fd);
    if (!match) {
        FUZZ_CHECK(*after == before);
        return;
    }
    const size_t start = size_t(match->offset);
    const size_t span = size_t(match->oldBytes.size());
    FUZZ_CHECK(std::memcmp(after->data(), before.data(), start) == 0);
    FUZZ_CHECK(std::memcmp(after->data() + start + span, before.data() + start + span,
                           before.size() - start - span) == 0);
    FUZZ_CHECK(std::memcmp(after->data() + start, before.data() + start, span) == 0 ||
               std::memcmp(after->data() + start, match->oldBytes.constData(), span) == 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::MakeScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString path = fuzz::ScratchPath("rom.smc");
    static const std::filesystem::path journalFolder = CSaveJournal::Directory().toStdString();
    // Reserved up front so that data() is never null, even for an empty file.
    static std::vector<char> before(*std::max_element(std::begin(kLengths), std::end(kLengths)));
    static std::vector<char> after(before.size());

    const qint64 length = kLengths[Take(data, size, 1) % kLengthCount];
    const std::uint32_t journalBits = Take(data, size, 1);
    const JournalMode mode = JournalMode(journalBits & 3);
    std::uint32_t offset = 0;
    std::uint32_t oldSize = 0;
    if (mode == BuiltJournal) {
        offset = Take(data, size, 4);
        oldSize = Take(data, size, 2);
    }
    const char* rest = reinterpret_cast<const char*>(data);

    EmptyJournalFolder(journalFolder);
    const size_t written = std::min(size, size_t(length));
    fuzz::WriteFile(path, rest, written, off_t(length));
    before.assign(size_t(length), 0);
    std::memcpy(before.data(), rest, written);

    QByteArray journal;
    if (mode == RawJournal) {
        journal = QByteArray(rest, qsizetype(size));
    } else if (mode == BuiltJournal) {
        struct stat info;
        FUZZ_CHECK(::stat(QFile::encodeName(path).constData(), &info) == 0);
        CJournalRecord record;
        record.path = QFileInfo(path).canonicalFilePath();
        record.device = info.st_dev;
        record.inode = info.st_ino;
        record.fileLength = length;
        record.offset = offset % std::uint64_t(length + 1);
        const qint64 span = std::min({qint64(oldSize), length - record.offset, qint64(size)});
        record.oldBytes = QByteArray(rest, span);
        const QByteArrayView current(before.data() + record.offset, span);
        // Bit 2: the file already holds the new bytes; otherwise they were never written.
        record.newHash = ContentHash(journalBits & 4 ? current : QByteArrayView("new"));
        // Bits 3-5: a record of another file, or of this file at another length.
        if (journalBits & 8)
            record.path += QLatin1Char('~');
        if (journalBits & 16)
            record.inode += 1;
        if (journalBits & 32)
            record.fileLength += 1;
        journal = record.SerializeHeader() + record.oldBytes;
    }
    const QString journalPath = CSaveJournal::PathFor(path);
    if (mode != NoJournal) {
        std::filesystem::create_directories(journalFolder);
        if (mode == FolderJournal)
            std::filesystem::create_directory(journalPath.toStdString());
        else
            fuzz::WriteFile(journalPath, journal.constData(), size_t(journal.size()));
    }

    const bool refuse = journalBits & 64;
    // Only a journal naming this very file (path, device, inode, length) may change it.
    CJournalRecord parsed;
    const CJournalRecord* match = nullptr;
    if (!refuse && (mode == RawJournal || mode == BuiltJournal) &&
        CJournalRecord::Parse(journal, &parsed)) {
        struct stat info;
        FUZZ_CHECK(::stat(QFile::encodeName(path).constData(), &info) == 0);
        if (parsed.path == QFileInfo(path).canonicalFilePath() && parsed.device == info.st_dev &&
            parsed.inode == info.st_ino && parsed.fileLength == length)
            match = &parsed;
    }

    CGlyphoxDoc doc;
    const CFileResult result = doc.OnOpenDocument(path, refuse ? CGlyphoxDoc::Pending::Refuse
                                                               : CGlyphoxDoc::Pending::Settle);
    CheckFile(path, before, match, &after);
    if (refuse && mode != NoJournal && !CJournalRecord::StartsSettled(journal)) {
        FUZZ_CHECK(!result.ok);
        FUZZ_CHECK(CSaveJournal::IsPending(path));
    }
    if (!result.ok) {
        FUZZ_CHECK(!result.message.isEmpty());
        FUZZ_CHECK(!doc.IsImageLoaded());
        return 0;
    }
    FUZZ_CHECK(doc.IsImageLoaded());
    FUZZ_CHECK(doc.FileLength() == length);
    FUZZ_CHECK(doc.PathName() == path);
    FUZZ_CHECK(!CSaveJournal::IsPending(path));

    const CRomFileLayout layout = CRomFileLayout::ForLength(length);
    FUZZ_CHECK(layout.IsUsable());
    FUZZ_CHECK(doc.IsHeaderless() == (layout.kind == CRomFileLayout::Headerless));
    const std::uint8_t* image = doc.Image();
    for (std::uint32_t i = 0; i < layout.BufferOffset(); ++i)
        FUZZ_CHECK(image[i] == 0);
    FUZZ_CHECK(std::memcmp(image + layout.BufferOffset(), after.data(), layout.MappedSize()) == 0);
    return 0;
}
