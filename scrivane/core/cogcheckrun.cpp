#include "scrivane/core/cogcheckrun.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "common/ansicodec.h"
#include "common/files.h"
#include "scrivane/core/cogscript.h"

namespace scrivane {
namespace {

const char kUsage[] =
    "usage: tarvex-cogcheck [--game jk|mots|both] [--format text|json] [--notes] PATH...\n"
    "Checks COG scripts as the game loads them; a folder is searched for *.cog.\n";

struct Options {
  CogGame game = CogGame::Both;
  bool json = false, notes = false;
  QStringList paths;
};

// False with the reason when the arguments make no sense.
bool ParseArgs(const QStringList& args, Options* o, QString* why) {
  bool onlyPaths = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (onlyPaths || !a.startsWith(QLatin1String("--"))) {
      o->paths << a;
      continue;
    }
    if (a == QLatin1String("--")) {
      onlyPaths = true;
      continue;
    }
    if (a == QLatin1String("--notes")) {
      o->notes = true;
      continue;
    }
    QString name = a, value;
    const qsizetype eq = a.indexOf(u'=');
    if (eq >= 0) {
      name = a.left(eq);
      value = a.mid(eq + 1);
    } else if (a == QLatin1String("--game") || a == QLatin1String("--format")) {
      if (i + 1 >= args.size()) {
        *why = QStringLiteral("%1 needs a value").arg(a);
        return false;
      }
      value = args[++i];
    }
    if (name == QLatin1String("--game")) {
      if (!ParseCogGame(value, &o->game)) {
        *why = QStringLiteral("unknown game '%1' (jk, mots or both)").arg(value);
        return false;
      }
    } else if (name == QLatin1String("--format")) {
      if (value != QLatin1String("text") && value != QLatin1String("json")) {
        *why = QStringLiteral("unknown format '%1' (text or json)").arg(value);
        return false;
      }
      o->json = value == QLatin1String("json");
    } else {
      *why = QStringLiteral("unknown option %1").arg(a);
      return false;
    }
  }
  if (o->paths.isEmpty()) *why = QStringLiteral("no script or folder named");
  return !o->paths.isEmpty();
}

// The scripts a path stands for: the file itself, or every *.cog below a folder, sorted.
QStringList ScriptsOf(const QString& path) {
  const QFileInfo info(path);
  if (!info.isDir()) return {path};
  QStringList found;
  QDirIterator it(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString f = it.next();
    if (f.endsWith(QLatin1String(".cog"), Qt::CaseInsensitive)) found << f;
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

int RunCogCheck(const QStringList& args, QTextStream& out, QTextStream& err) {
  Options o;
  QString why;
  if (!ParseArgs(args, &o, &why)) {
    err << "tarvex-cogcheck: " << why << "\n" << kUsage;
    err.flush();
    return 2;
  }
  bool unreadable = false, anyError = false;
  QJsonArray all;
  for (const QString& path : o.paths) {
    if (!QFileInfo::exists(path)) {
      err << "tarvex-cogcheck: " << path << ": no such file or folder\n";
      unreadable = true;
      continue;
    }
    for (const QString& file : ScriptsOf(path)) {
      QByteArray bytes;
      QString reason;
      if (!tarvex::ReadWholeFile(file, &bytes, &reason)) {
        err << "tarvex-cogcheck: " << file << ": " << reason << "\n";
        unreadable = true;
        continue;
      }
      const CogScript script = ParseCogScript(tarvex::DecodeAnsi(bytes), o.game);
      anyError = anyError || !script.loads;
      for (const CogFinding& f : script.findings) {
        if (f.severity == CogSeverity::Note && !o.notes) continue;
        if (o.json) {
          all.append(QJsonObject{{QStringLiteral("file"), file},
                                 {QStringLiteral("line"), f.at.line},
                                 {QStringLiteral("column"), f.at.column},
                                 {QStringLiteral("endLine"), f.endLine},
                                 {QStringLiteral("endColumn"), f.endColumn},
                                 {QStringLiteral("severity"), CogSeverityName(f.severity)},
                                 {QStringLiteral("code"), f.code},
                                 {QStringLiteral("message"), f.message}});
        } else {
          out << file << ':' << f.at.line << ':' << f.at.column << ": " << CogSeverityName(f.severity) << ": "
              << f.message << " [" << f.code << "]\n";
        }
      }
    }
  }
  if (o.json) out << QJsonDocument(all).toJson(QJsonDocument::Indented);
  out.flush();
  err.flush();
  return unreadable ? 2 : anyError ? 1 : 0;
}

}  // namespace scrivane
