#include "common/ui/printing.h"

#include <QCoreApplication>
#include <QLibrary>

#include "common/paths.h"
#include "common/ui/prompts.h"

#ifndef TARVEX_PRINT_MODULE
#define TARVEX_PRINT_MODULE "tarvexprint"
#endif

namespace tarvex {

namespace {

struct PrintModule {
  bool (*dialog)(QPrinter*, QWidget*) = nullptr;
  int (*print)(Prompts*, const DocumentFiller*) = nullptr;
  QString error;  // why it could not be loaded
};

// Loaded once, on the first use, and kept for the rest of the run.
const PrintModule& LoadedPrintModule() {
  static const PrintModule module = [] {
    PrintModule m;
    QLibrary lib(JoinPath(ModuleFolderFor(NativePath(QCoreApplication::applicationDirPath())),
                          QStringLiteral(TARVEX_PRINT_MODULE)));
    if (lib.load()) {
      m.dialog = reinterpret_cast<decltype(m.dialog)>(lib.resolve("tarvex_print_dialog"));
      m.print = reinterpret_cast<decltype(m.print)>(lib.resolve("tarvex_print_document"));
    }
    if (!m.dialog || !m.print) {
      m.error = lib.errorString();
      m.dialog = nullptr;
      m.print = nullptr;
    }
    return m;
  }();
  return module;
}

}  // namespace

PrintOutcome PrintDocument(const DocumentFiller& fill, QString* why) {
  const PrintModule& m = LoadedPrintModule();
  if (!m.print) {
    if (why) *why = m.error;
    return PrintOutcome::Unavailable;
  }
  return PrintOutcome(m.print(&prompts(), &fill));
}

bool ShowPrintDialog(QPrinter& printer, QWidget* parent) {
  const PrintModule& m = LoadedPrintModule();
  return m.dialog && m.dialog(&printer, parent);
}

}  // namespace tarvex
