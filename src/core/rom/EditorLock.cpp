#include "EditorLock.h"

#include "rom/SaveJournal.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

QString CEditorLock::LockPathFor(const QString& filePath)
{
    const QString canonical = QFileInfo(filePath).canonicalFilePath();
    if (canonical.isEmpty())
        return {};
    const QByteArray digest =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Blake2b_256).toHex();
    return CSaveJournal::Directory() + QLatin1Char('/') + QString::fromLatin1(digest.left(32)) +
           QStringLiteral(".open");
}

CEditorLock::Holder CEditorLock::HolderOf(const QString& filePath)
{
    Holder holder;
    const QString path = LockPathFor(filePath);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return holder;
    QLockFile probe(path);
    // Only a holder that is gone makes a mark stale, never its age.
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) {
        probe.unlock(); // stale or free
        return holder;
    }
    holder.held = probe.error() == QLockFile::LockFailedError;
    if (holder.held)
        probe.getLockInfo(&holder.pid, &holder.host, &holder.application);
    return holder;
}

QString CEditorLock::Describe(const Holder& holder)
{
    const QString name =
        holder.application.isEmpty() ? QStringLiteral("another program") : holder.application;
    return QStringLiteral("%1 (process %2 on %3)")
        .arg(name)
        .arg(holder.pid)
        .arg(holder.host.isEmpty() ? QStringLiteral("this computer") : holder.host);
}

bool CEditorLock::Take(const QString& filePath)
{
    Release();
    const QString path = LockPathFor(filePath);
    if (path.isEmpty() || !QDir().mkpath(CSaveJournal::Directory()))
        return false;
    auto lock = std::make_unique<QLockFile>(path);
    // Never stale by age: an editor may keep a file open for days.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    m_lock = std::move(lock);
    return true;
}

void CEditorLock::Release()
{
    m_lock.reset(); // QLockFile unlocks on destruction
}
