// The colouring rules of COG lines: the spans of each kind and the section state from line to line.
#include "scrivane/core/cogsyntax.h"
#include "tests/support/test_env.h"

using scrivane::CogSpan;
using scrivane::CogState;

namespace {

// The spans of a line written as "Kind[text] ...", kinds by their first letters.
QString Render(const QString& line, CogState before, CogState* after) {
  static const scrivane::CogWords verbs({QStringLiteral("GetSenderRef"), QStringLiteral("Sleep"), QStringLiteral("SetThingFlags")});
  std::vector<CogSpan> spans;
  *after = scrivane::TokenizeCogLine(line, before, verbs, spans);
  static const char* names[] = {"C", "Sec", "T", "F", "V", "L", "N", "Str"};
  return tarvex::test::Map(spans, [&](const CogSpan& s) {
           return QStringLiteral("%1[%2]").arg(QLatin1String(names[int(s.kind)]), line.mid(s.start, s.length));
         }).join(QLatin1Char(' '));
}

struct LineCase { CogState before; const char *line, *spans; CogState after; };

TEST(CogSyntax, SpansAndStatesOfOneLine) {
  const CogState B = CogState::BeforeSymbols, S = CogState::InSymbols, K = CogState::InCode, A = CogState::After;
  const LineCase cases[] = {
      // A script may open its symbols on its first line; lines before any section are code.
      {CogState::TextStart, "symbols", "Sec[symbols]", S},
      {CogState::TextStart, "\tSleep(1); return;", "V[Sleep] N[1] F[return]", B},
      {B, "flags=0x240", "N[0x240]", B},
      {B, "pulse:", "L[pulse:]", B},
      {S, "float  speed=2.5", "T[float] N[2.5]", S},
      {S, "floats  x", "", S},
      {B, "Symbols  # any case", "Sec[Symbols] C[# any case]", S},
      {B, " symbols", "", B},  // only at the very start of the line
      {S, "thing       player                           local", "T[thing]", S},
      {S, "\tMESSAGE\tstartup", "T[MESSAGE]", S},
      {S, "things  x", "", S},
      {S, "vector v=(1.5/-2/.25)", "T[vector] N[1.5] N[-2] N[.25]", S},
      {S, "endless", "Sec[endless]", K},  // a longer word beginning with the keyword counts
      {S, "code", "Sec[code]", K},
      {K, "  Timer :  // handler", "L[Timer :] C[// handler]", K},
      {K, "\tif(GetSenderRef() != getsenderref()) return;", "F[if] V[GetSenderRef] V[getsenderref] F[return]", K},
      {K, "while(1) do Sleep(0.5); else stop; call x; for", "F[while] N[1] F[do] V[Sleep] N[0.5] F[else] F[stop] F[call] F[for]", K},
      {K, "x = a-1 + f(2)-3 * -4;", "N[1] N[2] N[3] N[-4]", K},
      {K, "Print(\"# not // a comment\"); # but this", "Str[\"# not // a comment\"] C[# but this]", K},
      {K, "Print(\"open", "Str[\"open]", K},
      {K, "x = 00gen4 + 3do + a1;", "", K},
      {K, "y = 0x1F + 0X0a; z = 1.;", "N[0x1F] N[0X0a] N[1.]", K},
      {K, "ifx = Sleepy; SetThingFlags2();", "", K},
      {K, "end", "Sec[end]", A},
      {A, "end startup: Sleep(1)", "N[1]", A},
      {CogState(42), "symbols", "Sec[symbols]", S},  // an unknown state counts as before the symbols
  };
  for (const LineCase& c : cases) {
    CogState after;
    EXPECT_EQ(Render(QString::fromLatin1(c.line), c.before, &after), QString::fromLatin1(c.spans)) << c.line;
    EXPECT_EQ(after, c.after) << c.line;
  }
}

// The state before every line, as colouring the text from the top gives it.
std::vector<CogState> StatesFromTheTop(const QStringList& lines) {
  std::vector<CogState> out;
  CogState s = CogState::TextStart;
  for (const QString& l : lines) {
    out.push_back(s);
    s = scrivane::CogStateAfter(l, s);
  }
  return out;
}

// Edits of whole lines in a script, each followed by the section lines kept up to date, against
// colouring the edited text from the top: a fixed seed runs through section lines made,
// broken and moved above, inside and below the others.
TEST(CogSyntax, SectionLinesFollowEditsAsColouringFromTheTopWould) {
  QStringList lines = QStringLiteral("# x\nflags=0x240\nsymbols\nthing a\nend\ncode\nstartup:\nreturn;\nend\n# after").split(u'\n');
  const QString pool[] = {"symbols", "code", "end", "endless", "thing b", "Code # c", "x = 1;", "", "SYMBOLS", " end"};
  scrivane::CogSections sections;
  auto read = [&](int line) { return lines[line]; };
  sections.Changed(0, int(lines.size()) - 1, int(lines.size()), int(lines.size()), read);
  uint32_t seed = 12345;
  auto next = [&](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  for (int round = 0; round < 3000; ++round) {
    const std::vector<CogState> was = StatesFromTheTop(lines);
    const int at = int(next(uint32_t(lines.size())));
    int first = at, last = at, delta = 0;
    switch (next(4)) {
      case 0:  // one line's text replaced
        lines[at] = pool[next(10)];
        break;
      case 1: {  // lines inserted
        const int n = 1 + int(next(3));
        for (int k = 0; k < n; ++k) lines.insert(at, pool[next(10)]);
        last = at + n - 1;
        delta = n;
        break;
      }
      case 2:  // lines joined into the line at `at`
        if (lines.size() > 3) {
          const int n = std::min(int(next(3)) + 1, int(lines.size()) - at - 1);
          for (int k = 0; k < n; ++k) lines.removeAt(at + 1);
          lines[at] = pool[next(10)];
          delta = -n;
        }
        break;
      default:  // a line split in two
        lines.insert(at + 1, pool[next(10)]);
        last = at + 1;
        delta = 1;
        break;
    }
    const bool movedAlong = sections.Changed(first, last, delta, int(lines.size()), read);
    const std::vector<CogState> want = StatesFromTheTop(lines);
    // Told whether the lines below the edit kept their states (and so their colours).
    bool kept = true;
    for (int l = last + 1; l < int(lines.size()); ++l) kept = kept && want[size_t(l)] == was[size_t(l - delta)];
    ASSERT_EQ(movedAlong, kept) << "round " << round;
    for (int l = 0; l < int(lines.size()); ++l)
      ASSERT_EQ(sections.Before(l), want[size_t(l)]) << "round " << round << " line " << l << "\n" << lines.join(u'|').toStdString();
  }
}

}  // namespace
