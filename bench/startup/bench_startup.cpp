// Start-up of the real program against two plain Qt Widgets programs: an empty
// window of the main window's size, and the main window's own widgets made by
// plain Qt. Lablist over the second is the program's own cost. Each program is
// timed from starting the process to its window's first complete paint, with
// its peak resident memory, over 20 runs (after one unmeasured warm-up run).
// Runs alternate so that a disturbance of the machine hits all alike. Run it
// where a window can be shown: under an X server, or with
// QT_QPA_PLATFORM=offscreen.
//
// Usage: bench_startup [runs] [name=program ...]
// Each name=program is timed alongside, for instance an earlier build's
// startup_lablist, so that before and after come from one run.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <numeric>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char **environ;

namespace {

constexpr int DefaultRuns = 20;

struct Run
{
    double toPaintMs;
    double peakRssMiB;
};

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

[[noreturn]] void die(const std::string &what)
{
    std::fprintf(stderr, "bench_startup: %s: %s\n", what.c_str(), std::strerror(errno));
    std::exit(2);
}

// Starts the program, reads the time of its first paint from its stdout and
// waits for it to end.
Run runOnce(const std::string &program)
{
    int out[2];
    if (pipe(out) != 0)
        die("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char *argv[] = {const_cast<char *>(program.c_str()), nullptr};

    const long long started = monotonicNs();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0)
        die("cannot start " + program);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);

    std::string line;
    char buffer[64];
    ssize_t n = 0;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0)
        line.append(buffer, static_cast<size_t>(n));
    close(out[0]);

    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        die("wait4");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || line.empty()) {
        std::fprintf(stderr, "bench_startup: %s failed (status %d) or never painted\n",
                     program.c_str(), status);
        std::exit(2);
    }
    const long long painted = std::atoll(line.c_str());
    return {static_cast<double>(painted - started) / 1e6,
            static_cast<double>(usage.ru_maxrss) / 1024.0};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

struct Summary
{
    double medianMs, meanMs, minMs, maxMs, medianRss, maxRss;
};

Summary summarize(const std::vector<Run> &runs)
{
    std::vector<double> ms, rss;
    for (const Run &run : runs) {
        ms.push_back(run.toPaintMs);
        rss.push_back(run.peakRssMiB);
    }
    return {median(ms),
            std::accumulate(ms.begin(), ms.end(), 0.0) / static_cast<double>(ms.size()),
            *std::min_element(ms.begin(), ms.end()),
            *std::max_element(ms.begin(), ms.end()),
            median(rss),
            *std::max_element(rss.begin(), rss.end())};
}

void print(const char *name, const Summary &s, const Summary &widgets)
{
    std::printf("%-16s %8.1f %8.1f %8.1f %8.1f %10.1f %10.1f %5.2f %5.2f\n", name, s.medianMs,
                s.meanMs, s.minMs, s.maxMs, s.medianRss, s.maxRss, s.medianMs / widgets.medianMs,
                s.medianRss / widgets.medianRss);
}

} // namespace

int main(int argc, char *argv[])
{
    const std::filesystem::path here =
        std::filesystem::read_symlink("/proc/self/exe").parent_path();
    std::vector<std::pair<std::string, std::string>> programs = {
        {"minimal window", here / "startup_minimal"},
        {"same widgets", here / "startup_widgets"},
        {"lablist", here / "startup_lablist"},
    };
    int runs = DefaultRuns;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (const auto equals = arg.find('='); equals != std::string::npos)
            programs.emplace_back(arg.substr(0, equals), arg.substr(equals + 1));
        else
            runs = std::max(1, std::atoi(arg.c_str()));
    }

    for (const auto &program : programs)
        runOnce(program.second);
    std::vector<std::vector<Run>> results(programs.size());
    for (int i = 0; i < runs; ++i)
        for (size_t p = 0; p < programs.size(); ++p)
            results[p].push_back(runOnce(programs[p].second));

    std::vector<Summary> summaries;
    for (const auto &result : results)
        summaries.push_back(summarize(result));
    std::printf("Process start to first paint, %d runs each (ms); peak RSS (MiB)\n", runs);
    std::printf("%-16s %8s %8s %8s %8s %10s %10s %11s\n", "program", "median", "mean", "min", "max",
                "RSS med", "RSS max", "vs widgets");
    const Summary &widgets = summaries[1];
    for (size_t p = 0; p < programs.size(); ++p)
        print(programs[p].first.c_str(), summaries[p], widgets);
    std::printf("lablist over the same widgets: %.3f (median time), %.3f (median RSS); "
                "aim <= 1.05 for both\n",
                summaries[2].medianMs / widgets.medianMs,
                summaries[2].medianRss / widgets.medianRss);
    return 0;
}
