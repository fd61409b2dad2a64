#include "scrivane/core/cogscript.h"

#include <algorithm>

#include "scrivane/core/cogscript_p.h"

namespace scrivane {

namespace {
const char* const kTypeNames[] = {"thing",    "surface", "sector", "sound",   "template", "model", "keyframe",
                                  "cog",      "material", "ai",    "message", "flex",     "int",   "vector"};
}

QString CogSeverityName(CogSeverity s) {
  switch (s) {
    case CogSeverity::Error: return QStringLiteral("error");
    case CogSeverity::Warning: return QStringLiteral("warning");
    default: return QStringLiteral("note");
  }
}

QString CogSymbolTypeName(CogSymbolType t) { return QString::fromLatin1(kTypeNames[int(t)]); }

bool CogSymbolTypeFromWord(QStringView word, CogSymbolType* type) {
  for (int i = 0; i < int(std::size(kTypeNames)); ++i) {
    if (word.compare(QLatin1String(kTypeNames[i]), Qt::CaseInsensitive) == 0) {
      *type = CogSymbolType(i);
      return true;
    }
  }
  if (word.compare(u"float", Qt::CaseInsensitive) == 0) {
    *type = CogSymbolType::Flex;
    return true;
  }
  return false;
}

int CogScript::FindSymbol(QStringView name) const {
  const QString key = name.toString().toLower();
  for (size_t i = 0; i < symbols.size(); ++i) {
    if (symbols[i].name == key) return int(i);
  }
  return -1;
}

int CogScript::UseAt(qsizetype offset) const {
  auto it = std::upper_bound(uses.begin(), uses.end(), offset,
                             [](qsizetype o, const CogUse& u) { return o < u.at.offset; });
  if (it == uses.begin()) return -1;
  --it;
  return offset <= it->at.offset + it->at.length ? int(it - uses.begin()) : -1;
}

int CogScript::Count(CogSeverity s) const {
  return int(std::count_if(findings.begin(), findings.end(), [s](const CogFinding& f) { return f.severity == s; }));
}

namespace cogread {

Reader::Reader(QStringView t, CogGame g, CogScript& o) : text(t), game(g), out(o) {
  lineStarts.push_back(0);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c == u'\n' || (c == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))) lineStarts.push_back(i + 1);
  }
}

CogRange Reader::Range(qsizetype offset, qsizetype length) const {
  offset = std::clamp<qsizetype>(offset, 0, text.size());
  length = std::clamp<qsizetype>(length, 0, text.size() - offset);
  size_t line = lastLine_;
  for (int step = 0; step < 8 && line + 1 < lineStarts.size() && lineStarts[line + 1] <= offset; ++step) ++line;
  if (offset < lineStarts[line] || (line + 1 < lineStarts.size() && lineStarts[line + 1] <= offset))
    line = size_t(std::upper_bound(lineStarts.begin(), lineStarts.end(), offset) - lineStarts.begin()) - 1;
  lastLine_ = line;
  return {offset, length, int(line) + 1, int(offset - lineStarts[line]) + 1};
}

void Reader::Add(CogSeverity s, const char* c, const QString& message, qsizetype offset, qsizetype length) {
  CogFinding f;
  f.severity = s;
  f.code = QString::fromLatin1(c);
  f.message = message;
  f.at = Range(offset, length);
  const CogRange end = Range(f.at.offset + f.at.length, 0);
  f.endLine = end.line;
  f.endColumn = end.column;
  out.findings.push_back(f);
  if (s == CogSeverity::Error) out.loads = false;
}

int Reader::Limit(int jk, int mots) const {
  return game == CogGame::JK ? jk : game == CogGame::MotS ? mots : std::min(jk, mots);
}

void Suggester::Offer(const QString& candidate) { candidates_.push_back(candidate); }

QString Suggester::For(const QString& name) {
  const int limit = name.size() <= 3 ? 0 : name.size() <= 6 ? 1 : 2;
  if (limit == 0) return {};
  // The nearest; among equally near ones the one that begins like the name the longest.
  int best = limit + 1;
  qsizetype bestPrefix = -1;
  const QString* found = nullptr;
  for (const QString& c : candidates_) {
    if (budget_ <= 0) break;
    budget_ -= (name.size() + 1) * (c.size() + 1);
    const int d = CogEditDistance(name, c, limit);
    if (d == 0 || d > limit || d > best) continue;
    qsizetype prefix = 0;
    while (prefix < name.size() && prefix < c.size() && name[prefix].toLower() == c[prefix].toLower()) ++prefix;
    if (d < best || prefix > bestPrefix) {
      best = d;
      bestPrefix = prefix;
      found = &c;
    }
  }
  return found ? QStringLiteral(" Did you mean %1?").arg(Quoted(*found)) : QString();
}

}  // namespace cogread

CogScript ParseCogScript(QStringView text, CogGame game) {
  CogScript script;
  cogread::Reader reader(text, game, script);
  reader.ReadHeaderAndSymbols();
  if (script.codeStart >= 0) {
    reader.ReadCode();
    reader.CheckNames();
  }
  std::stable_sort(script.findings.begin(), script.findings.end(),
                   [](const CogFinding& a, const CogFinding& b) { return a.at.offset < b.at.offset; });
  return script;
}

}  // namespace scrivane
