// The syntax checker's brace and section checks, and a run over the real scripts.
#include <gtest/gtest.h>

#include <QDir>
#include <QSet>

#include "scrivane/core/scriptfile.h"
#include "scrivane/core/syntaxcheck.h"
#include "tests/support/test_env.h"

using scrivane::Finding;
using scrivane::Findings;

namespace {

const QString kNotMatched = QString::fromUtf16(scrivane::kBraceNotMatched);

// Sections that pass every section check, so that only brace findings remain.
const QString kSections = "\r\nsymbols\r\nend\r\ncode\r\nend\r\n";

std::vector<qsizetype> BraceFindings(const QString& braces) {
  std::vector<qsizetype> at;
  for (const auto& f : scrivane::CheckCog(braces + kSections, 0)) {
    EXPECT_EQ(f.message, kNotMatched);
    at.push_back(f.lpos);
  }
  return at;
}

TEST(CheckCog, ReportsEachUnmatchedOpeningBraceAtItsOffset) {
  struct Case {
    const char* name;
    QString text;
    std::vector<qsizetype> at;
  };
  const Case cases[] = {
      {"pair", "{}", {}},
      {"outer brace unmatched", "{ { }", {0}},
      {"last brace unmatched", "{ } {", {4}},
      {"lone closing brace", "}", {}},
      {"surplus closing brace", "{}}", {}},
      {"closing braces before the opening ones", "}} {{ }", {3}},
      {"brace in a comment counts", "// {\r\n", {3}},
      {"brace in a string counts", "{ x = \"}\";", {}},
      {"several, in text order", "{ { {", {0, 2, 4}},
      {"nested", "{ {{}} { } ", {0}},
  };
  for (const auto& c : cases) EXPECT_EQ(BraceFindings(c.text), c.at) << c.name;
}

TEST(CheckCog, SectionChecks) {
  const QString a = "no symbols section", b = "no end for symbols section", c = "no code section",
                d = "no end for code section";
  struct Case {
    const char* name;
    QString text;
    QStringList want;
  };
  const Case cases[] = {
      {"empty text", "", {a, b, c}},
      {"complete", "# x\r\nsymbols\r\nend\r\ncode\r\nend\r\n", {}},
      {"symbols only on the first line", "symbols\r\nend\r\ncode\r\nend", {a}},
      {"upper and mixed case", "x\r\nSYMBOLS\r\nEnd\r\nCode\r\nEND", {}},
      {"symbols, end, code", "x\r\nsymbols\r\nend\r\ncode\r\n", {d}},
      {"symbols, code, end", "x\r\nsymbols\r\ncode\r\nend\r\n", {b}},
      {"symbols and code, no end", "x\r\nsymbols\r\ncode\r\n", {b, d}},
      {"no code", "x\r\nsymbols\r\nend\r\n", {c}},
      {"no symbols", "x\r\nend\r\ncode\r\nend", {a}},
      {"only end lines", "x\r\nend\r\nend", {a, c}},
      {"longer words count", "x\r\nsymbolsx\r\nendx\r\ncodex\r\nends", {}},
      {"leading blanks do not count", "x\r\n symbols\r\n end\r\n code\r\n end", {a, b, c}},
      {"code before symbols", "x\r\ncode\r\nsymbols\r\nend\r\nend", {b}},
  };
  for (const auto& t : cases) {
    const Findings found = scrivane::CheckCog(t.text, 7);
    QStringList messages;
    for (const auto& f : found) {
      messages << f.message;
      EXPECT_EQ(f.lpos, 7) << t.name;  // the caret: clicking leaves it where it is
    }
    EXPECT_EQ(messages, t.want) << t.name;
  }
}

TEST(CheckCog, BraceFindingsComeBeforeSectionFindings) {
  const Findings found = scrivane::CheckCog("{ x", 2);
  const Findings want = {{kNotMatched, 0}, {"no symbols section", 2}, {"no end for symbols section", 2},
                         {"no code section", 2}};
  EXPECT_EQ(found, want);
}

TEST(CheckCog, EveryCorpusScriptGivesOnlyTheFiveFindings) {
  const QSet<QString> allowed = {kNotMatched, "no symbols section", "no end for symbols section", "no code section",
                                 "no end for code section"};
  const QDir dir(tarvex::test::SharedPath("corpus/cog"));
  const QStringList files = dir.entryList({"*.cog"}, QDir::Files);
  if (files.isEmpty()) GTEST_SKIP() << "no corpus beside the project";
  for (const QString& name : files) {
    const auto read = scrivane::ReadScriptFile(dir.filePath(name));
    ASSERT_TRUE(read.ok) << name << read.error;
    const QString& text = read.content.text;
    for (const auto& f : scrivane::CheckCog(text, 0)) {
      EXPECT_TRUE(allowed.contains(f.message)) << name << f.message;
      if (f.message == kNotMatched) {
        ASSERT_TRUE(f.lpos >= 0 && f.lpos < text.size()) << name;
        EXPECT_EQ(text.at(f.lpos), '{') << name;
      } else {
        EXPECT_EQ(f.lpos, 0) << name;
      }
    }
  }
}

}  // namespace
