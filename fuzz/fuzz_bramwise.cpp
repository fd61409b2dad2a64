// The Bramwise scan and the add-symbol insertion: every build ends with parents before their
// children and symbol and comment keys found in the text; a line goes in only at a line start.
#include "fuzz/fuzz_check.h"
#include "scrivane/core/bramwise.h"
#include "scrivane/core/shell.h"

using namespace scrivane;

void FuzzOne(const uint8_t* data, size_t size) {
  const QString text = FuzzText(data, size);
  const BramwiseScan s = ScanBramwise(text, QStringLiteral("Cog 1"), SymbolTypeNames());
  FUZZ_CHECK(s.duplicateAt < text.size());
  for (size_t i = 0; i < s.nodes.size(); ++i) {
    FUZZ_CHECK(s.nodes[i].parent < int(i) && (s.nodes[i].parent >= 0) == (i > 0));
    const BramwiseKind k = s.nodes[i].kind;
    FUZZ_CHECK((k != BramwiseKind::Symbol && k != BramwiseKind::Comment) || FindNodeKey(text, s.nodes[i].key, k) >= 0);
  }
  const QString line = QStringLiteral("int x\r\n");
  const qsizetype at = SymbolInsertPoint(text), caret = text.size() / 2;
  TextModel m(text, caret);
  FUZZ_CHECK(InsertSymbolLine(m, line) == (at >= 0));
  FUZZ_CHECK(at < 0 || ((at == 0 || text.at(at - 1) == u'\n') && m.Text() == text.left(at) + line + text.mid(at) &&
                        m.SelStart() == (caret < at ? caret : caret + line.size())));
}
