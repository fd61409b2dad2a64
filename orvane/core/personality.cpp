#include "orvane/core/personality.h"

#include <QRegularExpression>

namespace orvane {

namespace {

const QRegularExpression& ParamLine() {
  static const QRegularExpression re(QStringLiteral("^\\s*param\\s+(\\d{1,9})\\s*:\\s*(\\S+)\\s*$"),
                                     QRegularExpression::CaseInsensitiveOption);
  return re;
}

const QRegularExpression& Number() {
  static const QRegularExpression re(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)$"));
  return re;
}

}  // namespace

PersonalityText ReadPersonality(const QString& text) {
  PersonalityText out;
  QStringList lines = text.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.back().trimmed().isEmpty()) lines.removeLast();
  bool stopped = false;
  const auto stop = [&](int line, const QString& why) {
    out.notes << QStringLiteral("Line %1: %2%3")
                     .arg(line)
                     .arg(why, stopped ? QString() : QStringLiteral(" The game stops reading here."));
    stopped = true;
  };
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString line = lines[i].trimmed();
    const int number = int(i) + 1;
    if (i == 0) {
      if (line.simplified().compare(QLatin1String("version 2"), Qt::CaseInsensitive) != 0)
        stop(number, QStringLiteral("the file does not begin with \"version 2\"."));
      continue;
    }
    const QRegularExpressionMatch m = ParamLine().match(line);
    if (!m.hasMatch()) {
      stop(number, QStringLiteral("the line does not read \"param N: value\"; Orvane does not keep it."));
      continue;
    }
    const int param = m.captured(1).toInt();
    const QString value = m.captured(2);
    const QString problem = !ParamProblem(param).isEmpty() ? ParamProblem(param) : ValueProblem(value);
    if (!problem.isEmpty()) {
      stop(number, problem + QStringLiteral(" Orvane does not keep the line."));
      continue;
    }
    if (out.params.count(param))
      out.notes << QStringLiteral("Line %1: param %2 is given again; the later value is kept.").arg(number).arg(param);
    out.params[param] = value;
  }
  if (lines.isEmpty()) stop(1, QStringLiteral("the file is empty; it should begin with \"version 2\"."));
  return out;
}

QString PersonalityFileText(const std::map<int, QString>& params) {
  QString text = QStringLiteral("version 2\r\n");
  for (const auto& [n, value] : params) text += QStringLiteral("param %1: %2\r\n").arg(n).arg(value);
  return text;
}

QString ParamProblem(int number) {
  if (number < 0 || number > kMaxParam)
    return QStringLiteral("The parameter number %1 lies outside 0 to %2.").arg(number).arg(kMaxParam);
  return QString();
}

QString ValueProblem(const QString& value) {
  if (!Number().match(value).hasMatch())
    return QStringLiteral("The value \"%1\" is not a decimal number.").arg(value);
  return QString();
}

const QStringList& PersonalityFiles() {
  static const QStringList files = {QStringLiteral("single.per"), QStringLiteral("jedi.per"),
                                    QStringLiteral("bounty.per"), QStringLiteral("scout.per"),
                                    QStringLiteral("soldier.per")};
  return files;
}

}  // namespace orvane
