// Template headers, filling in the body, and the templates we ship.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include "scrivane/core/bramwise.h"
#include "scrivane/core/cogtemplate.h"
#include "scrivane/core/lineends.h"
#include "scrivane/core/scriptfile.h"
#include "scrivane/core/shell.h"
#include "scrivane/core/syntaxcheck.h"
#include "tests/support/test_env.h"

using namespace scrivane;

static QString Crlf(const char* lfText) { return NormalizeLineEnds(QString::fromUtf8(lfText)).text; }

TEST(CogTemplate, MalformedHeadersAreRefusedWithTheirLine) {
  const struct { const char* text; int line; const char* fault; } cases[] = {
      {"", 1, "number of columns"}, {" 3\nA,B,C\nend\n", 1, "number of columns"}, {"3x\nA,B,C\nend\n", 1, "number of columns"},
      {"1\nA\nend\n", 1, "at least 2 columns"},
      {"99999999999\nA,B\nend\n", 1, "the number of columns, 99999999999, is more than the 256"},
      {"257\nA,B\nend\n", 1, "the number of columns, 257, is more than the 256"}, {"00000000003\nA,B\nend\n", 2, "3 values"},
      {"3\n", 2, "headings are missing"}, {"3\nA,B\nend\n", 2, "3 values"}, {"3\nA,B,C\n1,a,x\n2,b\nend\n", 4, "3 values"},
      // No "end" line: named as such, not as a fault of the first body line.
      {"2\nA,B\n1,a\n2,b\n", 0, "no \"end\" line"}, {"2\nA,B\n1,a\n end\nbody", 0, "no \"end\" line"},
      {"2\nA,B\nend x\nbody, more\n", 0, "no \"end\" line"}, {"2\nA,B\n1,Speed\n2,speed\nend\n", 4, "already named on line 3"},
  };
  for (const auto& c : cases) {
    const TemplateParse p = ParseCogTemplate(Crlf(c.text));
    EXPECT_TRUE(!p.ok && p.line == c.line) << c.text;
    EXPECT_TRUE(p.fault.contains(QLatin1String(c.fault))) << c.text << " -> " << p.fault;
  }
}

TEST(CogTemplate, Substitution) {
  const struct { const char* body; QList<TemplateValue> values; const char* want; } cases[] = {
      {"x = <%speed%>;", {{"speed", "5"}}, "x = 5;"},
      {"<%a%>+<%A%>+<%a%>", {{"a", "1"}}, "1+1+1"},
      {"v=<%SPEED%>", {{"speed", "7"}}, "v=7"},
      {"nothing here", {{"unused", "9"}}, "nothing here"},
      {"<%other%> stays", {{"a", "1"}}, "<%other%> stays"},
      // A value holding its own placeholder is not searched again.
      {"<%a%>,<%a%>", {{"a", "x<%a%>"}}, "x<%a%>,x<%a%>"},
      {"<%a%>", {{"a", "<%a%><%a%>"}}, "<%a%><%a%>"},
      // An empty value: the placeholder right after it is replaced too.
      {"<%a%><%a%>|", {{"a", ""}}, "|"},
      // Fields in list order: a value may bring in a later field's placeholder.
      {"<%a%>", {{"a", "<%b%>"}, {"b", "2"}}, "2"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FillTemplate(QString::fromUtf8(c.body), c.values), QString::fromUtf8(c.want)) << c.body;
}

// The templates we ship give scripts that the checker and the symbol scan accept, and that
// call only verbs of the language.
TEST(CogTemplate, ShippedTemplatesGenerateSoundScripts) {
  const QDir dir(QStringLiteral(TARVEX_SOURCE_DIR "/scrivane/data/templates"));
  const QStringList names = dir.entryList({QStringLiteral("*.cgt")}, QDir::Files);
  ASSERT_GE(names.size(), 3);
  QSet<QString> verbs;
  QFile tsv(tarvex::test::SharedPath(QStringLiteral("cog-language/verbs.tsv")));
  if (tsv.open(QIODevice::ReadOnly))
    for (const QByteArray& line : tsv.readAll().split('\n')) verbs.insert(QString::fromLatin1(line.split('\t')[0]).toLower());
  for (const QString& name : names) {
    const ScriptReadResult r = ReadScriptFile(dir.filePath(name));
    ASSERT_TRUE(r.ok) << name;
    const TemplateParse p = ParseCogTemplate(r.content.text);
    ASSERT_TRUE(p.ok) << name << ": " << p.fault;
    QList<TemplateValue> values;
    for (const QStringList& row : p.tpl.rows) values.append({row[1], row[0]});
    const QString script = FillTemplate(p.tpl.body, values);
    EXPECT_TRUE(CheckCog(script, 0).empty()) << name;
    const BramwiseScan scan = ScanBramwise(script, name, SymbolTypeNames());
    EXPECT_EQ(scan.duplicateAt, -1) << name;
    EXPECT_GT(scan.nodes.size(), 5u) << name;
    if (verbs.isEmpty()) continue;
    static const QRegularExpression call(QStringLiteral("\\b([A-Za-z_]\\w*)\\s*\\("));
    for (auto it = call.globalMatch(script); it.hasNext();) {
      const QString verb = it.next().captured(1).toLower();
      EXPECT_TRUE(verbs.contains(verb) || verb == QLatin1String("if")) << name << ": " << verb;
    }
  }
}
