#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

// Setting or removing a key makes QSettings rewrite and sync the whole profile,
// even when nothing changes; these leave a key that already holds its value alone,
// so closing the editor or reopening a recent file writes nothing.
inline void SetIfChanged(QSettings& settings, const QString& key, const QVariant& value)
{
    if (!settings.contains(key) || settings.value(key).toString() != value.toString())
        settings.setValue(key, value);
}

inline void RemoveIfPresent(QSettings& settings, const QString& key)
{
    if (settings.contains(key))
        settings.remove(key);
}
