// Speed of Orvane's readers: a models.dat of 10,000 entries loaded and saved in the model
// alone against reading its lines into a list of texts, and the listing of an archive of
// 20,000 entries and 200 MB against reading its index bytes alone.
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "common/ansicodec.h"
#include "common/files.h"
#include "orvane/core/gobarchive.h"
#include "orvane/core/modeltable.h"
#include "tests/support/gob_builder.h"

namespace {

constexpr int kModels = 10000;
constexpr int kArchiveEntries = 20000;
constexpr qint64 kArchiveSize = 200LL * 1024 * 1024;

QTemporaryDir& Dir() {
  static QTemporaryDir dir;
  return dir;
}

// A table of the real file's shape: comment lines, the count, one model line per slot, some
// with a comment after the sound.
const QString& ModelsPath() {
  static const QString path = [] {
    QByteArray out = "# Model selection info.\r\n\r\nnumModels: 10000\r\n\r\n#\tModel name\r\n";
    for (int i = 0; i < kModels; ++i)
      out += QByteArray::number(i) + ": model" + QByteArray::number(i) + ".3do\tky" + QByteArray::number(i % 7) +
             ".snd" + (i % 5 == 0 ? "\t# a comment for this one" : "") + "\r\n";
    const QString p = Dir().filePath("models.dat");
    tarvex::WriteWholeFile(p, out);
    return p;
  }();
  return path;
}

// An archive whose index lists 20,000 entries in the game's folders; its data is one hole.
const QString& ArchivePath() {
  static const QString path = [] {
    tarvex::test::GobFiles files;
    const char* folders[] = {"3do\\", "mat\\", "misc\\snd\\", "cog\\"};
    for (int i = 0; i < kArchiveEntries; ++i)
      files.push_back({QByteArray(folders[i % 4]) + "entry" + QByteArray::number(i) + ".dat", QByteArray()});
    QByteArray bytes = tarvex::test::BuildGob(files);
    const qint64 each = (kArchiveSize - bytes.size()) / kArchiveEntries;
    for (int i = 0; i < kArchiveEntries; ++i) {  // every entry a slice of the hole after the index
      char* e = bytes.data() + 16 + i * 136;
      qToLittleEndian(quint32(bytes.size() + i * each), e);
      qToLittleEndian(quint32(each), e + 4);
    }
    const QString p = Dir().filePath("big.gob");
    QFile f(p);
    if (f.open(QIODevice::WriteOnly)) {
      f.write(bytes);
      f.resize(kArchiveSize);
    }
    return p;
  }();
  return path;
}

void BM_ReadModelLinesIntoList(benchmark::State& state) {
  for (auto _ : state) {
    QByteArray bytes;
    tarvex::ReadWholeFile(ModelsPath(), &bytes);
    QStringList lines = tarvex::DecodeAnsi(bytes).split(QStringLiteral("\r\n"));
    benchmark::DoNotOptimize(lines);
  }
}
BENCHMARK(BM_ReadModelLinesIntoList)->Unit(benchmark::kMicrosecond);

void BM_ModelsLoad(benchmark::State& state) {
  size_t n = 0;
  for (auto _ : state) {
    QByteArray bytes;
    tarvex::ReadWholeFile(ModelsPath(), &bytes);
    const orvane::ModelText t = orvane::ReadModelText(tarvex::DecodeAnsi(bytes));
    n = t.entries.size();
  }
  if (n != size_t(kModels)) state.SkipWithError("wrong model count");
}
BENCHMARK(BM_ModelsLoad)->Unit(benchmark::kMicrosecond);

void BM_ModelsSave(benchmark::State& state) {
  QByteArray bytes;
  tarvex::ReadWholeFile(ModelsPath(), &bytes);
  const orvane::ModelText t = orvane::ReadModelText(tarvex::DecodeAnsi(bytes));
  const QString out = Dir().filePath("saved.dat");
  for (auto _ : state)
    tarvex::WriteWholeFile(out, tarvex::EncodeAnsi(orvane::ModelFileText(t.entries, t.comments, {})));
}
BENCHMARK(BM_ModelsSave)->Unit(benchmark::kMicrosecond);

// The yardstick: the index's bytes read, nothing made of them.
void BM_ReadArchiveIndexBytes(benchmark::State& state) {
  for (auto _ : state) {
    QFile f(ArchivePath());
    f.open(QIODevice::ReadOnly);
    f.seek(12);
    QByteArray index = f.read(4 + qint64(kArchiveEntries) * 136);
    benchmark::DoNotOptimize(index);
  }
}
BENCHMARK(BM_ReadArchiveIndexBytes)->Unit(benchmark::kMicrosecond);

void BM_ArchiveList(benchmark::State& state) {
  int n = 0;
  for (auto _ : state) {
    orvane::GobIndex index;
    QString fault;
    index.ReadFile(ArchivePath(), &fault);
    n = index.Count();
  }
  if (n != kArchiveEntries) state.SkipWithError("archive not listed");
}
BENCHMARK(BM_ArchiveList)->Unit(benchmark::kMicrosecond);

// The picker's list: the names in 3do\, sorted.
void BM_ArchiveModelNames(benchmark::State& state) {
  orvane::GobIndex index;
  QString fault;
  index.ReadFile(ArchivePath(), &fault);
  for (auto _ : state) benchmark::DoNotOptimize(index.NamesIn(QStringLiteral("3do\\")));
}
BENCHMARK(BM_ArchiveModelNames)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
