// Scrivane's start with the full reference, until its main window is shown and idle, against
// a bare Qt program showing an empty main window. Both run as processes, one after the other
// in each iteration pair, so machine load affects both alike. Report medians (repetitions).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void RunProcess(benchmark::State& state, const QString& program) {
  QTemporaryDir config;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("TARVEX_QUIT_WHEN_IDLE"), QStringLiteral("1"));
  env.insert(QStringLiteral("TARVEX_CONFIG_DIR"), config.path());
  if (!env.contains(QStringLiteral("QT_QPA_PLATFORM"))) env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  for (auto _ : state) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, {});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
      state.SkipWithError("the program did not start and quit cleanly");
      return;
    }
  }
}

void BM_BareQtWindow(benchmark::State& state) { RunProcess(state, QStringLiteral(TARVEX_BARE_WINDOW)); }
void BM_ScrivaneStart(benchmark::State& state) { RunProcess(state, QStringLiteral(TARVEX_SCRIVANE)); }

BENCHMARK(BM_BareQtWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ScrivaneStart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
