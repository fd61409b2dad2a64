// Every operation a user starts on the whole document, through the window as the user starts
// it, on scripts of 1, 5 and 20 MB: open (read, decode, into the text box, coloured, first
// paint), save, Replace All, building the Bramwise tree, renaming a symbol from the tree, Check
// Syntax and the live check's findings (the script read as the game reads it, its findings
// marked). Each must grow with the script's size and no faster: the counter "ms_per_MB"
// is the processor time of the median run per megabyte, "growth" its ratio to the same operation's
// at 1 MB (1.0 is linear).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/ansicodec.h"
#include "common/paths.h"
#include "scrivane/core/bramwise.h"
#include "scrivane/core/shell.h"
#include "scrivane/gui/coglive.h"
#include "scrivane/gui/frmchksyn.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"
#include "sized_script.h"

namespace {

double ProcessMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// A shown main window with the script of the given size saved in a file and open.
struct Session {
  explicit Session(qsizetype mb) {
    tarvex::SetProgramFolder(QStringLiteral(TARVEX_SOURCE_DIR "/scrivane/data"));
    path = dir.filePath(QStringLiteral("big.cog"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(tarvex::EncodeAnsi(bench::ScriptOfSize(mb * 1'000'000)));
    main = std::make_unique<scrivane::frmMain>();
    main->LoadCogRef();
    main->colSymTypes = scrivane::SymbolTypeNames();
    main->show();
    QApplication::processEvents();
  }
  ~Session() {
    for (scrivane::frmScrivane* w : main->colCogs) w->MarkClean();
    main.reset();
    tarvex::SetProgramFolder(QString());
  }
  scrivane::frmScrivane* Open() {
    scrivane::frmScrivane* w = main->OpenDocument(path, QStringLiteral("big.cog"));
    if (w) w->txtMain->viewport()->repaint();
    return w;
  }
  void CloseAll() {
    for (scrivane::frmScrivane* w : main->colCogs) w->MarkClean();
    main->mdiArea->closeAllSubWindows();
    QApplication::processEvents();
    // The closed windows go as they do in the event loop, which the benchmark does not run:
    // otherwise every document opened so far stays alive and the next open pays for them.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // The Bramwise view of the open document.
  void ShowBramwise() {
    main->cmbTvwSel->setCurrentIndex(1);
    main->cmbCog->setCurrentIndex(0);
    emit main->cmbCog->activated(0);
  }
  QTemporaryDir dir;
  QString path;
  std::unique_ptr<scrivane::frmMain> main;
};

std::map<std::string, double>& PerMbAtOne() {
  static std::map<std::string, double> m;
  return m;
}

// Runs `op` once per iteration with `prepare` before it, untimed; reports the counters. The
// figure is the median run: on a machine shared with other work, one run that another
// process's burst slowed (which hits the large sizes, whose data does not stay in the caches,
// the hardest) would otherwise show as growth.
template <class Prepare, class Op>
void Measure(benchmark::State& state, const std::string& name, Prepare prepare, Op op) {
  const qsizetype mb = state.range(0);
  std::vector<double> runs;
  for (auto _ : state) {
    prepare();
    const double c0 = ProcessMs();
    op();
    const double c = ProcessMs() - c0;
    runs.push_back(c);
    state.SetIterationTime(c / 1e3);
  }
  if (runs.empty()) return;
  std::sort(runs.begin(), runs.end());
  const double perMb = runs[runs.size() / 2] / double(mb);
  state.counters["ms_per_MB"] = perMb;
  if (mb == 1) PerMbAtOne()[name] = perMb;
  if (const auto it = PerMbAtOne().find(name); it != PerMbAtOne().end() && it->second > 0)
    state.counters["growth"] = perMb / it->second;
}

void BM_Open(benchmark::State& state) {
  Session s(state.range(0));
  Measure(state, "open", [&] { s.CloseAll(); }, [&] { s.Open(); });
}

void BM_Save(benchmark::State& state) {
  Session s(state.range(0));
  scrivane::frmScrivane* w = s.Open();
  const QString out = s.dir.filePath(QStringLiteral("saved.cog"));
  Measure(state, "save", [] {}, [&] { s.main->SaveCog(w, out, QStringLiteral("saved.cog")); });
}

// Every "victim" to "target" and back, in turns: the same number of replacements each time.
void BM_ReplaceAll(benchmark::State& state) {
  Session s(state.range(0));
  scrivane::frmScrivane* w = s.Open();
  bool back = false;
  Measure(state, "replace_all", [] {}, [&] {
    w->sW = back ? QStringLiteral("target") : QStringLiteral("victim");
    w->sR = back ? QStringLiteral("victim") : QStringLiteral("target");
    w->ipos = 1;
    w->Replace(true, false);
    back = !back;
  });
}

void BM_BramwiseBuild(benchmark::State& state) {
  Session s(state.range(0));
  s.Open();
  s.ShowBramwise();
  Measure(state, "bramwise", [] {}, [&] { s.main->FillBramwise(); });
}

// The symbol "victim" relabelled in the tree, and back, in turns: its declaration and every
// use that stands between blanks.
void BM_Rename(benchmark::State& state) {
  Session s(state.range(0));
  s.Open();
  s.ShowBramwise();
  bool back = false;
  QTreeWidgetItem* node = nullptr;
  int renamed = 0;
  Measure(
      state, "rename",
      [&] {
        // The node of the declaration, by its line as the tree keys it.
        node = s.main->BramwiseNodeByKey(back ? QStringLiteral("thing       target\r") : QStringLiteral("thing       victim\r"));
      },
      [&] {
        if (node) node->setText(0, back ? QStringLiteral("victim") : QStringLiteral("target"));
        renamed += node ? 1 : 0;
        back = !back;
      });
  if (renamed < state.iterations()) state.SkipWithError("the symbol's node was not found");
}

void BM_CheckSyntax(benchmark::State& state) {
  Session s(state.range(0));
  scrivane::frmScrivane* w = s.Open();
  int i = 0;
  Measure(
      state, "check_syntax",
      [&] {
        delete s.main->findChild<scrivane::frmChkSyn*>();
        // A change, as between two checks, so that the text is taken anew.
        w->txtMain->SetSelStart(100 + (i++ % 2));
        w->txtMain->ReplaceSel(QStringLiteral(" "));
      },
      [&] { s.main->mnuEditChkSyn_Click(); });
}

// The live check's reading of the whole script after a change, as it runs a third of a second
// after the user stops typing: the findings and their marks.
void BM_CogFindings(benchmark::State& state) {
  Session s(state.range(0));
  scrivane::frmScrivane* w = s.Open();
  scrivane::CogLive* live = scrivane::CogLive::Of(w->txtMain);
  int i = 0;
  Measure(
      state, "cog_findings",
      [&] {
        w->txtMain->SetSelStart(100 + (i++ % 2));
        w->txtMain->ReplaceSel(QStringLiteral(" "));
      },
      [&] { live->CheckNow(); });
}

// The size varies fastest: each operation's 1 MB figure comes before its larger sizes.
#define GROWTH(bm) BENCHMARK(bm)->Arg(1)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5)
GROWTH(BM_Open);
GROWTH(BM_Save);
GROWTH(BM_ReplaceAll);
GROWTH(BM_BramwiseBuild);
GROWTH(BM_Rename);
GROWTH(BM_CheckSyntax);
GROWTH(BM_CogFindings);

}  // namespace
