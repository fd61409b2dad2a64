// The Bramwise scan and the add-symbol insertion: every build ends, each parent comes before
// its children, every symbol key occurs at the start of a line and every comment key in the text,
// a duplicate stops the build inside the text, and a declaration line is only ever inserted
// at the start of a line, leaving the rest of the text as it was.
#include <cstdint>

#include "common/ansicodec.h"
#include "fuzz/fuzz_check.h"
#include "scrivane/core/bramwise.h"
#include "scrivane/core/shell.h"

using namespace scrivane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = tarvex::DecodeAnsi(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  const BramwiseScan s = ScanBramwise(text, QStringLiteral("Cog 1"), SymbolTypeNames());
  FUZZ_CHECK(s.duplicateAt < text.size());
  for (size_t i = 0; i < s.nodes.size(); ++i) {
    const BramwiseNode& n = s.nodes[i];
    FUZZ_CHECK(n.parent < int(i) && (n.parent >= 0) == (i > 0));
    if (n.kind == BramwiseKind::Symbol || n.kind == BramwiseKind::Comment)
      FUZZ_CHECK(FindNodeKey(text, n.key, n.kind) >= 0);
  }
  TextModel m(text, text.size() / 2);
  const QString line = SymbolDeclarationLine(QStringLiteral("int"), QStringLiteral("x"), QString(), true, QString());
  const qsizetype at = SymbolInsertPoint(text);
  FUZZ_CHECK(InsertSymbolLine(m, line) == (at >= 0));
  if (at < 0) return 0;
  FUZZ_CHECK(at == 0 || text.at(at - 1) == u'\n');
  FUZZ_CHECK(m.Text() == text.left(at) + line + text.mid(at));
  FUZZ_CHECK(m.SelStart() == (text.size() / 2 < at ? text.size() / 2 : text.size() / 2 + line.size()));
  return 0;
}
