// The command-line argument parser with the options of render-strip: the input,
// split at NUL bytes, is the argument list (UTF-8). Accepted lists have the
// right positional count, and every number read lies in its range.

#include "FuzzSupport.h"

#include "CliArguments.h"

#include <climits>
#include <cstddef>
#include <cstdint>

namespace {

void CheckInt(const QString& text, int min, int max, bool allowHex)
{
    int value = 0;
    if (CCliArguments::ParseInt(text, min, max, allowHex, &value))
        FUZZ_CHECK(value >= min && value <= max);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QStringList valued = {QStringLiteral("--actor"),   QStringLiteral("--bank"),
                                       QStringLiteral("--palette"), QStringLiteral("--strip"),
                                       QStringLiteral("--step"),    QStringLiteral("-o")};
    static const QStringList flags = {QStringLiteral("--auto"), QStringLiteral("--labels")};

    QStringList arguments;
    if (size > 0)
        for (const QByteArray& part :
             QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0'))
            arguments << QString::fromUtf8(part);

    for (const QString& argument : arguments) {
        CheckInt(argument, 0, 64, false);
        CheckInt(argument, 0, 0xFFFF, true);
        CheckInt(argument, -5, 5, true);
        CheckInt(argument, INT_MIN, INT_MAX, true);
    }

    CCliArguments args;
    QString error;
    if (!args.Parse(arguments, valued, flags, 1, &error)) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(args.Positionals().size() == 1);
    for (const QString& positional : args.Positionals())
        FUZZ_CHECK(positional.size() < 2 || !positional.startsWith(QLatin1Char('-')));
    for (const QString& flag : flags)
        FUZZ_CHECK(args.Value(flag).isEmpty());

    const struct
    {
        const char* name;
        int min;
        int max;
    } ranges[] = {{"--actor", 0, 64},
                  {"--palette", 0, 29},
                  {"--strip", 1, 3},
                  {"--step", 0, INT_MAX},
                  {"--bank", -1, 1}};
    for (const auto& range : ranges) {
        const QString name = QString::fromLatin1(range.name);
        int value = 0;
        error.clear();
        const bool ok = args.Int(name, range.min, range.max, &value, &error);
        FUZZ_CHECK(!ok || (value >= range.min && value <= range.max));
        FUZZ_CHECK(ok || !error.isEmpty());
        FUZZ_CHECK(!ok || args.Has(name));
    }
    return 0;
}
