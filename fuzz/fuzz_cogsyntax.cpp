// The COG line colouring: every line of any text, starting from any incoming state, gives spans
// inside the line, in order, not overlapping and not empty, and a valid state after the line.
#include "fuzz/fuzz_check.h"
#include "scrivane/core/cogsyntax.h"

void FuzzOne(const uint8_t* data, size_t size) {
  if (size == 0) return;
  static const scrivane::CogWords words({QStringLiteral("Sleep"), QStringLiteral("GetSenderRef")});
  // The first byte picks the state before the first line (also one outside the enumeration).
  auto state = scrivane::CogState(int(data[0] % (scrivane::kCogStateCount + 1)));
  const QString text = FuzzText(data + 1, size - 1);
  std::vector<scrivane::CogSpan> spans;
  for (QStringView line : QStringView(text).split(u'\n')) {
    if (line.endsWith(u'\r')) line.chop(1);
    state = scrivane::TokenizeCogLine(line, state, words, spans);
    FUZZ_CHECK(int(state) > int(scrivane::CogState::TextStart) && int(state) < scrivane::kCogStateCount);
    int end = 0;
    for (const scrivane::CogSpan& s : spans) {
      FUZZ_CHECK(s.start >= end && s.length > 0 && s.start + s.length <= line.size());
      FUZZ_CHECK(int(s.kind) >= 0 && int(s.kind) < scrivane::kCogSpanKindCount);
      end = s.start + s.length;
    }
  }
}
