// The whole-process start-up: the editor opening the demo image against the
// floor program (an empty window), each started as a new process and ended after
// its first paint, the same number of runs in random order. Wall time from fork
// to the end of wait4, and the peak resident set from wait4's rusage.

#include "rom/DemoRom.h"

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct SRun
{
    double ms = 0;
    double rssMb = 0;
};

// One start of program with the image as its argument; false if it did not end well.
bool RunOnce(const std::string& program, const std::string& image, SRun* run)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stderr);
        ::execl(program.c_str(), program.c_str(), image.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage = {};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid)
        return false;
    run->ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run->rssMb = usage.ru_maxrss / 1024.0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
    const auto ms = column(runs, &SRun::ms), floorMs = column(floor, &SRun::ms);
    const auto rss = column(runs, &SRun::rssMb), floorRss = column(floor, &SRun::rssMb);
    const double minMs = *std::min_element(ms.begin(), ms.end());
    const double minFloor = *std::min_element(floorMs.begin(), floorMs.end());
    std::printf("%-8s wall median %7.2f ms (floor %7.2f ms) %5.2fx; fastest %7.2f ms (floor %7.2f "
                "ms) %5.2fx; max RSS median %6.1f MB (floor %6.1f MB) %5.2fx\n",
                name, Median(ms), Median(floorMs), Median(ms) / Median(floorMs), minMs, minFloor,
                minMs / minFloor, Median(rss), Median(floorRss), Median(rss) / Median(floorRss));
}

} // namespace

int main(int argc, char* argv[])
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    QTemporaryDir folder(QStringLiteral(GLYPHOX_BENCH_BINARY_DIR "/glyphox-startup-XXXXXX"));
    if (!folder.isValid())
        return 1;
    // Settings, recent files and journals stay in the folder; the platform is
    // offscreen unless QT_QPA_PLATFORM names another.
    ::setenv("XDG_DATA_HOME", qPrintable(folder.filePath(QStringLiteral("data"))), 1);
    ::setenv("XDG_CONFIG_HOME", qPrintable(folder.filePath(QStringLiteral("config"))), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("GLYPHOX_QUIT_AFTER_FIRST_PAINT", "1", 1);
    const QString image = folder.filePath(QStringLiteral("demo.smc"));
    if (!CDemoRom::Write(image, false, 1, true).ok)
        return 1;

    const std::string programs[2] = {GLYPHOX_EDITOR_PATH, GLYPHOX_FLOOR_PATH};
    std::vector<SRun> runs[2];
    std::mt19937 random(std::random_device{}());
    SRun warm;
    for (const std::string& program : programs) // page cache and font caches
        RunOnce(program, image.toStdString(), &warm);
    for (int round = 0; round < rounds; ++round) {
        const int first = int(random() % 2);
        for (int which : {first, 1 - first}) {
            SRun run;
            if (!RunOnce(programs[which], image.toStdString(), &run)) {
                std::fprintf(stderr, "%s failed\n", programs[which].c_str());
                return 1;
            }
            runs[which].push_back(run);
        }
    }
    std::printf("%d runs each, platform %s\n", rounds, std::getenv("QT_QPA_PLATFORM"));
    Report("editor", runs[0], runs[1]);
    return 0;
}
