// Brace matching and replace on a plain text model; the record of line widths. Find's rule
// (the next search one character after a match) is checked by fuzz_textops, its messages in the
// Edit menu's window test; the section marks the change handler scans for by fuzz_syntaxcheck.
#include "common/text.h"
#include "scrivane/core/linewidths.h"
#include "scrivane/core/textops.h"

#include <algorithm>
#include <random>

using scrivane::FindState;
using scrivane::TextModel;

namespace {

TEST(MatchBrace, SelectsTheBlockFromTheCaret) {
  // The selection before (start, length) and after.
  const struct { const char* name; QString text; qsizetype start, length, wantStart, wantLength; } cases[] = {
      {"empty pair", "{}", 0, 0, 0, 2},
      {"unmatched brace", "x {a {b} c", 2, 0, 2, 0},
      {"closing brace stays selected", "a}b", 1, 0, 1, 1},
      {"first character of a selection", "ab{c}d", 2, 3, 2, 3},
      {"brace in a comment counts", "{ // }\r\n}", 0, 0, 0, 6},
      {"surplus closing braces after", "{}}}", 0, 0, 0, 2},
  };
  for (const auto& c : cases) {
    TextModel m(c.text, c.start, c.length);
    const auto r = scrivane::MatchBrace(m);
    EXPECT_EQ(std::pair(m.SelStart(), m.SelLength()), std::pair(c.wantStart, c.wantLength)) << c.name;
    EXPECT_FALSE(r.textChanged || r.showNotFound || r.disableFindNext || m.Text() != c.text) << c.name;
  }
}

TEST(MatchBrace, PartnersFoundInBothDirections) {
  // text, 1-based "{", 1-based "}" (0: unmatched from the other side)
  const struct { const char* text; qsizetype open, close; } cases[] = {
      {"{a {b} c}", 1, 9}, {"{a {b} c}", 4, 6}, {"{}", 1, 2}, {"{ {}", 1, 0}, {"{} }", 0, 4}};
  for (const auto& c : cases) {
    const QString t = QString::fromLatin1(c.text);
    if (c.open) { EXPECT_EQ(scrivane::MatchingBrace(t, c.open), c.close) << c.text; }
    if (c.close) { EXPECT_EQ(scrivane::MatchingOpenBrace(t, c.close), c.open) << c.text; }
  }
}

TEST(Replace, FollowsTheRunRules) {
  // Text, word, replacement, search position, all, edge check; the text, selection and search
  // position after.
  const struct { const char* name; QString text, sW, sR; qsizetype ipos; bool bAll, bCheckEdges; QString want;
                 qsizetype wantStart, wantLength, wantIpos; } cases[] = {
      {"edge rule: x1 stays, x; does not", "a x = x1 + x;\r\n", "x", "y", 1, true, true, "a y = x1 + y;\r\n", 13, 0, 0},
      {"single replaces the first only", "b x x", "x", "yy", 1, false, false, "b yy x", 4, 0, 4},
      {"single continues from ipos", "b x x", "x", "y", 4, false, false, "b x y", 5, 0, 6},
      {"all", "a.A.a", "a", "bc", 1, true, false, "bc.bc.bc", 8, 0, 0},
      {"match at the first character, all", "x = x", "x", "y", 1, true, false, "y = y", 5, 0, 0},
      {"start of text is an edge", "x = x1", "x", "y", 1, true, true, "y = x1", 3, 3, 0},
      {"end of text is an edge", "a\tx", "x", "y", 1, true, true, "a\ty", 3, 0, 0},
      {"CR and LF are edges", "\rx\n", "x", "y", 1, false, true, "\ry\n", 3, 0, 3},
      {"underscore is no edge: neighbours stay selected", "(x_) x", "x", "y", 1, false, true, "(x_) x", 0, 3, 3},
      {"edge fails at the start", "x1", "x", "y", 1, false, true, "x1", 0, 2, 2},
      {"replacement holding the word goes on after it", "a a", "a", "ba", 1, true, false, "ba ba", 5, 0, 0},
      {"holding the word, edge check", "a a", "a", "b a", 1, true, true, "b a b a", 7, 0, 0},
      {"word at the start of the replacement", "a a", "a", "ab", 1, true, false, "ab ab", 5, 0, 0},
      // The next search starts one character after the start of the replacement, so a match
      // running from the inserted text into the following text is replaced too.
      {"match straddling the inserted text", "abb", "ab", "xa", 1, true, false, "xxa", 3, 0, 0},
      // ... matched as Find matches: by whole characters, here one the two pieces complete.
      {"straddling match as Find sees it", QString::fromUtf16(u"a\U00010428\xDC00"), QString::fromUtf16(u"a\U00010428"),
       QString::fromUtf16(u"Za\xD801"), 1, true, false, QString::fromUtf16(u"ZZa\xD801"), 4, 0, 0},
      {"overlapping matches", "aaaa", "aa", "b", 1, true, false, "bb", 2, 0, 0},
      {"empty replacement skips a character", "aa", "a", "", 1, true, false, "a", 0, 0, 0},
      {"nothing found", "abc", "q", "y", 1, true, false, "abc", 1, 0, 0},
      {"ipos below 1 searches nothing", "x x", "x", "y", 0, true, false, "x x", 1, 0, 0},
      {"empty word", "x x", "", "y", 1, true, false, "x x", 1, 0, 0},
  };
  for (const auto& c : cases) {
    TextModel m(c.text, 1, 0);
    FindState f{c.sW, c.sR, c.ipos};
    const auto r = scrivane::Replace(m, f, c.bAll, c.bCheckEdges);
    EXPECT_EQ(m.Text(), c.want) << c.name;
    EXPECT_EQ(std::tuple(m.SelStart(), m.SelLength(), f.ipos), std::tuple(c.wantStart, c.wantLength, c.wantIpos)) << c.name;
    EXPECT_TRUE(r.textChanged == (c.want != c.text) && !r.showNotFound && !r.disableFindNext) << c.name;
  }
}

// Lines put in and taken out anywhere, and measured, as edits and paints do: the record keeps
// each line's width where a plain list of them has it, and the widest, through the gap's moves
// and growth.
TEST(LineWidths, FollowLinesPutInTakenOutAndMeasured) {
  std::mt19937 random(7);
  std::vector<int> want(1, 0);
  scrivane::LineWidths widths;
  for (int step = 0; step < 3000; ++step) {
    const int lines = int(want.size());
    const int first = int(random() % unsigned(lines));
    if (step % 3 == 0) {
      const int removed = 1 + int(random() % unsigned(std::min(lines - first, 4)));
      const int added = 1 + int(random() % (step < 1500 ? 9u : 3u));
      want.erase(want.begin() + first, want.begin() + first + removed);
      want.insert(want.begin() + first, size_t(added), 0);
      widths.Replace(first, removed, added);
    } else {
      const int w = int(random() % 50);
      const int widest = *std::max_element(want.begin(), want.end());
      want[size_t(first)] = w;
      EXPECT_EQ(widths.Set(first, w), *std::max_element(want.begin(), want.end()) != widest) << step;
    }
    ASSERT_EQ(widths.Lines(), int(want.size())) << step;
    EXPECT_EQ(widths.Width(first % int(want.size())), want[size_t(first) % want.size()]) << step;
    EXPECT_EQ(widths.Widest(), *std::max_element(want.begin(), want.end())) << step;
  }
  for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(widths.Width(int(i)), want[i]) << i;
}

}  // namespace
