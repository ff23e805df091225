// Starts two commands in turn, N times each, and prints the medians of their
// wall and CPU times (the child's user + system time), the ratio and the
// difference. The order alternates every round (AB, BA, ...) so that a drift
// in the machine's load falls on both alike. Output goes to /dev/null, or to
// the file SPAWN_TIMER_OUTPUT names.
//   spawn_timer RUNS LABEL-A LABEL-B -- COMMAND-A... -- COMMAND-B...
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

struct Sample {
    double wallMs;
    double cpuMs;
    double userMs; // the kernel's split of the CPU time, sampled at its ticks:
    double systemMs; // a mean over many runs, not one run's figure
    long minorFaults;
};

Sample runOnce(std::vector<char*>& argv)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // SPAWN_TIMER_OUTPUT names a file to take standard output instead of
    // /dev/null (a character device), emptied before each run.
    const char* output = std::getenv("SPAWN_TIMER_OUTPUT");
    if (output && *output)
        posix_spawn_file_actions_addopen(&actions, 1, output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    timespec start{}, stop{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    clock_gettime(CLOCK_MONOTONIC, &stop);
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return {(stop.tv_sec - start.tv_sec) * 1e3 + (stop.tv_nsec - start.tv_nsec) / 1e6,
            ms(usage.ru_utime) + ms(usage.ru_stime), ms(usage.ru_utime), ms(usage.ru_stime), usage.ru_minflt};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 7 || std::strcmp(argv[4], "--") != 0) {
        std::fprintf(stderr, "usage: spawn_timer RUNS LABEL-A LABEL-B -- COMMAND-A... -- COMMAND-B...\n");
        return 2;
    }
    int runs = std::atoi(argv[1]);
    std::vector<char*> a, b;
    int i = 5;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        a.push_back(argv[i]);
    for (++i; i < argc; ++i)
        b.push_back(argv[i]);
    if (a.empty() || b.empty() || runs < 1) {
        std::fprintf(stderr, "two commands and at least one run\n");
        return 2;
    }
    a.push_back(nullptr);
    b.push_back(nullptr);

    // Warm the page cache and the font caches for both.
    runOnce(a);
    runOnce(b);
    std::vector<double> wallA, wallB, cpuA, cpuB;
    double userA = 0, userB = 0, systemA = 0, systemB = 0, faultsA = 0, faultsB = 0;
    for (int r = 0; r < runs; ++r) {
        bool aFirst = r % 2 == 0;
        Sample first = runOnce(aFirst ? a : b);
        Sample second = runOnce(aFirst ? b : a);
        Sample sa = aFirst ? first : second, sb = aFirst ? second : first;
        wallA.push_back(sa.wallMs);
        wallB.push_back(sb.wallMs);
        cpuA.push_back(sa.cpuMs);
        cpuB.push_back(sb.cpuMs);
        userA += sa.userMs;
        userB += sb.userMs;
        systemA += sa.systemMs;
        systemB += sb.systemMs;
        faultsA += double(sa.minorFaults);
        faultsB += double(sb.minorFaults);
    }
    double wa = median(wallA), wb = median(wallB), ca = median(cpuA), cb = median(cpuB);
    std::printf("%d runs each, alternating, medians\n", runs);
    std::printf("%-34s wall %8.3f ms   cpu %8.3f ms\n", argv[2], wa, ca);
    std::printf("%-34s wall %8.3f ms   cpu %8.3f ms\n", argv[3], wb, cb);
    std::printf("ratio (%s / %s): wall %.3f, cpu %.3f\n", argv[2], argv[3], wa / wb, cb > 0 ? ca / cb : 0.0);
    std::printf("difference: wall %+.3f ms, cpu %+.3f ms\n", wa - wb, ca - cb);
    std::printf("means: user %.3f / %.3f ms, system %.3f / %.3f ms, page faults %.1f / %.1f\n", userA / runs,
                userB / runs, systemA / runs, systemB / runs, faultsA / runs, faultsB / runs);
    // The two runs of one round meet the same load: their ratio, round by
    // round, moves less on a busy machine than the ratio of the medians.
    std::vector<double> paired;
    for (int r = 0; r < runs; ++r)
        if (cpuB[r] > 0)
            paired.push_back(cpuA[r] / cpuB[r]);
    if (!paired.empty()) {
        std::sort(paired.begin(), paired.end());
        const std::size_t n = paired.size();
        std::printf("cpu ratio round by round: median %.3f, middle half %.3f-%.3f\n", median(paired),
                    paired[n / 4], paired[(3 * n) / 4 - (n >= 4 ? 1 : 0)]);
    }
    return 0;
}
