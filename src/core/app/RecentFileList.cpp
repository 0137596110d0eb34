#include "RecentFileList.h"

#include "app/SettingsValue.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kGroup = QStringLiteral("Recent File List");

QString KeyOf(int nIndex)
{
    return QStringLiteral("File%1").arg(nIndex + 1);
}

QString Normalized(const QString& pathName)
{
    return QDir::cleanPath(QFileInfo(pathName).absoluteFilePath());
}

} // namespace

void CRecentFileList::Add(const QString& pathName)
{
    if (pathName.isEmpty())
        return;
    Remove(pathName);
    m_listEntries.prepend(Normalized(pathName));
    while (m_listEntries.size() > kMaxEntries)
        m_listEntries.removeLast();
}

void CRecentFileList::Remove(const QString& pathName)
{
    for (qsizetype nIndex = IndexOf(pathName); nIndex >= 0; nIndex = IndexOf(pathName))
        m_listEntries.removeAt(nIndex);
}

void CRecentFileList::Read(QSettings& settings)
{
    m_listEntries.clear();
    settings.beginGroup(kGroup);
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString pathName = settings.value(KeyOf(i)).toString();
        if (!pathName.isEmpty() && IndexOf(pathName) < 0)
            m_listEntries.append(Normalized(pathName));
    }
    settings.endGroup();
}

void CRecentFileList::Write(QSettings& settings) const
{
    settings.beginGroup(kGroup);
    for (int i = 0; i < kMaxEntries; ++i) {
        if (i < m_listEntries.size())
            SetIfChanged(settings, KeyOf(i), QDir::toNativeSeparators(m_listEntries[i]));
        else
            RemoveIfPresent(settings, KeyOf(i));
    }
    settings.endGroup();
}

qsizetype CRecentFileList::IndexOf(const QString& pathName) const
{
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif
    const QString normalized = Normalized(pathName);
    for (qsizetype i = 0; i < m_listEntries.size(); ++i) {
        if (m_listEntries[i].compare(normalized, kCase) == 0)
            return i;
    }
    return -1;
}
