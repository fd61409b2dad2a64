// The printing code, a module of its own that the programs load the first time the user
// prints (common/ui/printing.cpp): Qt's printing library is loaded with it, not at every start.
// It is handed what it needs from the program (the prompts in force, the text to print), so
// that it keeps no state of its own and links nothing of the tool set.
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

#include "common/ui/printing.h"
#include "common/ui/prompts.h"

#ifdef _WIN32
#define TARVEX_PRINT_EXPORT extern "C" __declspec(dllexport)
#else
#define TARVEX_PRINT_EXPORT extern "C" __attribute__((visibility("default")))
#endif

TARVEX_PRINT_EXPORT bool tarvex_print_dialog(QPrinter* printer, QWidget* parent) {
  QPrintDialog dlg(printer, parent);
  dlg.setOption(QAbstractPrintDialog::PrintSelection, false);
  dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dlg.setOption(QAbstractPrintDialog::PrintToFile, true);
  return dlg.exec() == QDialog::Accepted;
}

TARVEX_PRINT_EXPORT int tarvex_print_document(tarvex::Prompts* prompts, const tarvex::DocumentFiller* fill) {
  using tarvex::PrintOutcome;
  QPrinter printer;
  if (!prompts->SetUpPrinter(printer)) return int(PrintOutcome::Cancelled);
  QTextDocument doc;
  if (!(*fill)(doc)) return int(PrintOutcome::Cancelled);
  doc.print(&printer);
  return int(printer.printerState() == QPrinter::Error ? PrintOutcome::PrinterError : PrintOutcome::Printed);
}
