#include "scrivane/gui/coghighlighter.h"

#include <QPalette>
#include <QTextBlock>

namespace scrivane {

CogHighlighter::CogHighlighter(QTextDocument* doc, std::shared_ptr<const CogWords> words, const QPalette& palette)
    : QSyntaxHighlighter(doc), words_(words ? std::move(words) : std::make_shared<const CogWords>()),
      formats_(FormatsFor(palette)) {}

std::vector<QTextCharFormat> CogHighlighter::FormatsFor(const QPalette& palette) {
  // Hues of the usual programmer's editors; the lightness follows the theme: dark text colours
  // on a light base, light ones on a dark base. Only words that stand alone on their line are
  // bold: a bold word may be wider and would push the blank-aligned columns after it.
  const bool darkBase = palette.color(QPalette::Base).lightnessF() < 0.5;
  auto colour = [darkBase](int hue, double sat) { return QColor::fromHslF(hue / 360.0, sat, darkBase ? 0.70 : 0.36); };
  struct Style {
    CogSpanKind kind;
    int hue;
    double sat;
    bool bold, italic;
  };
  const Style styles[] = {
      {CogSpanKind::Comment, 110, 0.25, false, true},     {CogSpanKind::Section, 300, 0.60, true, false},
      {CogSpanKind::SymbolType, 210, 0.80, false, false}, {CogSpanKind::Flow, 235, 0.75, false, false},
      {CogSpanKind::Verb, 175, 0.85, false, false},       {CogSpanKind::Label, 25, 0.85, true, false},
      {CogSpanKind::Number, 280, 0.60, false, false},     {CogSpanKind::String, 10, 0.70, false, false},
  };

  std::vector<QTextCharFormat> out(kCogSpanKindCount);
  for (const Style& s : styles) {
    QTextCharFormat& f = out[size_t(s.kind)];
    f.setForeground(colour(s.hue, s.sat));
    if (s.bold) f.setFontWeight(QFont::Bold);
    if (s.italic) f.setFontItalic(true);
  }
  return out;
}

void CogHighlighter::highlightBlock(const QString& text) {
  const int prev = previousBlockState();
  const CogState before = currentBlock().blockNumber() == 0 ? CogState::TextStart
                          : prev < 0                        ? CogState::BeforeSymbols
                                                            : CogState(prev);
  const CogState after = TokenizeCogLine(text, before, *words_, spans_);
  for (const CogSpan& s : spans_) setFormat(s.start, s.length, formats_[size_t(s.kind)]);
  setCurrentBlockState(int(after));
}

}  // namespace scrivane
