#pragma once
// Printing. The printing code and Qt's printing library are loaded the first time the user
// prints (the module in common/print, found in ModuleFolder()), not at every start.
#include <QString>
#include <functional>

class QPrinter;
class QTextDocument;
class QWidget;

namespace tarvex {

enum class PrintOutcome { Printed, Cancelled, PrinterError, Unavailable };

// Fills the document to print once the printer is set up; false when there is nothing to print.
using DocumentFiller = std::function<bool(QTextDocument&)>;

// Lets the user set up a printer through prompts().SetUpPrinter, then prints the document fill
// makes. Unavailable when the printing module cannot be loaded; why then says why.
PrintOutcome PrintDocument(const DocumentFiller& fill, QString* why);

// The platform's print dialog for printer, owned by parent; true when the user accepted it.
bool ShowPrintDialog(QPrinter& printer, QWidget* parent);

}  // namespace tarvex
