// Whole processes against their floors, the same number of runs of each in
// random order; wall time from fork to the end of the first paint (a window writes
// when it ended to a pipe) and to the end of wait4, and the peak resident set from
// wait4's rusage. By default the editor opening the demo image against
// the floor program (an empty window), both ended after their first paint, and the
// editor's window built from stock Qt parts without a file (startup_form_floor.cpp)
// against both; with
// "cli", glyphox-cli export-tileset of the demo image against cat of it. An editor
// named by GLYPHOX_BASELINE_EDITOR (an earlier build) runs in the same rounds and is
// reported against the same floor, so that before and after share one run.

#include "rom/DemoRom.h"

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct SRun
{
    double ms = 0;           // fork to the end of wait4
    double firstPaintMs = 0; // fork to the end of the first paint; 0 without a window
    double rssMb = 0;
};

std::int64_t MonotonicNs()
{
    timespec now = {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// One run of a command, its output to /dev/null; false if it did not end well. A
// window program writes the time its first paint ended to GLYPHOX_FIRST_PAINT_FD.
bool RunOnce(const std::vector<std::string>& command, SRun* run)
{
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    int painted[2];
    if (::pipe(painted) != 0)
        return false;
    const std::int64_t start = MonotonicNs();
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::close(painted[0]);
        ::setenv("GLYPHOX_FIRST_PAINT_FD", std::to_string(painted[1]).c_str(), 1);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(painted[1]);
    int status = 0;
    rusage usage = {};
    const bool waited = pid > 0 && ::wait4(pid, &status, 0, &usage) == pid;
    run->ms = (MonotonicNs() - start) / 1e6;
    std::int64_t paintedNs = 0;
    run->firstPaintMs = ::read(painted[0], &paintedNs, sizeof paintedNs) == sizeof paintedNs
                            ? (paintedNs - start) / 1e6
                            : 0;
    ::close(painted[0]);
    run->rssMb = usage.ru_maxrss / 1024.0;
    return waited && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Report(const char* name, const std::vector<SRun>& runs, const std::vector<SRun>& floor)
{
    const auto column = [](const std::vector<SRun>& all, double SRun::*field) {
        std::vector<double> values;
        for (const SRun& run : all)
            values.push_back(run.*field);
        return values;
    };
    const auto line = [](const char* what, const std::vector<double>& ms,
                         const std::vector<double>& floorMs) {
        const double minMs = *std::min_element(ms.begin(), ms.end());
        const double minFloor = *std::min_element(floorMs.begin(), floorMs.end());
        std::printf("  %-14s median %7.2f ms (floor %7.2f ms) %5.2fx; fastest %7.2f ms (floor "
                    "%7.2f ms) %5.2fx\n",
                    what, Median(ms), Median(floorMs), Median(ms) / Median(floorMs), minMs,
                    minFloor, minMs / minFloor);
    };
    const auto rss = column(runs, &SRun::rssMb), floorRss = column(floor, &SRun::rssMb);
    std::printf("%s: max RSS median %.1f MB (floor %.1f MB) %.2fx\n", name, Median(rss),
                Median(floorRss), Median(rss) / Median(floorRss));
    const auto painted = column(runs, &SRun::firstPaintMs);
    const auto floorPainted = column(floor, &SRun::firstPaintMs);
    if (Median(painted) > 0 && Median(floorPainted) > 0)
        line("to first paint", painted, floorPainted);
    line("to exit", column(runs, &SRun::ms), column(floor, &SRun::ms));
}

} // namespace

int main(int argc, char* argv[])
{
    const bool cli = argc > 1 && std::string(argv[1]) == "cli";
    const int rounds = argc > 1 + cli ? std::max(1, std::atoi(argv[1 + cli])) : 20;
    QTemporaryDir folder(QStringLiteral(GLYPHOX_BENCH_BINARY_DIR "/glyphox-startup-XXXXXX"));
    if (!folder.isValid())
        return 1;
    // Settings, recent files and journals stay in the folder; the platform is
    // offscreen unless QT_QPA_PLATFORM names another.
    ::setenv("XDG_DATA_HOME", qPrintable(folder.filePath(QStringLiteral("data"))), 1);
    ::setenv("XDG_CONFIG_HOME", qPrintable(folder.filePath(QStringLiteral("config"))), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("GLYPHOX_QUIT_AFTER_FIRST_PAINT", "1", 1);
    const std::string image = folder.filePath(QStringLiteral("demo.smc")).toStdString();
    if (!CDemoRom::Write(QString::fromStdString(image), false, 1, true).ok)
        return 1;

    // The last command is the floor. For the command-line tool, --version (no file
    // work at all) shows what loading and starting the process alone costs, and
    // two empty Qt programs what loading its libraries (or QtCore alone) costs.
    const std::string out = folder.filePath(QStringLiteral("tiles.bin")).toStdString();
    const std::vector<std::vector<std::string>> commands =
        cli ? std::vector<std::vector<std::string>>{{GLYPHOX_CLI_PATH, "export-tileset", image,
                                                     "--actor", "3", "-o", out},
                                                    {GLYPHOX_CLI_PATH, "--version"},
                                                    {GLYPHOX_CLI_FLOOR_PATH},
                                                    {GLYPHOX_CLI_FLOOR_CORE_PATH},
                                                    {"cat", image}}
            : std::vector<std::vector<std::string>>{{GLYPHOX_EDITOR_PATH, image},
                                                    {GLYPHOX_FORM_FLOOR_PATH, image},
                                                    {GLYPHOX_FLOOR_PATH, image}};
    std::vector<std::vector<std::string>> all = commands;
    const char* baseline = std::getenv("GLYPHOX_BASELINE_EDITOR");
    if (!cli && baseline && *baseline)
        all.insert(all.begin() + 1, {baseline, image});
    std::vector<std::vector<SRun>> runs(all.size());
    std::vector<std::size_t> order(all.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::mt19937 random(std::random_device{}());
    SRun warm;
    for (const auto& command : all) // page cache and font caches
        RunOnce(command, &warm);
    for (int round = 0; round < rounds; ++round) {
        std::shuffle(order.begin(), order.end(), random);
        for (std::size_t which : order) {
            SRun run;
            if (!RunOnce(all[which], &run)) {
                std::fprintf(stderr, "%s failed\n", all[which][0].c_str());
                return 1;
            }
            runs[which].push_back(run);
        }
    }
    std::printf("%d runs each%s%s\n", rounds, cli ? "" : ", platform ",
                cli ? "" : std::getenv("QT_QPA_PLATFORM"));
    Report(cli ? "export" : "editor", runs[0], runs.back());
    if (cli) {
        Report("version", runs[1], runs.back());
        Report("linked", runs[2], runs.back());
        Report("qtcore", runs[3], runs.back());
    } else {
        const std::size_t form = all.size() - 2;
        Report("form", runs[form], runs.back());
        std::printf("against the stock form:\n");
        Report("editor", runs[0], runs[form]);
        if (all.size() > commands.size())
            Report("baseline", runs[1], runs.back());
    }
    return 0;
}
