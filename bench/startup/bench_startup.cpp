// Scrivane's start with the full reference against a bare Qt program that shows an empty main
// window of the same size. Both are whole processes started the same way (same environment,
// same platform, fresh settings) and both end at the same point: their main window has
// painted its first frame and the event queue is idle (common/ui/idleprobe.h). The two run
// one after the other in every pair, in alternating order, so that the machine's load falls
// on both alike. The counters give the medians of both sides (wall clock and processor
// time), their ratios, and the peak memory (maximum resident set) of each.
//   startup_bench                      offscreen platform, and xcb when DISPLAY is set
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Run {
  double ms = 0, cpuMs = 0, mib = 0;
};

class Environment {
 public:
  explicit Environment(const std::string& platform) {
    char tmpl[] = "/tmp/tarvex-startup-XXXXXX";
    if (char* d = mkdtemp(tmpl)) config_ = d;
    for (char** e = environ; *e; ++e) {
      const std::string s = *e;
      if (s.rfind("QT_QPA_PLATFORM=", 0) != 0 && s.rfind("TARVEX_", 0) != 0) vars_.push_back(s);
    }
    vars_.push_back("QT_QPA_PLATFORM=" + platform);
    vars_.push_back("TARVEX_QUIT_WHEN_IDLE=1");
    vars_.push_back("TARVEX_CONFIG_DIR=" + config_);
    for (std::string& v : vars_) envp_.push_back(v.data());
    envp_.push_back(nullptr);
  }
  ~Environment() {
    std::error_code ec;
    if (!config_.empty()) std::filesystem::remove_all(config_, ec);
  }
  char** envp() { return envp_.data(); }

 private:
  std::string config_;
  std::vector<std::string> vars_;
  std::vector<char*> envp_;
};

// Starts the program and waits for it; false when it did not end cleanly.
bool RunOnce(const char* program, Environment& env, Run* out) {
  char* argv[] = {const_cast<char*>(program), nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, program, nullptr, nullptr, argv, env.envp()) != 0) return false;
  int status = 0;
  rusage ru{};
  if (wait4(pid, &status, 0, &ru) != pid) return false;
  out->ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  out->cpuMs = (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1e3 + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e3;
  out->mib = double(ru.ru_maxrss) / 1024.0;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void BM_StartupPair(benchmark::State& state, const std::string& platform) {
  if (platform == "xcb" && !std::getenv("DISPLAY")) {
    state.SkipWithError("no DISPLAY for the xcb platform");
    return;
  }
  Environment env(platform);
  std::vector<double> bareMs, scrMs, bareCpu, scrCpu, bareMib, scrMib;
  bool scrivaneFirst = false;
  for (auto _ : state) {
    Run bare, scr;
    const bool ok = scrivaneFirst
                        ? RunOnce(TARVEX_SCRIVANE, env, &scr) && RunOnce(TARVEX_BARE_WINDOW, env, &bare)
                        : RunOnce(TARVEX_BARE_WINDOW, env, &bare) && RunOnce(TARVEX_SCRIVANE, env, &scr);
    if (!ok) {
      state.SkipWithError("a program did not start and end cleanly");
      return;
    }
    scrivaneFirst = !scrivaneFirst;
    bareMs.push_back(bare.ms);
    scrMs.push_back(scr.ms);
    bareCpu.push_back(bare.cpuMs);
    scrCpu.push_back(scr.cpuMs);
    bareMib.push_back(bare.mib);
    scrMib.push_back(scr.mib);
  }
  const double b = Median(bareMs), s = Median(scrMs), bm = Median(bareMib), sm = Median(scrMib);
  state.counters["bare_ms"] = b;
  state.counters["scrivane_ms"] = s;
  state.counters["ratio"] = b > 0 ? s / b : 0;
  // Processor time (user + system) is less disturbed by other work on the machine.
  const double bc = Median(bareCpu), sc = Median(scrCpu);
  state.counters["bare_cpu_ms"] = bc;
  state.counters["scrivane_cpu_ms"] = sc;
  state.counters["cpu_ratio"] = bc > 0 ? sc / bc : 0;
  state.counters["bare_MiB"] = bm;
  state.counters["scrivane_MiB"] = sm;
  state.counters["mem_ratio"] = bm > 0 ? sm / bm : 0;
}

BENCHMARK_CAPTURE(BM_StartupPair, offscreen, std::string("offscreen"))
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);
BENCHMARK_CAPTURE(BM_StartupPair, xcb, std::string("xcb"))->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

}  // namespace

BENCHMARK_MAIN();
