#include "CliArguments.h"

#include <algorithm>
#include <cctype>

bool CCliArguments::Parse(const QStringList& arguments, const QStringList& valued,
                          const QStringList& flags, int positionals, QString* error)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.size() < 2 || !argument.startsWith(QLatin1Char('-'))) {
            m_positionals << argument;
            continue;
        }
        QString name = argument;
        QString value;
        bool inlineValue = false;
        if (const int equals = argument.indexOf(QLatin1Char('=')); equals > 0) {
            name = argument.left(equals);
            value = argument.mid(equals + 1);
            inlineValue = true;
        }
        if (flags.contains(name) && !inlineValue) {
            m_values.insert(name, QString());
        } else if (valued.contains(name)) {
            if (!inlineValue) {
                if (i + 1 >= arguments.size()) {
                    *error = QStringLiteral("option %1 needs a value").arg(name);
                    return false;
                }
                value = arguments[++i];
            }
            if (m_values.contains(name)) {
                *error = QStringLiteral("option %1 is given twice").arg(name);
                return false;
            }
            m_values.insert(name, value);
        } else {
            *error = QStringLiteral("unknown option %1").arg(argument);
            return false;
        }
    }
    if (m_positionals.size() != positionals) {
        *error = m_positionals.size() < positionals
                     ? QStringLiteral("missing argument")
                     : QStringLiteral("unexpected argument %1").arg(m_positionals.last());
        return false;
    }
    return true;
}

bool CCliArguments::ParseInt(const QString& text, int min, int max, bool allowHex, int* value)
{
    bool ok = false;
    qlonglong number = 0;
    const QString trimmed = text.trimmed();
    if (allowHex &&
        (trimmed.startsWith(QLatin1String("0x")) || trimmed.startsWith(QLatin1String("0X")))) {
        // Only hex digits after the prefix: no sign, no space.
        const QString digits = trimmed.mid(2);
        number = digits.toLongLong(&ok, 16);
        ok = ok && std::all_of(digits.begin(), digits.end(), [](QChar c) {
                 return c.unicode() < 128 && std::isxdigit(c.unicode()) != 0;
             });
    } else
        number = trimmed.toLongLong(&ok, 10);
    if (!ok || trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('+')) || number < min ||
        number > max)
        return false;
    *value = int(number);
    return true;
}

bool CCliArguments::Int(const QString& name, int min, int max, int* value, QString* error) const
{
    if (!Has(name)) {
        *error = QStringLiteral("option %1 is required").arg(name);
        return false;
    }
    if (!ParseInt(Value(name), min, max, false, value)) {
        *error = QStringLiteral("%1 must be a whole number from %2 to %3, not \"%4\"")
                     .arg(name)
                     .arg(min)
                     .arg(max)
                     .arg(Value(name));
        return false;
    }
    return true;
}
