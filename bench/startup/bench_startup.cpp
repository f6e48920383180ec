// Start-up of the real program against a minimal Qt Widgets program showing
// an empty window of the same size: the time from starting the process to
// the window's first paint, and the peak resident memory, over 20 runs each
// (after one unmeasured warm-up run). Runs alternate so that a disturbance
// of the machine hits both alike. Run it where a window can be shown: under
// an X server, or with QT_QPA_PLATFORM=offscreen.
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
#include <vector>

extern char **environ;

namespace {

constexpr int Runs = 20;

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

void print(const char *name, const Summary &s)
{
    std::printf("%-16s %8.1f %8.1f %8.1f %8.1f %10.1f %10.1f\n", name, s.medianMs, s.meanMs,
                s.minMs, s.maxMs, s.medianRss, s.maxRss);
}

} // namespace

int main()
{
    const std::filesystem::path here =
        std::filesystem::read_symlink("/proc/self/exe").parent_path();
    const std::string minimal = here / "startup_minimal";
    const std::string lablist = here / "startup_lablist";

    runOnce(minimal);
    runOnce(lablist);
    std::vector<Run> minimalRuns, lablistRuns;
    for (int i = 0; i < Runs; ++i) {
        minimalRuns.push_back(runOnce(minimal));
        lablistRuns.push_back(runOnce(lablist));
    }

    const Summary base = summarize(minimalRuns);
    const Summary real = summarize(lablistRuns);
    std::printf("Process start to first paint, %d runs each (ms); peak RSS (MiB)\n", Runs);
    std::printf("%-16s %8s %8s %8s %8s %10s %10s\n", "program", "median", "mean", "min", "max",
                "RSS med", "RSS max");
    print("minimal window", base);
    print("lablist", real);
    std::printf("ratio lablist/minimal: %.3f (median), %.3f (mean); aim <= 1.15\n",
                real.medianMs / base.medianMs, real.meanMs / base.meanMs);
    return 0;
}
