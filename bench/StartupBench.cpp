// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up time and peak memory of the settings window, each against an empty
// Qt Widgets window started in the same run. The two probes run alternately
// so that caches and machine load treat them alike. Linux only (wait4).
//
// Reproduce: scripts/bench.sh (or build/bench/startup_bench [runs])

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Start
{
    double shownMs = 0; // fork to the probe's report of its first exposure
    long peakKb = 0;
};

bool runProbe(const std::string &probe, const char *mode, Start &start)
{
    int out[2];
    if (pipe(out) != 0)
        return false;
    const auto begun = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        execl(probe.c_str(), probe.c_str(), mode, static_cast<char *>(nullptr));
        _exit(127);
    }
    close(out[1]);
    char text[64] = {};
    const ssize_t got = read(out[0], text, sizeof text - 1);
    start.shownMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begun).count();
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    start.peakKb = usage.ru_maxrss;
    return got > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

template <typename T> double median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return double(values[values.size() / 2]);
}

} // namespace

int main(int argc, char *argv[])
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string self = argv[0];
    const std::string probe = self.substr(0, self.rfind('/') + 1) + "startup_probe";

    constexpr int kModes = 3;
    const char *modes[kModes] = {"empty", "text", "setup"};
    const char *names[kModes] = {"empty Qt window", "Qt window with one label", "settings window"};
    std::vector<double> shown[kModes];
    std::vector<long> peak[kModes];
    for (int run = 0; run < runs; ++run) {
        for (int m = 0; m < kModes; ++m) {
            Start start;
            if (!runProbe(probe, modes[m], start)) {
                std::fprintf(stderr, "startup_probe %s failed\n", modes[m]);
                return 1;
            }
            shown[m].push_back(start.shownMs);
            peak[m].push_back(start.peakKb);
        }
    }
    std::printf("Start-up, median of %d runs of each, from fork to the first exposure:\n", runs);
    for (int m = 0; m < kModes; ++m)
        std::printf("  %-26s %7.1f ms  %7.0f KiB peak\n", names[m], median(shown[m]),
                    median(peak[m]));
    const int setup = kModes - 1;
    for (int base = 0; base < setup; ++base)
        std::printf("  settings window / %-26s time %.2f, memory %.2f\n", names[base],
                    median(shown[setup]) / median(shown[base]),
                    median(peak[setup]) / median(peak[base]));
    return 0;
}
