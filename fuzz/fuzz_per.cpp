// The personality reader: any text is read, and what it kept is written as a file the game
// reads to the end, with the same parameters.
#include "fuzz/fuzz_check.h"
#include "orvane/core/personality.h"

void FuzzOne(const uint8_t* data, size_t size) {
  const QString text = FuzzText(data, size);
  const orvane::PersonalityText read = orvane::ReadPersonality(text);
  for (const auto& [n, value] : read.params)
    FUZZ_CHECK(orvane::ParamProblem(n).isEmpty() && orvane::ValueProblem(value).isEmpty());
  const orvane::PersonalityText again = orvane::ReadPersonality(orvane::PersonalityFileText(read.params));
  FUZZ_CHECK(again.params == read.params && again.notes.isEmpty());
}
