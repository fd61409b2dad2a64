// Go to Line: a line number, and a column after a colon if wanted, typed into a small box; the
// caret goes there (the last line or the line's end when the number is past it) and the line
// is centred in the view.
#include <QTextBlock>

#include "common/ui/prompts.h"
#include "scrivane/core/editaids.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

void frmMain::mnuEditGoTo_Click() {
  frmScrivane* w = CurrentCog();
  if (!w) return;
  TextBox* box = w->txtMain;
  const int lines = box->document()->blockCount();
  const QString answer = tarvex::prompts().InputBox(QStringLiteral("Line number (1 - %1), or line:column").arg(lines),
                                                     QStringLiteral("Go to Line"),
                                                     QString::number(box->textCursor().blockNumber() + 1));
  if (answer.trimmed().isEmpty()) return;  // cancelled
  const std::optional<LineColumn> to = ParseLineColumn(answer);
  if (!to) {
    tarvex::prompts().MsgBox(QStringLiteral("\"%1\" is not a line number.").arg(answer.trimmed()), QStringLiteral("Scrivane"),
                             tarvex::MsgButtons::OK, tarvex::MsgIcon::Exclamation);
    return;
  }
  const QTextBlock b = box->document()->findBlockByNumber(std::min(to->line, lines) - 1);
  QTextCursor c(b);
  c.setPosition(b.position() + std::min(std::max(to->column, 1) - 1, b.length() - 1));
  box->setTextCursor(c);
  box->centerCursor();
  box->setFocus();
}

}  // namespace scrivane
