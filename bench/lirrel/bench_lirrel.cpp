// Speed of the string table on a table of 32,767 keys: load and save in the table alone,
// against the plain reading of the file's lines into a list of texts, and the load into the
// editor window with its key list.
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>

#include "common/ansicodec.h"
#include "common/files.h"
#include "lirrel/core/stringtable.h"
#include "lirrel/core/tablefile.h"
#include "lirrel/gui/lireditor.h"

namespace {

constexpr int kKeys = 32767;

// A table of the game's shape: a count line, comment blocks, indented key lines with padding
// of varying width, 300 groups whose keys stand together, values of a few words.
QByteArray GeneratedTable() {
  QByteArray out = "MSGS 32767   # count\r\n\r\n# \"<key>\" <unused number> \"<string>\"\r\n\r\n";
  for (int i = 0; i < kKeys; ++i) {
    if (i % 100 == 0) out += "\r\n#*****************\r\n#  Section\r\n#*****************\r\n";
    const QByteArray name = "GRP" + QByteArray::number(i / 110) + "_KEY_" + QByteArray::number(i) +
                            (i % 7 == 0 ? " %s" : "");
    out += "   \"" + name + "\"" + QByteArray(qMax<qsizetype>(1, 34 - name.size()), ' ') + "0 \"Message number " +
           QByteArray::number(i) + ": press FIRE to go on, '%s'.\"\r\n";
  }
  out += "\r\nEND\r\n";
  return out;
}

const QString& Folder() {
  static QTemporaryDir dir;
  static const bool written = [] {
    QFile f(lirrel::TablePath(dir.path()));
    return f.open(QIODevice::WriteOnly) && f.write(GeneratedTable()) > 0;
  }();
  (void)written;
  static const QString path = dir.path();
  return path;
}

// The yardstick: the file's lines in a list of texts.
void BM_ReadLinesIntoList(benchmark::State& state) {
  const QString path = lirrel::TablePath(Folder());
  for (auto _ : state) {
    QByteArray bytes;
    tarvex::ReadWholeFile(path, &bytes);
    QStringList lines = tarvex::DecodeAnsi(bytes).split(QStringLiteral("\r\n"));
    benchmark::DoNotOptimize(lines);
  }
}
BENCHMARK(BM_ReadLinesIntoList)->Unit(benchmark::kMillisecond);

// The same with a hand-written split at each line feed: the quickest honest yardstick.
void BM_ReadLinesIntoListByHand(benchmark::State& state) {
  const QString path = lirrel::TablePath(Folder());
  for (auto _ : state) {
    QByteArray bytes;
    tarvex::ReadWholeFile(path, &bytes);
    const QString text = tarvex::DecodeAnsi(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text[i] != QLatin1Char('\n')) continue;
      lines << text.mid(start, i - start - (i > start && text[i - 1] == QLatin1Char('\r')));
      start = i + 1;
    }
    benchmark::DoNotOptimize(lines);
  }
}
BENCHMARK(BM_ReadLinesIntoListByHand)->Unit(benchmark::kMillisecond);

void BM_TableLoad(benchmark::State& state) {
  lirrel::StringTable table;
  for (auto _ : state) {
    table.LoadTable(Folder(), lirrel::LoadMode::Load);
    benchmark::DoNotOptimize(table.Count());
  }
  if (table.Count() != kKeys) state.SkipWithError("wrong key count");
}
BENCHMARK(BM_TableLoad)->Unit(benchmark::kMillisecond);

// Save as the editor does it: the new file, the backup, and the reading back.
void BM_TableSave(benchmark::State& state) {
  QTemporaryDir out;
  lirrel::StringTable table;
  table.LoadTable(Folder(), lirrel::LoadMode::Load);
  for (auto _ : state) table.SaveTable(out.path());
  if (table.Count() != kKeys) state.SkipWithError("wrong key count");
}
BENCHMARK(BM_TableSave)->Unit(benchmark::kMillisecond);

// The save's own work against reading the file's lines, and the wait for the disk apart.
// Every iteration reads the lines, saves into a folder in memory (tmpfs, where the sync
// returns at once: serializing, writing, renaming, rebuilding) and saves onto the disk (the
// same and the sync). The counters give the medians, the work's ratio to the reading and the
// sync (the disk save less the one in memory).
void BM_TableSaveAgainstReadingLines(benchmark::State& state) {
  QTemporaryDir memory(QStringLiteral("/dev/shm/tarvex-bench-XXXXXX")), disk;
  if (!memory.isValid()) {
    state.SkipWithError("no tmpfs folder at /dev/shm");
    return;
  }
  using Clock = std::chrono::steady_clock;
  const auto ms = [](Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); };
  lirrel::StringTable table;
  table.LoadTable(Folder(), lirrel::LoadMode::Load);
  const QString path = lirrel::TablePath(Folder());
  std::vector<double> read, work, onDisk;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    QByteArray bytes;
    tarvex::ReadWholeFile(path, &bytes);
    QStringList lines = tarvex::DecodeAnsi(bytes).split(QStringLiteral("\r\n"));
    benchmark::DoNotOptimize(lines);
    const auto t1 = Clock::now();
    table.SaveTable(memory.path());
    const auto t2 = Clock::now();
    table.SaveTable(disk.path());
    const auto t3 = Clock::now();
    read.push_back(ms(t0, t1));
    work.push_back(ms(t1, t2));
    onDisk.push_back(ms(t2, t3));
  }
  const auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
  };
  const double r = median(read), w = median(work), d = median(onDisk);
  state.counters["read_lines_ms"] = r;
  state.counters["save_work_ms"] = w;
  state.counters["ratio"] = r > 0 ? w / r : 0;
  state.counters["save_on_disk_ms"] = d;
  state.counters["sync_ms"] = d - w;
  if (table.Count() != kKeys) state.SkipWithError("wrong key count");
}
BENCHMARK(BM_TableSaveAgainstReadingLines)->Unit(benchmark::kMillisecond)->Iterations(30);

// The written form alone, without the disk and the reading back.
void BM_TableSerialize(benchmark::State& state) {
  lirrel::StringTable table;
  table.LoadTable(Folder(), lirrel::LoadMode::Load);
  for (auto _ : state) benchmark::DoNotOptimize(table.Serialize());
}
BENCHMARK(BM_TableSerialize)->Unit(benchmark::kMillisecond);

// The whole window: lists rebuilt, every key listed and shown.
void BM_WindowLoad(benchmark::State& state) {
  lirrel::lirEditor editor;
  editor.show();
  for (auto _ : state) {
    editor.Table().LoadTable(Folder(), lirrel::LoadMode::Load);
    QCoreApplication::processEvents();
  }
  if (editor.KeyNames()->Count() != kKeys + 1) state.SkipWithError("wrong list length");
}
BENCHMARK(BM_WindowLoad)->Unit(benchmark::kMillisecond);

// For comparison: the same entries as one item object each in a QListWidget.
void BM_ListWidgetFill(benchmark::State& state) {
  lirrel::StringTable table;
  table.LoadTable(Folder(), lirrel::LoadMode::Load);
  QListWidget list;
  list.setUniformItemSizes(true);
  list.show();
  for (auto _ : state) {
    list.clear();
    for (size_t k = 0; k < table.keyTable().size(); ++k) {
      auto* item = new QListWidgetItem(table.keyTable()[k].name, &list);
      item->setData(Qt::UserRole, int(k));
    }
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_ListWidgetFill)->Unit(benchmark::kMillisecond);

// A table whose one value is 10 MiB without a blank, as a hand-edited or damaged file may hold:
// each thing the user does with it must stay well under a second.
const QString& HugeFolder() {
  static QTemporaryDir dir;
  static const bool written = [] {
    QByteArray out = "MSGS 2\r\n\"SHORT\" 0 \"s\"\r\n\"HUGE\" 0 \"" + QByteArray(10 << 20, 'x') + "\"\r\nEND\r\n";
    return tarvex::WriteWholeFile(lirrel::TablePath(dir.path()), out);
  }();
  (void)written;
  static const QString path = dir.path();
  return path;
}

enum class HugeStep { Load, ShowValue, ResetValue, StoreValue, Save };

// Answers every message at once (the save reports the line the game cuts).
class AnsweringPrompts final : public tarvex::Prompts {
 public:
  tarvex::MsgResult MsgBox(const QString&, const QString&, tarvex::MsgButtons, tarvex::MsgIcon) override {
    return tarvex::MsgResult::OK;
  }
  QString InputBox(const QString&, const QString&, const QString&) override { return QString(); }
  std::optional<QString> OpenFileName(const tarvex::FileDialogRequest&) override { return std::nullopt; }
  std::optional<QString> SaveFileName(const tarvex::FileDialogRequest&) override { return std::nullopt; }
  std::optional<QFont> PickFont(const QFont&) override { return std::nullopt; }
  bool SetUpPrinter(QPrinter&) override { return false; }
};

void BM_HugeValue(benchmark::State& state, HugeStep step) {
  AnsweringPrompts answering;
  tarvex::SetPrompts(&answering);
  lirrel::lirEditor editor;
  editor.show();
  editor.Table().LoadTable(HugeFolder(), lirrel::LoadMode::Load);
  editor.keyNameBox->SelectRow(2);
  QTemporaryDir out;
  for (auto _ : state) {
    switch (step) {
      case HugeStep::Load: editor.Table().LoadTable(HugeFolder(), lirrel::LoadMode::Load); break;
      case HugeStep::ShowValue:
        editor.keyNameBox->SelectRow(1);
        editor.keyNameBox->SelectRow(2);  // the huge key
        break;
      case HugeStep::ResetValue: editor.cmdBtn_Click(2); break;
      case HugeStep::StoreValue: editor.cmdBtn_Click(0); break;
      case HugeStep::Save: editor.Table().SaveTable(out.path()); break;
    }
    QCoreApplication::processEvents();
  }
  if (editor.Table().keyTable().back().value.size() != (10 << 20)) state.SkipWithError("the value changed");
  tarvex::SetPrompts(nullptr);
}
BENCHMARK_CAPTURE(BM_HugeValue, load, HugeStep::Load)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HugeValue, show_value, HugeStep::ShowValue)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HugeValue, reset_value, HugeStep::ResetValue)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HugeValue, store_value, HugeStep::StoreValue)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HugeValue, save, HugeStep::Save)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir settings;  // the author lines are read from an empty settings folder
  qputenv("TARVEX_CONFIG_DIR", settings.path().toLocal8Bit());
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Lirrel"));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
