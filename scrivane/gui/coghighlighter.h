#pragma once
// Colours a document's COG text with the window-free line rules. Each block keeps the section
// state after it as its user state, so an edit colours again only the edited lines and the
// following lines whose incoming state changed.
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <memory>
#include <vector>

#include "scrivane/core/cogsyntax.h"

namespace scrivane {

class CogHighlighter : public QSyntaxHighlighter {
  Q_OBJECT
 public:
  // Attach to a document while it is still empty: attaching to a filled one would colour it
  // later in a pass of its own, reported by the document as a change of its content.
  CogHighlighter(QTextDocument* doc, std::shared_ptr<const CogWords> words, const QPalette& palette);

  // The format of each kind of span, chosen to stay readable on the palette's base colour.
  static std::vector<QTextCharFormat> FormatsFor(const QPalette& palette);

 protected:
  void highlightBlock(const QString& text) override;

 private:
  std::shared_ptr<const CogWords> words_;
  std::vector<QTextCharFormat> formats_;
  std::vector<CogSpan> spans_;  // reused from line to line
};

}  // namespace scrivane
