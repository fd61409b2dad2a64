// The Bramwise tree on a generated 20,000-line script (2,000 declarations of mixed types, 500
// of them messages with their handlers, 5,000 comments): the scan against one plain pass over
// the text, the filling of the tree in the window against creating the same items directly,
// and Find Next walking a 20,000-node tree.
#include <QComboBox>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include "common/paths.h"
#include "scrivane/core/bramwise.h"
#include "scrivane/core/shell.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace {

// `declarations` declarations, 500 of them messages, then the 500 handlers with 10 comments each.
QString BigScript(int declarations) {
  const QStringList types = scrivane::SymbolTypeNames();
  QString s = QStringLiteral("# generated\r\nflags=0x240\r\nsymbols\r\n");
  int other = 0;
  for (int i = 0; i < declarations; ++i) {
    if (i % 4 == 0 && i / 4 < 500) {
      s += QStringLiteral("message\thandler%1\r\n").arg(i / 4);
    } else {
      const QString& t = types[(other++ * 5) % types.size()];
      s += (t == QLatin1String("message") ? QStringLiteral("int") : t) + QStringLiteral("\tsym%1\tlocal\r\n").arg(i);
    }
  }
  s += QStringLiteral("end\r\n\r\ncode\r\n");
  for (int h = 0; h < 500; ++h) {
    s += QStringLiteral("handler%1:\r\n").arg(h);
    for (int k = 0; k < 24; ++k) {
      if (k % 2 == 0 && k < 20) s += QStringLiteral("\t// step %1 of handler %2\r\n").arg(k / 2).arg(h);
      s += QStringLiteral("\tSetThingFlags(sym%1, 0x400);\r\n").arg(k);
    }
    s += QStringLiteral("return;\r\n\r\n");
  }
  return s + QStringLiteral("end\r\n");
}

const QString& Script() {
  static const QString s = BigScript(2000);
  return s;
}

void BM_LinearPass_BramwiseScript(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Script().count(QLatin1Char('\n')));
}
BENCHMARK(BM_LinearPass_BramwiseScript)->Unit(benchmark::kMillisecond);

void BM_BramwiseScan(benchmark::State& state) {
  const QStringList types = scrivane::SymbolTypeNames();
  size_t nodes = 0;
  for (auto _ : state) nodes = scrivane::ScanBramwise(Script(), QStringLiteral("Cog 1"), types).nodes.size();
  state.counters["nodes"] = double(nodes);
}
BENCHMARK(BM_BramwiseScan)->Unit(benchmark::kMillisecond);

// A main window with one document holding the script, chosen in the document drop-down.
struct Window {
  explicit Window(const QString& text) {
    tarvex::SetProgramFolder(QStringLiteral(TARVEX_SOURCE_DIR "/scrivane/data"));
    main.colSymTypes = scrivane::SymbolTypeNames();
    main.NewCog(QStringLiteral("blank"), QString())->txtMain->SetText(text);
    main.cmbTvwSel->setCurrentIndex(1);
    main.cmbCog->setCurrentIndex(0);
  }
  scrivane::frmMain main;
};

void BM_FillBramwise_Window(benchmark::State& state) {
  Window w(Script());
  for (auto _ : state) w.main.FillBramwise();
  state.counters["nodes"] = w.main.BramwiseNodeCount();
}
BENCHMARK(BM_FillBramwise_Window)->Unit(benchmark::kMillisecond);

void BM_FillBramwise_FromScan(benchmark::State& state) {
  Window w(Script());
  const scrivane::BramwiseScan scan = scrivane::ScanBramwise(Script(), QStringLiteral("Cog 1"), scrivane::SymbolTypeNames());
  for (auto _ : state) {
    w.main.tvwBramwise->clear();
    w.main.ShowBramwise(w.main.colCogs.first(), scan);
  }
}
BENCHMARK(BM_FillBramwise_FromScan)->Unit(benchmark::kMillisecond);

// The yardstick: the same items from the same scan, created and added directly.
void BM_FillTree_Direct(benchmark::State& state) {
  const scrivane::BramwiseScan scan = scrivane::ScanBramwise(Script(), QStringLiteral("Cog 1"), scrivane::SymbolTypeNames());
  QTreeWidget tree;
  for (auto _ : state) {
    tree.clear();
    std::vector<QTreeWidgetItem*> items;
    for (const scrivane::BramwiseNode& n : scan.nodes) {
      auto* item = new QTreeWidgetItem(QStringList{n.text});
      if (n.parent >= 0) items[size_t(n.parent)]->addChild(item);
      items.push_back(item);
    }
    tree.addTopLevelItem(items.front());
    items.front()->setExpanded(true);
  }
}
BENCHMARK(BM_FillTree_Direct)->Unit(benchmark::kMillisecond);

// Find Next from the first node with a text that no node holds: the walk over every node.
void BM_TreeFindNext_20000Nodes(benchmark::State& state) {
  Window w(BigScript(14500));  // about 20,000 nodes
  w.main.FillBramwise();
  w.main.strTreeFind = QStringLiteral("no such text");
  for (auto _ : state) {
    w.main.iTreeFind = 0;
    w.main.mnuCFFindNext_Click();
  }
  state.counters["nodes"] = w.main.BramwiseNodeCount();
}
BENCHMARK(BM_TreeFindNext_20000Nodes)->Unit(benchmark::kMicrosecond);

}  // namespace
