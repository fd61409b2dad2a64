// Reading the shipped function reference, as Scrivane does at every start: the file read,
// decoded and parsed into categories. Reported in bytes per second of the file.
#include <QFileInfo>
#include <benchmark/benchmark.h>

#include "scrivane/core/cogref.h"

namespace {

void BM_ReadShippedReference(benchmark::State& state) {
  const QString path = QStringLiteral(TARVEX_SOURCE_DIR "/scrivane/data/cogref.dat");
  bool exists = false;
  for (auto _ : state) {
    const scrivane::CogRefData data = scrivane::LoadCogRefFile(path, &exists);
    benchmark::DoNotOptimize(data.categories.size());
  }
  if (!exists) state.SkipWithError("cogref.dat not found");
  state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_ReadShippedReference)->Unit(benchmark::kMicrosecond);

}  // namespace
