// Writes the seed corpora of the harnesses: make_seeds <corpus folder>.

#include "rom/ContentHash.h"
#include "rom/JournalRecord.h"
#include "rom/RomFileLayout.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdio>

namespace {

QString g_root;

void Write(const char* harness, const char* name, const QByteArray& bytes)
{
    const QString folder = g_root + QLatin1Char('/') + QLatin1String(harness);
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + QLatin1String(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s/%s\n", harness, name);
        std::exit(1);
    }
}

QByteArray Pattern(int size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 37 + seed) & 0xFF);
    return bytes;
}

QByteArray Journal(const QString& path, qint64 fileLength, qint64 offset, const QByteArray& old)
{
    CJournalRecord record;
    record.path = path;
    record.device = 0x803;
    record.inode = 131077;
    record.fileLength = fileLength;
    record.offset = offset;
    record.newHash = ContentHash(Pattern(int(old.size()), 7));
    record.oldBytes = old;
    return record.SerializeHeader() + old;
}

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int value : values)
        bytes.append(char(value));
    return bytes;
}

// Arguments separated by NUL bytes, from a literal (without its final NUL).
template <std::size_t N> QByteArray Args(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);

    const QByteArray headered = Journal(QStringLiteral("/home/user/roms/morrow.smc"),
                                        ROM_IMAGE_SIZE, 0x150200, Pattern(64, 1));
    Write("fuzz_journal", "headered", headered);
    Write("fuzz_journal", "headerless-unicode-path",
          Journal(QStringLiteral("/tmp/r\u00f6m \u6587\u5b57.sfc"), ROM_SIZE, ROM_SIZE - 300,
                  Pattern(300, 2)));
    Write("fuzz_journal", "empty-span-at-end", Journal(QString(), 31, 31, QByteArray()));
    Write("fuzz_journal", "truncated", headered.left(headered.size() - 5));

    // fuzz_romopen: length choice, journal byte, [offset, old count], file bytes.
    const QByteArray start = Pattern(96, 3);
    Write("fuzz_romopen", "empty-file", Bytes({0, 0}));
    Write("fuzz_romopen", "too-short", Bytes({1, 0}) + start);
    Write("fuzz_romopen", "headerless", Bytes({3, 0}) + start);
    Write("fuzz_romopen", "headered", Bytes({6, 0}) + start);
    Write("fuzz_romopen", "headered-odd-length", Bytes({8, 0}) + start);
    Write("fuzz_romopen", "raw-journal", Bytes({6, 1}) + headered);
    Write("fuzz_romopen", "journal-restore", Bytes({6, 2, 0x20, 0, 0, 0, 16, 0}) + start);
    Write("fuzz_romopen", "journal-completed", Bytes({3, 2 | 4, 0x10, 0, 0, 0, 40, 0}) + start);
    Write("fuzz_romopen", "journal-stale-length", Bytes({6, 2 | 32, 0, 0, 0, 0, 8, 0}) + start);
    Write("fuzz_romopen", "journal-folder", Bytes({6, 3}) + start);

    // fuzz_tilefiles: kind byte, actor or palette byte, file bytes.
    Write("fuzz_tilefiles", "tileset-actor-0", Bytes({0, 0}) + Pattern(192, 4));
    Write("fuzz_tilefiles", "tileset-actor-64", Bytes({0, 64}) + Pattern(33, 5));
    Write("fuzz_tilefiles", "tileset-out-of-range", Bytes({0, 0xF3}) + Pattern(64, 6));
    Write("fuzz_tilefiles", "palette-battle-29", Bytes({3, 29}) + Pattern(40, 7));
    Write("fuzz_tilefiles", "palette-overworld-short", Bytes({1, 2}) + Pattern(31, 8));
    Write("fuzz_tilefiles", "palette-folder", Bytes({1 | 4, 5}));

    // fuzz_cliargs: arguments separated by NUL bytes.
    Write("fuzz_cliargs", "render-strip",
          Args("--actor\0"
               "3\0--bank\0battle\0--palette\0"
               "5\0--strip\0"
               "2\0-o\0out.png\0"
               "rom.smc"));
    Write("fuzz_cliargs", "inline-values", Args("--actor=12\0--auto\0--labels\0--step=0x10\0rom"));
    Write("fuzz_cliargs", "missing-value", Args("rom.smc\0--strip"));
    Write("fuzz_cliargs", "numbers",
          Args("--strip\0 -0\0--step\0"
               "2147483648\0-\0x"));
    return 0;
}
