#include <gtest/gtest.h>

#include "common/paths.h"
#include "common/prefs.h"
#include "tests/support/test_env.h"

using namespace tarvex;

// Where each declared setting lives and what it reads as in an empty store: the places the
// other programs and stored files rely on.
TEST(Prefs, DeclaredPlacesAndDefaults) {
  test::TempSettings tmp;
  const struct { const TextPref& p; const char* where; QString def; } text[] = {
      {prefs::DefOpenDir, "Scrivane/Defaults/DefOpenDir", DataFolder()},
      {prefs::DefSaveDir, "Scrivane/Defaults/DefSaveDir", DataFolder()},
      {prefs::DefFontName, "Scrivane/Defaults/DefFontName", "Courier New"},
      {prefs::MRU[0], "Scrivane/MRU/1", ":"},
      {prefs::MRU[3], "Scrivane/MRU/4", ":"},
      {prefs::AuthName, "Pendrel/AuthInfo/Name", ""},
      {prefs::AuthEMail, "Pendrel/AuthInfo/EMail", ""},
      {prefs::AuthWebsite, "Pendrel/AuthInfo/Website", ""},
  };
  for (const auto& r : text) {
    EXPECT_EQ(r.p.App() + '/' + r.p.Section() + '/' + r.p.Key(), r.where);
    EXPECT_TRUE(r.p.Get() == r.def && !r.p.IsStored()) << r.where;
  }
  EXPECT_FALSE(prefs::DefFontBold.Get() || prefs::ShowCheckSyntax.Get());
  EXPECT_EQ(prefs::DefFontSize.Get(), 8);
}

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
