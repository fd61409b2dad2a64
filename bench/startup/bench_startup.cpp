// Scrivane's start with the full reference against a bare Qt program that shows an empty main
// window of the same size (the ratios without a suffix), and against a program whose window
// shows a menu bar and a few lines of text (the ratios "_vs_text"): what any program pays
// for drawing its first text. All are whole processes started the same way (same
// environment, same platform, fresh settings) and all end at the same point: their main
// window has painted its first frame and the event queue is idle (common/ui/idleprobe.h).
// They run one after the other in every round, each round starting with the next program, so
// that the machine's load falls on all alike. The counters give the medians of each side
// (wall clock and processor time), the ratios, and the peak memory (maximum resident set).
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

// The programs of one round: the two yardsticks and Scrivane.
struct Side {
  const char* name;
  const char* program;
  std::vector<double> ms, cpu, mib;
};

void BM_StartupPair(benchmark::State& state, const std::string& platform) {
  if (platform == "xcb" && !std::getenv("DISPLAY")) {
    state.SkipWithError("no DISPLAY for the xcb platform");
    return;
  }
  Environment env(platform);
  Side sides[] = {{"bare", TARVEX_BARE_WINDOW, {}, {}, {}},
                  {"text", TARVEX_TEXT_WINDOW, {}, {}, {}},
                  {"scrivane", TARVEX_SCRIVANE, {}, {}, {}}};
  constexpr size_t kSides = sizeof sides / sizeof sides[0];
  size_t first = 0;
  for (auto _ : state) {
    // Each round starts with the next program, so that no side always runs first.
    for (size_t k = 0; k < kSides; ++k) {
      Side& side = sides[(first + k) % kSides];
      Run run;
      if (!RunOnce(side.program, env, &run)) {
        state.SkipWithError("a program did not start and end cleanly");
        return;
      }
      side.ms.push_back(run.ms);
      side.cpu.push_back(run.cpuMs);
      side.mib.push_back(run.mib);
    }
    first = (first + 1) % kSides;
  }
  // Medians of each side; processor time (user + system) is less disturbed by other work on
  // the machine. The ratios are Scrivane's against each yardstick.
  const Side& scr = sides[kSides - 1];
  for (const Side& side : sides) {
    const std::string n = side.name;
    state.counters[n + "_ms"] = Median(side.ms);
    state.counters[n + "_cpu_ms"] = Median(side.cpu);
    state.counters[n + "_MiB"] = Median(side.mib);
    if (&side == &scr) continue;
    auto ratio = [](const std::vector<double>& a, const std::vector<double>& b) {
      const double m = Median(b);
      return m > 0 ? Median(a) / m : 0;
    };
    const std::string vs = n == "bare" ? "" : "_vs_" + n;
    state.counters["ratio" + vs] = ratio(scr.ms, side.ms);
    state.counters["cpu_ratio" + vs] = ratio(scr.cpu, side.cpu);
    state.counters["mem_ratio" + vs] = ratio(scr.mib, side.mib);
  }
}

BENCHMARK_CAPTURE(BM_StartupPair, offscreen, std::string("offscreen"))
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);
BENCHMARK_CAPTURE(BM_StartupPair, xcb, std::string("xcb"))->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

}  // namespace

BENCHMARK_MAIN();
