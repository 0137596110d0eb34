#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The most recently used files, most recent first, without duplicates, kept in the settings
// group "Recent File List" under the keys "File1".."File4".
class CRecentFileList
{
public:
    static constexpr int kMaxEntries = 4;

    // Puts the file first; an entry for the same file moves up instead of repeating.
    void Add(const QString& pathName);
    void Remove(const QString& pathName);
    const QStringList& Entries() const { return m_listEntries; }

    // Reads the group, skipping empty and repeated entries and any beyond the fourth.
    void Read(QSettings& settings);
    void Write(QSettings& settings) const;

private:
    qsizetype IndexOf(const QString& pathName) const;

    QStringList m_listEntries;
};
