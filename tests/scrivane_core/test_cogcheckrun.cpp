// tarvex-cogcheck's whole run: arguments, the scripts a folder stands for, both output forms
// and the exit status, on files in a temporary folder.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "scrivane/core/cogcheckrun.h"
#include "tests/support/file_bytes.h"

using namespace scrivane;
using tarvex::test::WriteBytes;

namespace {

struct CheckRun { int status = -1; QString out, err; };

CheckRun Check(const QStringList& args) {
  CheckRun r;
  QTextStream out(&r.out), err(&r.err);
  r.status = RunCogCheck(args, out, err);
  return r;
}

const QByteArray kWarning = "symbols\r\nmessage startup\r\nthing door local\r\nend\r\ncode\r\nstartup:\r\n  Sleep(1, 2);\r\n  return;\r\nend\r\n";
const QByteArray kError = "symbols\nend\ncode\nrun:\n  x = 1\nend\n";
const QByteArray kMots = "symbols\nmessage startup\nend\ncode\nstartup:\n  AISetInterest(GetSenderRef(), GetSourceRef());\n  return;\nend\n";

// A folder holding warn.cog (one warning, one note), error.cog (one error, one note) and
// mots.cog (clean for MotS, a warning for JK).
class CogCheckRun : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(warn, kWarning);
    WriteBytes(error, kError);
    WriteBytes(mots, kMots);
  }
  QTemporaryDir dir;
  const QString warn = dir.filePath(QStringLiteral("warn.cog")), error = dir.filePath(QStringLiteral("error.cog")),
                mots = dir.filePath(QStringLiteral("mots.cog"));
};

}  // namespace

TEST_F(CogCheckRun, TextOutputAndExitStatus) {
  CheckRun r = Check({warn});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, warn + QStringLiteral(":7:3: warning: 'Sleep' takes 1 argument, but 2 are written: the game takes 1 "
                                         "value off the stack all the same, so this call and later ones get wrong "
                                         "values. [COG106]\n"));
  EXPECT_TRUE(r.err.isEmpty());
  r = Check({QStringLiteral("--notes"), warn, error});
  EXPECT_EQ(r.status, 1);
  const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_TRUE(lines[0].startsWith(warn + QStringLiteral(":3:7: note: 'door' is declared"))) << lines[0];
  EXPECT_TRUE(lines[2].startsWith(error + QStringLiteral(":5:3: note: "))) << lines[2];
  EXPECT_TRUE(lines[3].startsWith(error + QStringLiteral(":6:1: error: Syntax error: ';' expected, found 'end'"))) << lines[3];
}

TEST_F(CogCheckRun, GameChoice) {
  const struct { QStringList args; bool warned; } rows[] = {
      {{}, false}, {{"--game", "mots"}, false}, {{"--game=jk"}, true}, {{"--game", "JK"}, true}, {{"--game=both"}, false}};
  for (const auto& row : rows) {
    const CheckRun r = Check(row.args + QStringList{mots});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.contains(QLatin1String("[COG111]")), row.warned) << row.args.join(u' ').toStdString();
  }
}

TEST_F(CogCheckRun, JsonOutput) {
  const CheckRun r = Check({QStringLiteral("--format"), QStringLiteral("json"), error});
  EXPECT_EQ(r.status, 1);
  QJsonParseError pe;
  const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &pe);
  ASSERT_EQ(pe.error, QJsonParseError::NoError) << r.out.toStdString();
  ASSERT_TRUE(doc.isArray());
  ASSERT_EQ(doc.array().size(), 1);  // the note on x is left out without --notes
  const QJsonObject f = doc.array()[0].toObject();
  QStringList fields;  // file, place and end, severity, code
  for (const char* key : {"file", "line", "column", "endLine", "endColumn", "severity", "code"})
    fields << f.value(QLatin1String(key)).toVariant().toString();
  EXPECT_EQ(fields, (QStringList{error, "6", "1", "6", "4", "error", "COG003"}));
  EXPECT_TRUE(f.value("message").toString().contains(QLatin1String("line 4 of the code section (line 6 of the file)")));
  // No finding: an empty array.
  const QString clean = dir.filePath(QStringLiteral("clean.cog"));
  WriteBytes(clean, "symbols\nend\ncode\nend\n");
  const CheckRun empty = Check({QStringLiteral("--format=json"), clean});
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(QJsonDocument::fromJson(empty.out.toUtf8()).array().size(), 0);
}

TEST_F(CogCheckRun, FoldersAreSearchedForScriptsInAnyCase) {
  WriteBytes(dir.filePath(QStringLiteral("mod/cog/a.cog")), kWarning);
  WriteBytes(dir.filePath(QStringLiteral("mod/cog/deeper/B.COG")), kWarning);
  WriteBytes(dir.filePath(QStringLiteral("mod/readme.txt")), kError);
  const CheckRun r = Check({dir.filePath(QStringLiteral("mod"))});
  EXPECT_EQ(r.status, 0);
  const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
  EXPECT_TRUE(lines[0].startsWith(dir.filePath(QStringLiteral("mod/cog/a.cog:7:3"))));
  EXPECT_TRUE(lines[1].startsWith(dir.filePath(QStringLiteral("mod/cog/deeper/B.COG:7:3"))));
}

TEST_F(CogCheckRun, UsageErrorsAndUnreadablePaths) {
  const struct { QStringList args; const char* says; } rows[] = {
      {{}, "no script or folder named"}, {{"--game", "jk2", error}, "unknown game 'jk2'"},
      {{"--format=xml", error}, "unknown format 'xml'"}, {{"--verbose", error}, "unknown option --verbose"},
      {{error, "--game"}, "--game needs a value"}};
  for (const auto& row : rows) {
    const CheckRun r = Check(row.args);
    EXPECT_EQ(r.status, 2) << row.says;
    EXPECT_TRUE(r.err.contains(QLatin1String(row.says))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QLatin1String("usage: tarvex-cogcheck")));
    EXPECT_TRUE(r.out.isEmpty());
  }
  // A missing path is named on standard error; the others are still checked.
  const QString missing = dir.filePath(QStringLiteral("gone.cog"));
  const CheckRun r = Check({missing, error});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, QStringLiteral("tarvex-cogcheck: %1: no such file or folder\n").arg(missing));
  EXPECT_TRUE(r.out.contains(QLatin1String("[COG003]")));
  // A file that cannot be read (where permissions stop this user; root reads anything).
  const QString locked = dir.filePath(QStringLiteral("locked.cog"));
  WriteBytes(locked, kWarning);
  QFile::setPermissions(locked, QFileDevice::Permissions());
  if (QFile probe(locked); !probe.open(QIODevice::ReadOnly)) {
    const CheckRun l = Check({locked});
    EXPECT_EQ(l.status, 2);
    EXPECT_TRUE(l.err.startsWith(QStringLiteral("tarvex-cogcheck: %1: ").arg(locked))) << l.err.toStdString();
  }
}
