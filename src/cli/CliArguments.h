#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// The arguments of one command: options with a value ("--actor 3" or
// "--actor=3"), flags, and positional arguments. Anything else is a usage error.
class CCliArguments
{
public:
    // Returns false with a message on an unknown option, a missing value or a
    // wrong number of positional arguments.
    bool Parse(const QStringList& arguments, const QStringList& valued, const QStringList& flags,
               int positionals, QString* error);

    bool Has(const QString& name) const { return m_values.contains(name); }
    QString Value(const QString& name) const { return m_values.value(name); }
    const QStringList& Positionals() const { return m_positionals; }

    // A required whole number in min..max, decimal (or 0x hex where allowed).
    bool Int(const QString& name, int min, int max, int* value, QString* error) const;

    static bool ParseInt(const QString& text, int min, int max, bool allowHex, int* value);

private:
    QMap<QString, QString> m_values;
    QStringList m_positionals;
};
