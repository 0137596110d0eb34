// Runs the benchmarks, then prints every figure as a ratio to its floor measured
// in the same run, next to the target it has to meet.

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <string>

namespace {

struct Pairing
{
    const char* measured;
    const char* floor;
    double maxRatio;             // 0 when there is no target
    double maxSeconds;           // 0 when there is no target
    const char* label = nullptr; // the row's name when not the measured benchmark's
};

constexpr Pairing kPairings[] = {
    {"BM_DrawTile/3", "BM_DrawTile_Floor/3", 3, 0},
    {"BM_DrawTile/4", "BM_DrawTile_Floor/4", 3, 0},
    {"BM_DrawTilePixels/3", "BM_DrawTile_Floor/3", 3, 0},
    {"BM_DrawTilePixels/4", "BM_DrawTile_Floor/4", 3, 0},
    {"BM_DrawTileShuffles/3", "BM_DrawTile_Floor/3", 3, 0},
    {"BM_DrawTileShuffles/4", "BM_DrawTile_Floor/4", 3, 0},
    {"BM_DrawTileNaive/3", "BM_DrawTile_Floor/3", 0, 0},
    {"BM_DrawTileNaive/4", "BM_DrawTile_Floor/4", 0, 0},
    {"BM_DrawStrips/3", "BM_DrawStrips_Floor/3", 6, 0.2e-3},
    {"BM_DrawStrips/4", "BM_DrawStrips_Floor/4", 6, 0.2e-3},
    {"BM_DrawSheet/3", "BM_DrawSheet_Floor/3", 0, 0},
    {"BM_DrawSheet/4", "BM_DrawSheet_Floor/4", 0, 0},
    {"BM_OpenDocument", "BM_OpenDocument_Floor", 0, 0},
    {"BM_SaveDocument", "BM_SaveDocument_Floor", 2, 0},
    {"BM_SaveDocument", "BM_SaveDocument_TwoWriteFloor", 0, 0, "Save/two durable writes"},
    {"BM_SaveDocument_TwoWriteFloor", "BM_SaveDocument_Floor", 0, 0},
    {"BM_JournalHash", "BM_SaveDocument_Floor", 0, 0},
    {"BM_View_OnUpdate/0", "BM_View_OnUpdate_Floor", 0, 10e-3},
    {"BM_View_OnUpdate/0", "BM_View_OnUpdate_IconFloor/0", 1.1, 0.5e-3, "OnUpdate/IconFloor"},
    {"BM_View_OnUpdate/1", "BM_View_OnUpdate_IconFloor/1", 1.1, 0,
     "OnUpdate+paint/IconFloor+paint"},
    {"BM_View_Tick", "BM_View_Tick_Floor", 0, 1e-3},
    {"BM_View_Edit", "BM_View_Edit_Floor", 0, 1e-3},
    {"BM_View_UndoRedoStroke", "BM_View_Edit", 2, 1e-3, "UndoRedo/one pixel edit"},
    {"BM_Startup", "BM_Startup_Floor", 3, 0},
    {"BM_BuildWheelField", "BM_BuildWheelField_Floor", 0, 0},
    {"BM_LumBarPaint", "BM_LumBarPaint_Floor", 0, 0},
    {"BM_OpenEditColorDlg", "BM_OpenEditColorDlg_Floor", 0, 50e-3},
};

// The usual console output; it also keeps the real time per iteration of every
// run, by name without the "/real_time" suffix. Of repeated runs it keeps the
// fastest, which is the least disturbed by other work on the machine; when only
// aggregates are reported, the median.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const double seconds =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.run_type == Run::RT_Iteration)
                Keep(m_fastest, Key(run), seconds);
            else if (run.aggregate_name == "median")
                m_median[Key(run)] = seconds;
        }
    }

    const double* Seconds(const std::string& name) const
    {
        for (const auto* times : {&m_fastest, &m_median}) {
            if (const auto at = times->find(name); at != times->end())
                return &at->second;
        }
        return nullptr;
    }

private:
    using Times = std::map<std::string, double>;

    static std::string Key(const Run& run)
    {
        const auto& name = run.run_name;
        return name.args.empty() ? name.function_name : name.function_name + '/' + name.args;
    }

    static void Keep(Times& times, const std::string& name, double seconds)
    {
        const auto [at, added] = times.emplace(name, seconds);
        if (!added && seconds < at->second)
            at->second = seconds;
    }

    Times m_fastest;
    Times m_median;
};

std::string FormatTime(double seconds)
{
    char text[32];
    if (seconds < 1e-6)
        std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
    else if (seconds < 1e-3)
        std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
    else
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    return text;
}

std::string Verdict(const Pairing& pairing, double seconds, double ratio)
{
    std::string verdict;
    char text[64];
    if (pairing.maxRatio > 0) {
        std::snprintf(text, sizeof text, "<= %gx %s", pairing.maxRatio,
                      ratio <= pairing.maxRatio ? "met" : "MISSED");
        verdict += text;
    }
    if (pairing.maxSeconds > 0) {
        std::snprintf(text, sizeof text, "%s< %s %s", verdict.empty() ? "" : ", ",
                      FormatTime(pairing.maxSeconds).c_str(),
                      seconds < pairing.maxSeconds ? "met" : "MISSED");
        verdict += text;
    }
    return verdict.empty() ? "-" : verdict;
}

void PrintRatios(const RatioReporter& reporter)
{
    std::printf("\n%-22s %12s %12s %8s  %s\n", "Ratio to floor", "time", "floor", "ratio",
                "target");
    for (const Pairing& pairing : kPairings) {
        const double* seconds = reporter.Seconds(pairing.measured);
        const double* floor = reporter.Seconds(pairing.floor);
        if (!seconds || !floor)
            continue;
        const double ratio = *seconds / *floor;
        std::printf("%-22s %12s %12s %7.2fx  %s\n",
                    pairing.label ? pairing.label : pairing.measured, FormatTime(*seconds).c_str(),
                    FormatTime(*floor).c_str(), ratio, Verdict(pairing, *seconds, ratio).c_str());
    }
}

// The open and save benchmarks work in a fresh folder on the disk being measured:
// $GLYPHOX_BENCH_DIR, or else the folder of this program (in the build tree).
QString FileParent()
{
    return qEnvironmentVariable("GLYPHOX_BENCH_DIR", QCoreApplication::applicationDirPath());
}

// The offscreen platform warns on every top-level window the start-up benchmarks
// make; that one warning is dropped, everything else goes through.
QtMessageHandler g_defaultHandler = nullptr;

void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    g_defaultHandler(type, context, text);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // One QApplication for the whole process: the editor benchmarks make windows.
    // Unless QT_QPA_PLATFORM names another, they go to the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_defaultHandler = qInstallMessageHandler(FilterMessages);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brackenfold"));
    QApplication::setApplicationName(QStringLiteral("Glyphox"));

    QTemporaryDir folder(FileParent() + QStringLiteral("/glyphox-bench-XXXXXX"));
    if (!folder.isValid()) {
        std::fprintf(stderr, "Cannot make a folder in %s\n", qPrintable(FileParent()));
        return 1;
    }
    // Save journals go below XDG_DATA_HOME: keep them in the same folder. The
    // editor's settings and recent files go below XDG_CONFIG_HOME, there too, so
    // the user's own are neither read nor changed.
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder.filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath(QStringLiteral("config"))));
    SetFileFolder(folder.path());
    const QStorageInfo storage(folder.path());
    std::printf("Files and journals in %s (%s, %s)\n", qPrintable(folder.path()),
                storage.fileSystemType().constData(), storage.device().constData());
    std::fflush(stdout);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatios(reporter);
    benchmark::Shutdown();
    return 0;
}
