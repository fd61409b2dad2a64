// Finding one's way by the names of a read script: definitions, uses, completion and the places
// a rename touches, by position in a small script.
#include "scrivane/core/cognav.h"
#include "tests/support/test_env.h"

using namespace scrivane;

namespace {

const QString kText = QStringLiteral(
    "symbols\nthing door\nint count local\nmessage activated\nmessage timer\nend\ncode\n"
    "activated:\n  count = count + 1;  # count in a comment\n  Print(\"count\");\n  call open;\n  return;\n"
    "open:\n  MoveToFrame(door, 1, 8);\n  countdown = 1;\n  return;\nend\n");

qsizetype At(const char* what, int nth = 0) {
  qsizetype p = -1;
  for (int i = 0; i <= nth; ++i) p = kText.indexOf(QLatin1String(what), p + 1);
  return p;
}

}  // namespace

TEST(CogNav, DefinitionOfTheNameAtAPlace) {
  const CogScript s = ParseCogScript(kText);
  const struct { qsizetype at, expected; } rows[] = {  // the place, and the definition's (-1: none)
      {At("count", 2) + 2, At("count")},      // a use goes to the declaration
      {At("door", 1), At("door")},            // a use at its first character
      {At("open;") + 1, At("open:")},         // call target -> its label
      {At("activated", 1) + 3, At("activated")},  // a handler -> its message line
      {At("activated") + 1, At("activated:")},    // a message line -> its handler
      {At("timer") + 1, -1},                  // a message without handler
      {At("countdown") + 2, -1},              // created by use: declared nowhere
      {At("MoveToFrame") + 2, -1},            // a verb
      {At("comment") + 1, -1},                // in a comment
  };
  for (const auto& r : rows) {
    const auto d = CogDefinitionAt(s, kText, r.at);
    EXPECT_EQ(d ? d->offset : -1, r.expected) << kText.mid(r.at, 8).toStdString();
  }
}

TEST(CogNav, UsesCompletionAndRenamePlaces) {
  const CogScript s = ParseCogScript(kText);
  const QString name = CogNameAt(s, kText, At("count", 2));
  EXPECT_EQ(name, QStringLiteral("count"));
  std::vector<qsizetype> uses;
  for (const CogRange& r : CogUsesOf(s, kText, name)) uses.push_back(r.offset);
  EXPECT_EQ(uses, (std::vector<qsizetype>{At("count"), At("count", 1), At("count", 2)}));

  const QStringList words =
      tarvex::test::Map(CogCompletions(s, kText, u"co", CogGame::Both), [](const CogCompletion& c) { return c.word + u'/' + c.kind; });
  EXPECT_TRUE(words.contains(QStringLiteral("count/int")));
  EXPECT_FALSE(words.filter(QStringLiteral("countdown")).size() > 0);  // made by use, offered nowhere
  EXPECT_TRUE(words.filter(QStringLiteral("/verb")).size() > 0);
  for (const QString& w : words) EXPECT_TRUE(w.startsWith(QLatin1String("co"), Qt::CaseInsensitive)) << w.toStdString();
  EXPECT_EQ(CogCompletions(s, kText, u"OPE", CogGame::Both).front().word, QStringLiteral("open"));
  EXPECT_TRUE(CogCompletions(s, kText, u"preblo", CogGame::JK).empty());
  EXPECT_EQ(CogCompletions(s, kText, u"preblo", CogGame::MotS).front().kind, QStringLiteral("message"));

  QString why;
  EXPECT_EQ(CogRenameRanges(s, kText, At("count", 1), QStringLiteral("total"), &why).size(), 3u);
  const struct { qsizetype at; const char* name; const char* why; } refused[] = {
      {At("count", 1), "9lives", "is not a name"}, {At("count", 1), "door", "already used"},
      {At("count", 1), "countdown", "already used"}, {At("count", 1), "while", "a word of the script language"},
      {At("activated"), "pressed", "message's name is the game's"},
  };
  for (const auto& r : refused) {
    why.clear();
    EXPECT_TRUE(CogRenameRanges(s, kText, r.at, QString::fromLatin1(r.name), &why).empty()) << r.name;
    EXPECT_TRUE(why.contains(QLatin1String(r.why))) << why.toStdString();
  }
}
