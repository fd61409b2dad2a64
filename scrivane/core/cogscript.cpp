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

CogFindingList::Found::Found(std::vector<CogFinding> found) : items(std::move(found)) {
  for (const CogFinding& f : items) {
    ++counts[int(f.severity)];
    longest = std::max(longest, int(f.at.length));
  }
}

void CogFindingList::Append(const std::shared_ptr<const Found>& found, qsizetype shift, int lineShift) {
  if (!found || found->items.empty()) return;
  ends_.push_back(Size() + found->items.size());
  for (int s = 0; s < 3; ++s) counts_[s] += found->counts[s];
  longest_ = std::max(longest_, found->longest);
  runs_.push_back({found, shift, lineShift});
}

size_t CogFindingList::RunsBefore(qsizetype offset) const {
  return size_t(std::partition_point(runs_.begin(), runs_.end(), [offset](const Run& run) {
                  return run.found->items.front().at.offset + run.shift < offset;
                }) - runs_.begin());
}

CogFindingList CogFindingList::Replaced(size_t first, size_t last, const CogFindingList& with, qsizetype shift) const {
  CogFindingList out;
  out.runs_.reserve(runs_.size() - (last - first) + with.runs_.size());
  out.runs_.insert(out.runs_.end(), runs_.begin(), runs_.begin() + qsizetype(first));
  out.runs_.insert(out.runs_.end(), with.runs_.begin(), with.runs_.end());
  const size_t moved = out.runs_.size();
  out.runs_.insert(out.runs_.end(), runs_.begin() + qsizetype(last), runs_.end());
  for (size_t r = moved; r < out.runs_.size(); ++r) out.runs_[r].shift += shift;
  // The ends: those before as they were, those put in after them, those after moved by the
  // difference in findings.
  const size_t before = first > 0 ? ends_[first - 1] : 0, gone = (last > 0 ? ends_[last - 1] : 0) - before;
  out.ends_.reserve(out.runs_.size());
  out.ends_.insert(out.ends_.end(), ends_.begin(), ends_.begin() + qsizetype(first));
  for (size_t e : with.ends_) out.ends_.push_back(before + e);
  for (size_t r = last; r < ends_.size(); ++r) out.ends_.push_back(ends_[r] - gone + with.Size());
  // The counts less those of the runs taken out; the longest found again only when one of those
  // was the longest.
  int longestGone = 0;
  for (int s = 0; s < 3; ++s) out.counts_[s] = counts_[s] + with.counts_[s];
  for (size_t r = first; r < last; ++r) {
    for (int s = 0; s < 3; ++s) out.counts_[s] -= runs_[r].found->counts[s];
    longestGone = std::max(longestGone, runs_[r].found->longest);
  }
  out.longest_ = std::max(longestGone < longest_ ? longest_ : 0, with.longest_);
  if (longestGone >= longest_)
    for (const Run& run : out.runs_) out.longest_ = std::max(out.longest_, run.found->longest);
  return out;
}

size_t CogFindingList::RunOf(size_t i) const { return size_t(std::upper_bound(ends_.begin(), ends_.end(), i) - ends_.begin()); }

CogFinding CogFindingList::At(size_t i) const {
  const size_t r = RunOf(i);
  const Run& run = runs_[r];
  CogFinding f = run.found->items[i - (r > 0 ? ends_[r - 1] : 0)];
  f.at.offset += run.shift;
  f.at.line += run.lineShift;
  f.endLine += run.lineShift;
  return f;
}

size_t CogFindingList::FirstAtOrAfter(qsizetype offset) const {
  // The runs follow one another in the text, as do the findings of each.
  const auto r = std::partition_point(runs_.begin(), runs_.end(), [offset](const Run& run) {
    return run.found->items.back().at.offset + run.shift < offset;
  });
  if (r == runs_.end()) return Size();
  const auto& items = r->found->items;
  const auto f = std::partition_point(items.begin(), items.end(), [&](const CogFinding& x) { return x.at.offset + r->shift < offset; });
  const size_t k = size_t(r - runs_.begin());
  return (k > 0 ? ends_[k - 1] : 0) + size_t(f - items.begin());
}

void CogFindingList::Shared(const CogFindingList& other, size_t* start, size_t* end) const {
  const size_t most = std::min(runs_.size(), other.runs_.size());
  size_t a = 0, b = 0;
  while (a < most && runs_[a].found == other.runs_[a].found && runs_[a].shift == other.runs_[a].shift &&
         runs_[a].lineShift == other.runs_[a].lineShift)
    ++a;
  while (a + b < most && runs_[runs_.size() - 1 - b].found == other.runs_[other.runs_.size() - 1 - b].found) ++b;
  *start = a > 0 ? ends_[a - 1] : 0;
  const size_t tail = runs_.size() - b;  // the first run of the shared end
  *end = Size() - (tail > 0 ? ends_[tail - 1] : 0);
}

std::vector<CogFinding> CogFindingList::All() const {
  std::vector<CogFinding> out;
  out.reserve(Size());
  for (const Run& run : runs_) {
    for (CogFinding f : run.found->items) {
      f.at.offset += run.shift;
      f.at.line += run.lineShift;
      f.endLine += run.lineShift;
      out.push_back(std::move(f));
    }
  }
  return out;
}

namespace cogread {

QString CodeText(const char* code) {
  thread_local QHash<const char*, QString> texts;
  auto it = texts.find(code);
  if (it == texts.end()) it = texts.insert(code, QString::fromLatin1(code));
  return *it;
}

int State::NameId(const QString& lower) {
  const auto it = nameIds.constFind(lower);
  if (it != nameIds.cend()) return *it;
  NameInfo n;
  n.name = lower;
  n.symbol = symbolByName.value(lower, -1);
  const CogVerb* v = FindCogVerb(lower);
  const CogMessage* m = FindCogMessage(lower);
  n.global = (v && KnownIn(v->games, game)) || (m && KnownIn(m->games, game)) || IsCogGlobalVariable(lower);
  n.message = m;
  names.push_back(n);
  nameIds.insert(lower, int(names.size()) - 1);
  return int(names.size()) - 1;
}

Reader::Reader(QStringView t, qsizetype b, int line, bool end, State& s)
    : text(t), base(b), toEnd(end), st(s), game(s.game), out(s.header), sink(&s.header.findings), baseLine(line) {
  lineStarts.push_back(base);
  for (qsizetype i = 0; i < text.size(); ++i)
    if (EndsLine(text, i)) lineStarts.push_back(base + i + 1);
}

CogRange Reader::Range(qsizetype offset, qsizetype length) const {
  offset = std::clamp<qsizetype>(offset, base, base + text.size());
  length = std::clamp<qsizetype>(length, 0, base + text.size() - offset);
  size_t line = lastLine_;
  for (int step = 0; step < 8 && line + 1 < lineStarts.size() && lineStarts[line + 1] <= offset; ++step) ++line;
  if (offset < lineStarts[line] || (line + 1 < lineStarts.size() && lineStarts[line + 1] <= offset))
    line = size_t(std::upper_bound(lineStarts.begin(), lineStarts.end(), offset) - lineStarts.begin()) - 1;
  lastLine_ = line;
  return {offset, length, int(line) + baseLine, int(offset - lineStarts[line]) + 1};
}

qsizetype Reader::LineStartOf(qsizetype offset) const {
  const CogRange r = Range(offset, 0);
  return r.offset - r.column + 1;
}

void Reader::Add(CogSeverity s, const char* c, const QString& message, qsizetype offset, qsizetype length) {
  CogFinding f;
  f.severity = s;
  f.code = CodeText(c);
  f.message = message;
  f.at = Range(offset, length);
  const CogRange end = Range(f.at.offset + f.at.length, 0);
  f.endLine = end.line;
  f.endColumn = end.column;
  sink->push_back(f);
}

int Reader::Limit(int jk, int mots) const {
  return game == CogGame::JK ? jk : game == CogGame::MotS ? mots : std::min(jk, mots);
}

void Suggester::Offer(const QString& candidate) {
  candidates_.push_back(candidate);
  cost_ += candidate.size() + 1;
}

QString Suggester::For(const QString& name) {
  const int limit = name.size() <= 3 ? 0 : name.size() <= 6 ? 1 : 2;
  if (limit == 0 || candidates_.empty()) return {};
  const long long each = name.size() + 1;
  if (memo_ && budget_ > each * (cost_ - (candidates_.back().size() + 1))) {
    const auto it = memo_->constFind(name);
    if (it != memo_->cend()) {
      budget_ -= each * cost_;
      return *it;
    }
  }
  // The nearest; among equally near ones the one that begins like the name the longest.
  int best = limit + 1;
  qsizetype bestPrefix = -1;
  const QString* found = nullptr;
  bool whole = true;
  for (const QString& c : candidates_) {
    if (budget_ <= 0) {
      whole = false;
      break;
    }
    budget_ -= each * (c.size() + 1);
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
  QString result = found ? QStringLiteral(" Did you mean %1?").arg(Quoted(*found)) : QString();
  if (whole && memo_) memo_->insert(name, result);
  return result;
}

QString SyntaxMessage(const QString& why, int braceLine, int line, int codeLine) {
  return QStringLiteral("Syntax error: %1. The game will not load this script: it stops at line %2 of the code "
                        "section (line %3 of the file).")
      .arg(braceLine > 0 ? why.arg(braceLine) : why)
      .arg(line - codeLine + 1)
      .arg(line);
}

}  // namespace cogread

CogReading::CogReading(QStringView text, CogGame game, int chunkChars) : d_(std::make_unique<cogread::State>()) {
  cogread::State& st = *d_;
  st.game = game;
  st.chunkChars = std::max(1, chunkChars);
  st.size = text.size();
  cogread::Reader reader(text, 0, 1, true, st);
  reader.ReadHeaderAndSymbols();
  for (const CogSymbol& sym : st.header.symbols) {
    const CogRange end = reader.Range(sym.at.offset + sym.at.length, 0);
    st.symbolEnds.push_back({end.line, end.column});
  }
  if (st.header.codeStart < 0) return;
  st.codeAt = reader.Range(st.header.codeStart, 0);
  // After a lone CR the next character may make it CR LF; a line cut at the game's limit has a
  // warning about the rest of it.
  st.codeAfterLf = st.header.codeStart > 0 && text[st.header.codeStart - 1] == u'\n';
  cogread::Chunk first;
  first.start = st.header.codeStart;
  first.lineStart = reader.LineStartOf(first.start);
  first.line = st.codeAt.line;
  cogread::ReadCode(reader, first, st.chunks, nullptr);
  st.live = st.chunks.size();
}

CogReading::~CogReading() = default;

CogGame CogReading::Game() const { return d_->game; }

CogScript CogReading::Script(bool withUses, bool withTree) const {
  CogScript s;
  cogread::Assemble(*d_, &s, withUses, withTree);
  return s;
}

std::shared_ptr<const CogFindingList> CogReading::Findings() const { return cogread::Assemble(*d_); }

CogScript ParseCogScript(QStringView text, CogGame game) { return CogReading(text, game).Script(true, true); }

}  // namespace scrivane
