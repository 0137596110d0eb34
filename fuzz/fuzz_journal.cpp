// Arbitrary bytes as a save journal record: Parse must never read outside the
// bytes, must only accept a record whose span lies inside its file, and what it
// accepts must serialize and parse back to the same record.

#include "FuzzSupport.h"

#include "rom/JournalRecord.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    CJournalRecord record;
    if (!CJournalRecord::Parse(bytes, &record))
        return 0;

    const qint64 oldSize = record.oldBytes.size();
    FUZZ_CHECK(record.offset >= 0);
    FUZZ_CHECK(oldSize >= 0);
    FUZZ_CHECK(record.fileLength >= oldSize && record.offset <= record.fileLength - oldSize);

    CJournalRecord again;
    FUZZ_CHECK(CJournalRecord::Parse(record.SerializeHeader() + record.oldBytes, &again));
    FUZZ_CHECK(again.path == record.path);
    FUZZ_CHECK(again.device == record.device);
    FUZZ_CHECK(again.inode == record.inode);
    FUZZ_CHECK(again.fileLength == record.fileLength);
    FUZZ_CHECK(again.offset == record.offset);
    FUZZ_CHECK(again.newHash == record.newHash);
    FUZZ_CHECK(again.oldBytes == record.oldBytes);
    return 0;
}
