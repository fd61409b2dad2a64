#pragma once
// The text box's document as a LineSource: each block is one line, so a line's text and
// position come from the block tree in logarithmic time, without building the whole text.
#include <QTextBlock>
#include <QTextDocument>

#include "scrivane/core/lines.h"
#include "scrivane/gui/textbox.h"

namespace scrivane {

class BoxLines : public LineSource {
 public:
  explicit BoxLines(const TextBox& box) : box_(box), doc_(*box.document()) {}
  int LineCount() const override { return doc_.blockCount(); }
  qsizetype Length() const override { return box_.TextLength(); }
  // A block's model position counts one more character (the CR) for every block above it.
  qsizetype LineStart(int line) const override { return doc_.findBlockByNumber(line).position() + qsizetype(line); }
  QString LineText(int line) const override { return doc_.findBlockByNumber(line).text(); }
  int LineAt(qsizetype pos) const override {
    const QTextBlock b = doc_.findBlock(box_.ToWidget(pos));
    return b.isValid() ? b.blockNumber() : doc_.blockCount() - 1;
  }

 private:
  const TextBox& box_;
  const QTextDocument& doc_;
};

}  // namespace scrivane
