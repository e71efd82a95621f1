// velkor-bench: the peak memory of Do All, measured on velkor-cli in a child
// process so that the benchmarks' own rasters do not count, then every
// benchmark as the median of several runs.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"

namespace velkor::bench {

namespace {

// Runs velkor-cli with `args` and returns its peak resident set in bytes, or
// -1 when it could not be run or failed; `seconds` is its wall time.
long long PeakResidentBytes(const std::vector<std::string>& args, double& seconds) {
  const auto start = std::chrono::steady_clock::now();
  const std::string cli = JoinPath(platform::ProgramFolder(), "velkor-cli");
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(cli.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // posix_spawn rather than fork: a forked child would start with this
  // process's pages and report them as its own peak.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t child = -1;
  const int spawned = posix_spawn(&child, cli.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return static_cast<long long>(usage.ru_maxrss) * 1024;  // ru_maxrss is in KiB
}

struct MemoryCase {
  const char* name;
  std::vector<std::string> args;
  double stripBytes, finalBytes;
};

void ReportPeakMemory() {
  const std::vector<MemoryCase> cases = {
      {"Do All static 2.20", {"do-all", OutputPath("peak-static.srf")}, 14400.0 * 750 * 4, 2880.0 * 150 * 4},
      {"Do All static 2.20, 3 steps",
       {"do-all", "--step-sample", "3", OutputPath("peak-static-3.srf")},
       14400.0 * 750 * 4,
       2880.0 * 150 * 4},
      {"Do All animated",
       {"do-all", "--animated", OutputPath("peak-animated.srf")},
       16210.0 * 1700 * 4,
       3242.0 * 340 * 4},
  };
  std::printf("velkor-cli, whole process: peak memory (max RSS, code and libraries included) and wall time\n");
  for (const MemoryCase& c : cases) {
    long long peak = 0;
    std::vector<double> times;
    for (int i = 0; i < 5 && peak >= 0; ++i) {
      double seconds = 0;
      const long long bytes = PeakResidentBytes(c.args, seconds);
      peak = bytes < 0 ? -1 : std::max(peak, bytes);
      times.push_back(seconds);
    }
    if (peak < 0) {
      std::printf("  %-28s failed to run\n", c.name);
      continue;
    }
    std::sort(times.begin(), times.end());
    const double target = 1.5 * c.stripBytes + c.finalBytes;
    std::printf("  %-28s %6.1f MB  target < %6.1f MB (1.5 x strip %.1f MB + final %.1f MB) %-4s  median %5.1f ms\n",
                c.name, static_cast<double>(peak) / 1e6, target / 1e6, c.stripBytes / 1e6, c.finalBytes / 1e6,
                static_cast<double>(peak) < target ? "ok" : "OVER", 1e3 * times[times.size() / 2]);
  }
  std::printf("\n");
}

}  // namespace

}  // namespace velkor::bench

int main(int argc, char** argv) {
  // Medians unless the command line asks otherwise.
  std::vector<char*> args(argv, argv + argc);
  std::string repetitions = "--benchmark_repetitions=" + std::to_string(velkor::bench::kRepetitions);
  std::string aggregates = "--benchmark_report_aggregates_only=true";
  bool repetitionsGiven = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0) repetitionsGiven = true;
  }
  if (!repetitionsGiven) {
    args.push_back(repetitions.data());
    args.push_back(aggregates.data());
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  // Measured first: a spawned child's peak counts the pages its parent had at
  // the spawn, which are few only before any benchmark has run.
  velkor::bench::ReportPeakMemory();
  std::fflush(stdout);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
