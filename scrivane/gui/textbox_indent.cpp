// Indentation in the text box: Enter keeps the leading blanks and tabs of the line, and Tab or
// Shift+Tab on a selection of lines indents or unindents them all. Every edit goes through the
// one way text is changed (ReplaceRange), so each line keeps its own line end, and each command
// is one undo step.
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>

#include "scrivane/core/editaids.h"
#include "scrivane/gui/linegutter.h"
#include "scrivane/gui/textbox.h"

namespace scrivane {

void TextBox::IndentLines(bool indent) {
  QTextCursor c = textCursor();
  const int selStart = c.selectionStart(), selEnd = c.selectionEnd();
  const QTextBlock first = document()->findBlock(selStart);
  QTextBlock last = document()->findBlock(selEnd);
  // A selection that ends at the start of a line does not take that line in.
  if (c.hasSelection() && last.blockNumber() > first.blockNumber() && selEnd == last.position()) last = last.previous();
  const bool whole = c.hasSelection();
  QTextCursor edit(document());
  edit.beginEditBlock();
  for (QTextBlock b = first; b.isValid(); b = b.next()) {
    if (indent) ReplaceRange(b.position(), b.position(), QStringLiteral("\t"));
    else if (const int n = UnindentLength(b.text(), LineGutter::kTabWidth); n > 0) ReplaceRange(b.position(), b.position() + n, QString());
    if (b == last) break;
  }
  edit.endEditBlock();
  if (whole) {  // the lines stay selected, whole
    const QTextBlock end = last.isValid() ? last : first;
    SelectWidgetRange(first.position(), end.position() + end.length() - 1);
  }
}

bool TextBox::IndentKey(QKeyEvent* e) {
  if (isReadOnly()) return false;
  const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
  const int key = e->key();
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && mods == Qt::NoModifier) {
    const QTextCursor c = textCursor();
    // The blanks before the caret only: Enter inside the indentation does not double it.
    const QString lead = LeadingBlanks(QStringView(c.block().text()).left(c.positionInBlock())).toString();
    if (lead.isEmpty()) return false;
    ReplaceSel(QStringLiteral("\n") + lead);  // the new break in front of the line's own
    ensureCursorVisible();
    return true;
  }
  if (key == Qt::Key_Backtab || (key == Qt::Key_Tab && mods == Qt::ShiftModifier)) {
    IndentLines(false);
    return true;
  }
  if (key == Qt::Key_Tab && mods == Qt::NoModifier) {
    const QTextCursor c = textCursor();
    if (!c.hasSelection() || document()->findBlock(c.selectionStart()) == document()->findBlock(c.selectionEnd()))
      return false;  // a tab replaces a selection within one line, as always
    IndentLines(true);
    return true;
  }
  return false;
}

}  // namespace scrivane
