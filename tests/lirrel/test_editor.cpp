// The editor window driven as a user would: its menus, lists, value box and the small windows,
// with every message box and file dialog answered from a script.
#include <QApplication>
#include <QDir>
#include <QTest>

#include "common/paths.h"
#include "lirrel/core/tablefile.h"
#include "lirrel/gui/lireditor.h"
#include "tests/lirrel/lirrel_test_util.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_env.h"
#include "tests/support/window_checks.h"

namespace lirrel {
namespace {

using tarvex::MsgButtons;
using tarvex::MsgResult;
using tarvex::test::PromptRecord;
using test::FileLines;
using test::ReadBytes;
using test::TableBytes;
using test::WriteBytes;

const QStringList kTable = {
    "MSGS 5", "#& old header", "#&>old comments", "\"GAME_SAVE\" 0 \"Game saved.\"", "\"HELLO\" 0 \"Hi\"",
    "\"GAME_LOAD\" 0 \"Loaded.\"", "\"BYE\" 0 \"Bye\"", "\"GAME_QUIT\" 0 \"Quit?\"", "END",
};
const QStringList kAllKeys = {"(empty):0", "GAME_SAVE:1", "HELLO:2", "GAME_LOAD:3", "BYE:4", "GAME_QUIT:5"};
const QStringList kGroups = {"All:0", "GAME:1", "MISC.:2"};
const QString kAskToSave = QStringLiteral("Save changes to jkstrings.uni?|Lirrel");

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QApplication::setApplicationDisplayName(QStringLiteral("Lirrel"));
    oldCurrent_ = QDir::currentPath();
    tarvex::SetProgramFolder(program_.path());
    WriteBytes(Uni(), TableBytes(kTable));
    editor_ = new lirEditor;
    editor_->show();
  }
  void TearDown() override {
    delete editor_;
    tarvex::test::ProcessEvents();
    tarvex::SetProgramFolder(QString());
    QDir::setCurrent(oldCurrent_);
  }

  QString Folder() const { return dir_.path(); }
  QString Uni(bool backup = false) const { return TablePath(Folder(), backup); }
  // Runs a File menu command with the file dialog answered.
  void File(int command, const QString& answer) {
    prompts_.fileAnswers.push_back(answer);
    editor_->smnuFile_Click(command);
  }
  void Load() { File(0, Uni()); }

  QStringList Groups() const {
    QStringList out;
    for (int i = 0; i < editor_->keyGroupBox->count(); ++i)
      out << editor_->keyGroupBox->itemText(i) + ':' + editor_->keyGroupBox->itemData(i).toString();
    return out;
  }
  QStringList Keys() const {
    QStringList out;
    for (int r = 0; r < editor_->KeyNames()->Count(); ++r)
      out << editor_->KeyNames()->At(r).text + ':' + QString::number(editor_->KeyNames()->At(r).key);
    return out;
  }
  void ChooseGroup(const char* name) {
    editor_->keyGroupBox->setCurrentIndex(editor_->keyGroupBox->findText(QString::fromLatin1(name)));
    editor_->keyGroupBox_Click();
  }
  void ChooseKey(const char* name) {
    for (int r = 0; r < editor_->KeyNames()->Count(); ++r)
      if (editor_->KeyNames()->At(r).text == QLatin1String(name)) return editor_->keyNameBox->SelectRow(r);
    FAIL() << "no key " << name;
  }
  const PromptRecord& Last() const {
    static const PromptRecord none{PromptRecord::Message, QStringLiteral("(nothing asked)"), QString(), MsgButtons::OK,
                                   tarvex::MsgIcon::None, {}, nullptr};
    return prompts_.records.empty() ? none : prompts_.records.back();
  }
  QString Said() const { return Last().text + '|' + Last().title; }
  QString Value() const { return editor_->keyValueBox->toPlainText(); }
  QString Count() const { return editor_->numMsg->text(); }

  tarvex::test::TempSettings settings_;
  tarvex::test::ScriptedPrompts prompts_;
  QTemporaryDir dir_, program_;
  QString oldCurrent_;
  lirEditor* editor_ = nullptr;
};

TEST_F(EditorTest, CommandLineDecidesWhatIsLoaded) {
  WriteBytes(TablePath(program_.path()), TableBytes({"\"BESIDE\" 0 \"the program\""}));
  const std::pair<QString, int> cases[] = {  // command line, keys loaded (-1: nothing)
      {QString(), 1}, {Folder() + tarvex::PathSeparator() + "JKSTRINGS.UNI", 5}, {Folder() + "/strings.uni", -1}};
  for (const auto& [cmd, keys] : cases) {
    lirEditor editor;
    editor.Form_Load(cmd);
    EXPECT_EQ(QDir::toNativeSeparators(QDir::currentPath()), program_.path()) << cmd;
    EXPECT_EQ(editor.Table().Count(), qMax(keys, 0)) << cmd;
    EXPECT_EQ(editor.Table().LoadedFolder().isEmpty(), keys < 0) << cmd;
  }
  EXPECT_TRUE(prompts_.records.empty());
}

TEST_F(EditorTest, FileCommandsAndTheLists) {
  // The name test ignores case; another file is refused with the command's own title.
  const struct { int command; const char* file; const char* error; } cases[] = {
      {0, "strings.uni", "Error Loading File"}, {1, "jkstrings.~un", "Error Loading File"},
      {2, "strings.uni", "Error Saving File"}, {0, "JkStrings.Uni", nullptr}};
  for (const auto& c : cases) {
    prompts_.Clear();
    File(c.command, Folder() + '/' + c.file);
    EXPECT_EQ(prompts_.records[0].kind, c.command == 2 ? PromptRecord::SaveFile : PromptRecord::OpenFile);
    EXPECT_EQ(prompts_.records.size(), c.error ? 2u : 1u) << c.file;
    if (c.error) { EXPECT_EQ(Said(), QStringLiteral("This file is not JKStrings.Uni.|") + c.error); }
    EXPECT_EQ(editor_->Table().Count(), c.error ? 0 : 5);
  }

  // Reloading in every way rebuilds the lists: one "All", one entry per group.
  Load();
  File(2, Uni());
  File(1, Uni());
  File(0, Folder() + "/none/jkstrings.uni");  // not there, or a folder: the table says so and keeps its lists
  EXPECT_EQ(Said(), Folder() + "/none/jkstrings.uni\r\nThis file does not exist.|Can't Load File");
  QDir().mkpath(Folder() + "/sub/jkstrings.uni");
  File(0, Folder() + "/sub/jkstrings.uni");
  EXPECT_EQ(Said(), Folder() + "/sub/jkstrings.uni\r\nIt is a folder, not a file.|Can't Load File");
  EXPECT_EQ(std::pair(Groups(), Keys()), std::pair(kGroups, kAllKeys));
  ChooseGroup("GAME");
  EXPECT_EQ(Keys(), (QStringList{"GAME_SAVE:1", "GAME_LOAD:3", "GAME_QUIT:5"}));
  ChooseGroup("All");
  EXPECT_EQ(Keys(), kAllKeys);
  // Written by another program since it was read here: Save asks before it overwrites, No
  // keeps that file; after a save of its own it does not ask.
  WriteBytes(Uni(), TableBytes({"\"OTHER\" 0 \"x\""}));
  prompts_.messageAnswers = {MsgResult::No, MsgResult::Yes};
  File(2, Uni());
  EXPECT_EQ(Said(), "jkstrings.uni has changed on disk since it was opened. Overwrite it?|Lirrel");
  EXPECT_EQ(ReadBytes(Uni()), TableBytes({"\"OTHER\" 0 \"x\""}));
  File(2, Uni());
  prompts_.Clear();
  File(2, Uni());
  EXPECT_EQ(prompts_.Messages(), std::vector<QString>{});
  EXPECT_EQ(Keys(), kAllKeys);

  // A hand-damaged file: the lines that are no key are named when it is opened (the first
  // five, cut short), and the save writes them back as they stood.
  QStringList bad;
  for (int i = 0; i < 7; ++i) bad << QStringLiteral("\"LONE_%1 0 ").arg(i) + QString(i * 20, 'x');
  WriteBytes(Uni(), TableBytes(kTable.mid(0, 4) + bad + kTable.mid(4)));
  Load();
  EXPECT_EQ(Last().icon, tarvex::MsgIcon::Exclamation);
  EXPECT_TRUE(Said().startsWith(Uni() + "\r\n7 lines") && Said().endsWith("\r\nLine 9: " + bad[4].left(60) +
                                                                          "...\r\nand 2 more.|Lirrel"))
      << Said();
  File(2, Uni());
  EXPECT_EQ(FileLines(Uni()).mid(18, 7), bad);  // after GAME_SAVE, as they stood
}

TEST_F(EditorTest, ValueBoxSaveClearReset) {
  Load();
  ChooseKey("HELLO");
  EXPECT_EQ(Value(), QStringLiteral("Hi"));
  editor_->keyValueBox->setPlainText(QStringLiteral("Hello there"));
  editor_->cmdBtn_Click(0);
  EXPECT_EQ(editor_->Table().keyTable()[2].value, QStringLiteral("Hello there"));
  editor_->cmdBtn_Click(1);  // Clear, then Reset: the stored value comes back
  EXPECT_EQ(Value(), QString());
  editor_->cmdBtn_Click(2);
  EXPECT_EQ(Value(), QStringLiteral("Hello there"));
  editor_->cmdBtn_Click(1);  // Clear, then another key: the first keeps its value
  ChooseKey("BYE");
  EXPECT_EQ(Value(), QStringLiteral("Bye"));
  EXPECT_EQ(editor_->Table().keyTable()[2].value, QStringLiteral("Hello there"));

  // What the file cannot hold is refused; the stored value stays, the box keeps the text.
  // (ü and ß fit the code page, Ω does not.)
  const std::pair<QString, const char*> refused[] = {{"say \"hi\"", "double quote or a line break"},
                                                     {"two\nlines", "double quote or a line break"},
                                                     {QStringLiteral("Gr\u00FC\u00DFe \u03A9"), "U+03A9"}};
  for (const auto& [bad, said] : refused) {
    editor_->keyValueBox->setPlainText(bad);
    editor_->cmdBtn_Click(0);
    EXPECT_TRUE(Last().text.contains(QLatin1String(said))) << Said();
    EXPECT_EQ(editor_->Table().keyTable()[4].value, QStringLiteral("Bye"));
    EXPECT_EQ(Value(), bad);
  }
  EXPECT_EQ(prompts_.Messages().size(), 3u);

  // With no key selected Save and Reset do nothing; the placeholder takes no value.
  editor_->keyNameBox->SelectRow(-1);
  editor_->keyValueBox->setPlainText(QStringLiteral("orphan"));
  editor_->cmdBtn_Click(0);
  editor_->cmdBtn_Click(2);
  EXPECT_EQ(Value(), QStringLiteral("orphan"));
  ChooseKey("(empty)");
  editor_->cmdBtn_Click(0);
  EXPECT_EQ(editor_->Table().keyTable()[0].value, QString());
}

TEST_F(EditorTest, AddAndDeleteKeys) {
  Load();
  ChooseGroup("MISC.");
  prompts_.inputAnswers = {QStringLiteral("My_Key"), QStringLiteral("HUD %s"), QString(), QStringLiteral("BAD\"NAME")};
  for (int i = 0; i < 4; ++i) editor_->smnuEdit_Click(0);
  EXPECT_TRUE(Last().text.contains("The key was not added.")) << Said();  // the name with a quote
  // Listed at the end of the shown group all the same; "Custom Keys" once.
  EXPECT_EQ(std::tuple(Keys(), Groups(), Count()),
            std::tuple(QStringList{"HELLO:2", "BYE:4", "My_Key:6", "HUD %s:7"}, kGroups + QStringList{"Custom Keys:3"},
                       QStringLiteral("Number of Messages:  7")));

  // Nothing selected, or the placeholder: nothing to delete.
  prompts_.Clear();
  ChooseGroup("All");
  for (int row : {-1, 0}) {
    editor_->keyNameBox->SelectRow(row);
    editor_->smnuEdit_Click(1);
    EXPECT_EQ(Said(), QStringLiteral("First select a key to delete.|Info"));
  }
  ChooseGroup("GAME");
  ChooseKey("GAME_LOAD");
  prompts_.messageAnswers = {MsgResult::No, MsgResult::Yes};
  editor_->smnuEdit_Click(1);
  EXPECT_EQ(Said(), QStringLiteral("Are you sure you want to delete the key \"GAME_LOAD\"?|Confirm Delete Key"));
  EXPECT_EQ(editor_->Table().Count(), 7);
  editor_->smnuEdit_Click(1);
  EXPECT_EQ(Keys(), (QStringList{"GAME_SAVE:1", "GAME_QUIT:4"}));  // refilled, indices moved down
  EXPECT_EQ(std::tuple(editor_->keyNameBox->SelectedRow(), Value(), Count()),
            std::tuple(-1, QString(), QStringLiteral("Number of Messages:  6")));
}

TEST_F(EditorTest, CommentsHeaderAndAbout) {
  Load();
  editor_->mnuComDesc_Click();
  lirComments* w = editor_->CommentsWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->lirCommentBox->text(), QStringLiteral("old comments"));
  w->lirComDescBtn_Click(1);  // Clear, then Reset
  EXPECT_EQ(w->lirCommentBox->text(), QString());
  w->lirComDescBtn_Click(2);
  EXPECT_EQ(w->lirCommentBox->text(), QStringLiteral("old comments"));
  // What the header cannot hold is refused by a message over the comments window.
  for (const QString& text : {QString(252, QLatin1Char('c')), QStringLiteral("two\nlines")}) {
    w->lirCommentBox->setText(text);
    w->lirComDescBtn_Click(0);
    EXPECT_TRUE(Last().text.startsWith("The comments & description ")) << Said();
    EXPECT_EQ(std::pair(Last().owner, editor_->Comments()), std::pair(static_cast<const QWidget*>(w), QString("old comments")));
  }
  w->lirCommentBox->setText(QStringLiteral("new \"quoted\" notes"));
  editor_->mnuComDesc_Click();  // shown again: the same window, its text kept
  EXPECT_EQ(editor_->CommentsWindow(), w);
  EXPECT_FALSE(editor_->Table().Modified());  // only Save changes the table
  w->lirComDescBtn_Click(0);
  EXPECT_EQ(std::pair(editor_->Comments(), editor_->Table().Modified()), std::pair(QStringLiteral("new \"quoted\" notes"), true));
  w->lirComDescBtn_Click(3);
  tarvex::test::ProcessEvents();
  EXPECT_EQ(editor_->CommentsWindow(), nullptr);

  editor_->mnuHeader_Click();
  lirHeader* h = editor_->HeaderWindow();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->lirHeaderView->toPlainText(), QStringLiteral(" old header\nold comments\n"));
  editor_->Table().SaveTable(Folder());  // an open viewer follows every load
  EXPECT_EQ(h->lirHeaderView->toPlainText().split('\n').mid(7, 2),
            (QStringList{" Comments & Description:", "new \"quoted\" notes"}));

  editor_->smnuHelp_Click();
  EXPECT_EQ(Last().title, QStringLiteral("About Lirrel"));
}

// Load, Revert and closing ask before dropping changes, and count an edit typed into the value
// box or the comments window but not yet stored with its Save button; Yes stores and saves it
// where the table was loaded from, without a dialog.
TEST_F(EditorTest, LoadRevertAndCloseAskBeforeDroppingTypedEdits) {
  WriteBytes(Uni(true), TableBytes({"#&>backup notes", "\"OLD\" 0 \"x\"", "END"}));
  Load();
  EXPECT_TRUE(editor_->close());  // nothing changed: no question
  EXPECT_EQ(prompts_.records.size(), 1u);
  editor_->show();
  ChooseKey("HELLO");
  QTest::keyClicks(editor_->keyValueBox, "Oh ");
  prompts_.messageAnswers = {MsgResult::Cancel, MsgResult::Cancel};
  editor_->smnuFile_Click(0);  // the question, and no file dialog after Cancel
  EXPECT_EQ(std::pair(Said(), Last().buttons), std::pair(kAskToSave, MsgButtons::YesNoCancel));
  editor_->smnuFile_Click(4);
  EXPECT_EQ(std::tuple(editor_->isVisible(), prompts_.records.size(), Value()), std::tuple(true, size_t(3), QStringLiteral("Oh Hi")));

  prompts_.messageAnswers = {MsgResult::No};
  File(1, Uni());  // No: the typed edit is dropped and the backup loaded
  EXPECT_EQ(Keys(), (QStringList{"(empty):0", "OLD:1"}));
  EXPECT_EQ(ReadBytes(Uni()), TableBytes(kTable));

  ChooseKey("OLD");
  QTest::keyClicks(editor_->keyValueBox, "y");
  editor_->mnuComDesc_Click();
  QTest::keyClicks(editor_->CommentsWindow()->lirCommentBox, "my ");
  prompts_.messageAnswers = {MsgResult::Yes};
  EXPECT_TRUE(editor_->close());
  EXPECT_EQ(Last().kind, PromptRecord::Message);
  EXPECT_EQ(ReadBytes(Uni(true)), TableBytes(kTable));
  const QStringList lines = FileLines(Uni());
  EXPECT_EQ(lines[10] + '|' + lines[17], "#&>my backup notes|" + KeyLine(QStringLiteral("OLD"), QStringLiteral("yx")));
}

TEST_F(EditorTest, ClosingWithoutALoadedFolderAsksForTheFile) {
  editor_->mnuComDesc_Click();
  editor_->CommentsWindow()->lirCommentBox->setText(QStringLiteral("fresh"));
  editor_->CommentsWindow()->lirComDescBtn_Click(0);
  prompts_.messageAnswers = {MsgResult::Yes, MsgResult::Yes};
  EXPECT_FALSE(editor_->close());  // Yes, then the dialog is cancelled: Lirrel stays open
  EXPECT_EQ(Last().kind, PromptRecord::SaveFile);
  const QString elsewhere = Folder() + QStringLiteral("/new");
  QDir().mkpath(elsewhere);
  prompts_.fileAnswers.push_back(TablePath(elsewhere));
  EXPECT_TRUE(editor_->close());  // Yes, and a file chosen: written there, the small windows closed
  tarvex::test::ProcessEvents();
  EXPECT_TRUE(!editor_->CommentsWindow() && FileLines(TablePath(elsewhere)).contains(QStringLiteral("#&>fresh")));
  EXPECT_EQ(QDir(elsewhere).entryList(QDir::Files), QStringList{"jkstrings.uni"});  // and no backup
}

// A value longer than the game reads is questioned when the box's Save stores it: Yes keeps
// it whole (and the save does not report it again), No shortens it to what the game reads,
// Cancel stores nothing.
TEST_F(EditorTest, LongValueIsQuestionedWhenStored) {
  Load();
  const QString longValue(300, QLatin1Char('v'));
  const int room = 254 - 35 - 5;  // the key line of HELLO: quotes, padding, "0"
  const struct { MsgResult answer; QString stored; } cases[] = {
      {MsgResult::Cancel, "Hi"}, {MsgResult::No, longValue.left(room)}, {MsgResult::Yes, longValue}};
  for (const auto& c : cases) {
    ChooseKey("HELLO");
    editor_->cmdBtn_Click(1);
    editor_->keyValueBox->setPlainText(longValue);
    prompts_.Clear({c.answer});
    editor_->cmdBtn_Click(0);
    ASSERT_EQ(prompts_.Messages().size(), 1u);
    EXPECT_TRUE(Last().text.startsWith("The value of \"HELLO\" is 300 characters long;")) << Said();
    EXPECT_EQ(std::pair(Last().buttons, editor_->Table().keyTable()[2].value), std::pair(MsgButtons::YesNoCancel, c.stored));
  }
  prompts_.Clear();
  ASSERT_TRUE(editor_->Table().SaveTable(Folder()));
  EXPECT_TRUE(prompts_.Messages().empty()) << prompts_.Messages().front();
  EXPECT_TRUE(FileLines(Uni()).contains(KeyLine(QStringLiteral("HELLO"), longValue)));
}

// A value the game cuts is shown cut and read-only with a note; the full text stays as it is
// through Save, Reset, closing and saving; Clear lets the user replace it.
TEST_F(EditorTest, LongValueIsShownCutAndKeptWhole) {
  const QString huge = QString(100000, QLatin1Char('x')) + QStringLiteral("END");
  WriteBytes(Uni(), TableBytes({"\"HUGE\" 0 \"" + huge + "\"", "\"SHORT\" 0 \"s\""}));
  Load();
  ChooseKey("HUGE");
  const int room = 254 - 35 - 4;
  EXPECT_EQ(std::tuple(Value(), editor_->keyValueBox->isReadOnly(), editor_->valueNote->isVisible()),
            std::tuple(huge.left(room), true, true));
  EXPECT_TRUE(editor_->valueNote->text().contains("100003 characters long; the game reads only the first 215"))
      << editor_->valueNote->text();
  editor_->cmdBtn_Click(0);
  editor_->cmdBtn_Click(2);
  EXPECT_EQ(std::pair(editor_->Table().keyTable()[1].value, editor_->Table().Modified()), std::pair(huge, false));
  EXPECT_TRUE(editor_->close());  // nothing to ask
  EXPECT_TRUE(prompts_.Messages().empty());
  editor_->show();
  ChooseKey("SHORT");
  EXPECT_EQ(std::pair(editor_->keyValueBox->isReadOnly(), editor_->valueNote->isVisible()), std::pair(false, false));
  ChooseKey("HUGE");
  editor_->cmdBtn_Click(1);
  EXPECT_FALSE(editor_->keyValueBox->isReadOnly());
  QTest::keyClicks(editor_->keyValueBox, "new");
  editor_->cmdBtn_Click(0);
  EXPECT_EQ(editor_->Table().keyTable()[1].value, QStringLiteral("new"));
}

// Of jkstrings.uni and JKSTRINGS.UNI in one folder, the one named is loaded and saved (its
// backup beside it), and the title says which; a Revert counts as a change that closing offers
// to save.
TEST_F(EditorTest, TheNamedFileIsOpenedAndRevertIsNotForgotten) {
  const QString upper = Folder() + QStringLiteral("/JKSTRINGS.UNI");
  WriteBytes(upper, TableBytes({"\"UPPER\" 0 \"u\""}));
  File(0, upper);
  EXPECT_EQ(Keys(), (QStringList{"(empty):0", "UPPER:1"}));
  EXPECT_EQ(editor_->windowTitle(), "Lirrel - " + upper);
  lirEditor started;
  started.Form_Load('"' + upper + '"');
  EXPECT_EQ(started.Table().LoadedPath(), upper);

  WriteBytes(Uni(true), TableBytes({"\"OLD\" 0 \"o\""}));
  File(1, upper);
  EXPECT_EQ(Keys(), (QStringList{"(empty):0", "OLD:1"}));
  prompts_.Clear({MsgResult::Yes});
  EXPECT_TRUE(editor_->close());
  EXPECT_EQ(Said(), kAskToSave);
  EXPECT_TRUE(FileLines(upper).contains(KeyLine(QStringLiteral("OLD"), QStringLiteral("o"))));
  // The backup is the named file's; the other file is untouched.
  EXPECT_EQ(std::pair(ReadBytes(Uni(true)), ReadBytes(Uni())), std::pair(TableBytes({"\"UPPER\" 0 \"u\""}), TableBytes(kTable)));
}

TEST_F(EditorTest, ProgressWindowForSlowLoads) {
  QStringList seen;
  qint64 now = 0;
  editor_->Table().SetClock([&] {
    if (Progress* p = editor_->ProgressWindow())
      seen << QStringLiteral("%1|%2/%3").arg(p->windowTitle()).arg(p->ProgressBar->value()).arg(p->ProgressBar->maximum());
    return now += 1000;
  });
  Load();
  const QString size = QString::number(TableBytes(kTable).size());
  ASSERT_FALSE(seen.isEmpty());
  EXPECT_EQ(seen.front(), "Loading and Parsing jkstrings.uni - Line 1 -  6 of  " + size + " bytes|6/" + size);
  EXPECT_EQ(editor_->ProgressWindow(), nullptr);  // gone once the load has ended
}

TEST_F(EditorTest, NamedForScreenReadersAndWholeInLargeFonts) {
  Load();
  EXPECT_EQ(tarvex::test::AccessibleNameProblems(editor_), QStringList());
  tarvex::test::ForEachInterfaceFont([](int pt) {
    lirEditor editor;
    editor.show();
    tarvex::test::ProcessEvents();
    EXPECT_EQ(tarvex::test::ClippedWidgets(&editor), QStringList()) << pt;
  });
}

}  // namespace
}  // namespace lirrel
