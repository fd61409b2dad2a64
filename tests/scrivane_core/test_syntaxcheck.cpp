// The syntax checker's section checks. fuzz_syntaxcheck checks that the brace findings are
// exactly the braces the brace-by-brace rule leaves unmatched, in text order.
#include "scrivane/core/syntaxcheck.h"

using scrivane::Findings;

namespace {

const QString kNotMatched = QString::fromUtf16(scrivane::kBraceNotMatched);

TEST(CheckCog, SectionChecks) {
  const QString a = "no symbols section", b = "no end for symbols section", c = "no code section",
                d = "no end for code section";
  const std::pair<QString, QStringList> cases[] = {
      {"", {a, b, c}},
      {"# x\r\nsymbols\r\nend\r\ncode\r\nend\r\n", {}},
      {"symbols\r\nend\r\ncode\r\nend", {a}},  // symbols only on the first line
      {"x\r\nSYMBOLS\r\nEnd\r\nCode\r\nEND", {}},
      {"x\r\nsymbols\r\nend\r\ncode\r\n", {d}},
      {"x\r\nsymbols\r\ncode\r\nend\r\n", {b}},
      {"x\r\nsymbols\r\ncode\r\n", {b, d}},
      {"x\r\nsymbols\r\nend\r\n", {c}},
      {"x\r\nend\r\nend", {a, c}},
      {"x\r\nsymbolsx\r\nendx\r\ncodex\r\nends", {}},  // longer words count
      {"x\r\n symbols\r\n end\r\n code\r\n end", {a, b, c}},  // leading blanks do not
      {"x\r\ncode\r\nsymbols\r\nend\r\nend", {b}},
  };
  for (const auto& [text, want] : cases) {
    QStringList messages;
    for (const auto& f : scrivane::CheckCog(text, 7)) {
      messages << f.message;
      EXPECT_EQ(f.lpos, 7) << text.toStdString();  // the caret: clicking leaves it where it is
    }
    EXPECT_EQ(messages, want) << text.toStdString();
  }
  // Brace findings come first, at the brace.
  const Findings want = {{kNotMatched, 0}, {a, 2}, {b, 2}, {c, 2}};
  EXPECT_EQ(scrivane::CheckCog("{ x", 2), want);
}

}  // namespace
