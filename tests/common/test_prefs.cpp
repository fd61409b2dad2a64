#include "common/prefs.h"
#include "tests/support/test_env.h"

using namespace tarvex;

// Values are written in their stored forms, and texts that do not convert read as the default.
TEST(Prefs, StoredFormsAndUnconvertibleTexts) {
  test::TempSettings tmp;
  prefs::DefFontItalic.Set(true);
  EXPECT_EQ(GetSetting("Scrivane", "Defaults", "DefFontItalic"), "True");
  prefs::AuthName.Set(QString());
  EXPECT_TRUE(prefs::AuthName.IsStored());  // an empty text is a stored value
  const struct { const char* stored; int size; bool bold; } bad[] = {
      {"big", 8, false}, {"0", 8, false}, {"513", 8, true}, {"512", 512, true}, {"-1", 8, true}, {" 10 ", 10, true}};
  for (const auto& b : bad) {
    for (const char* key : {"DefFontSize", "DefFontBold"}) SaveSetting("Scrivane", "Defaults", key, b.stored);
    EXPECT_EQ(std::pair(prefs::DefFontSize.Get(), prefs::DefFontBold.Get()), std::pair(b.size, b.bold)) << b.stored;
  }
  for (const char* blank : {"", "  "}) {  // a font needs a name
    SaveSetting("Scrivane", "Defaults", "DefFontName", blank);
    EXPECT_EQ(prefs::DefFontName.Get(), "Courier New");
  }
}
