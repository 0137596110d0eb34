#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstdint>

// Test files: ROM images of a chosen length with a recognisable byte pattern,
// and a private data folder for save journals.
namespace RomFixture {

// Byte i of a pattern file: distinct enough that a shifted or torn copy shows.
inline char PatternByte(qint64 i)
{
    return char((i * 131 + (i >> 9) * 7 + 1) & 0xFF);
}

inline QByteArray Pattern(qint64 length)
{
    QByteArray bytes(length, Qt::Uninitialized);
    char* data = bytes.data();
    for (qint64 i = 0; i < length; ++i)
        data[i] = PatternByte(i);
    return bytes;
}

inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Changes one byte of the document's image through its edit, as the editor does.
template <typename Doc> inline void Poke(Doc& doc, qint64 offset, std::uint8_t value)
{
    doc.Apply({offset, QByteArray(1, char(value)), QStringLiteral("Test edit"), {}});
}

template <typename Doc> inline void Flip(Doc& doc, qint64 offset, std::uint8_t mask = 0xFF)
{
    Poke(doc, offset, std::uint8_t(doc.Image()[offset] ^ mask));
}

// Points the journal folder at a temporary directory for the whole test run.
inline void UsePrivateDataHome(const QTemporaryDir& dir)
{
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
}

// Settings and save journals both go to dir, never to the user's folders.
inline bool UsePrivateHome(const QTemporaryDir& dir)
{
    UsePrivateDataHome(dir);
    return qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
}

} // namespace RomFixture
