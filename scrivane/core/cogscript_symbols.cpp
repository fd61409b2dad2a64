// The header and the symbols section, read as the game's configuration-line reader reads them.
#include <QStringList>

#include "scrivane/core/cogscript_p.h"

namespace scrivane::cogread {
namespace {

// One word of a line, split at its first "=" into key and value; offsets into the text.
struct Word {
  QString key, value;  // lower case
  bool hasValue = false;
  qsizetype offset = 0, length = 0;  // the whole word
  qsizetype keyLength = 0;
};

class LineReader {
 public:
  LineReader(Reader& r) : r_(r), text_(r.text), limit_(r.Limit(1023, 2047)) {}

  // The next line that gives a word, split into words; false at the end of the text.
  bool Next(std::vector<Word>& words) {
    while (pos_ < text_.size()) {
      words.clear();
      chars_.clear();
      offsets_.clear();
      lineStart_ = pos_;
      ReadJoined();
      Split(words);
      if (!words.empty()) return true;
    }
    return false;
  }
  qsizetype LineStart() const { return lineStart_; }
  qsizetype Pos() const { return pos_; }

 private:
  // Appends physical lines to the current line while they end in a backslash, skipping
  // comment lines and cutting comments, at most `limit_` characters in all.
  void ReadJoined() {
    bool first = true;
    while (pos_ < text_.size()) {
      qsizetype end = pos_;
      while (end < text_.size() && text_[end] != u'\n' && text_[end] != u'\r') ++end;
      qsizetype next = end;
      if (next < text_.size()) next += (text_[next] == u'\r' && next + 1 < text_.size() && text_[next + 1] == u'\n') ? 2 : 1;
      const qsizetype room = limit_ - qsizetype(chars_.size());
      if (end - pos_ > room) {
        // The game reads no more into one line; the rest comes as a line of its own.
        if (RestSaysSomething(pos_ + room, end))
          r_.Add(CogSeverity::Warning, code::kLimit,
               QStringLiteral("This line is longer than the %1 characters the game reads into one line; it reads the "
                              "rest as a line of its own.").arg(limit_),
               pos_ + room, end - pos_ - room);
        end = pos_ + room;
        next = end;
      }
      const qsizetype start = pos_;
      pos_ = next;
      if (first && (end == start || text_[start] == u'#' || text_[start] == u';')) return;
      first = false;
      qsizetype cut = start;
      while (cut < end && text_[cut] != u'#') ++cut;
      for (qsizetype i = start; i < cut; ++i) {
        chars_.push_back(text_[i].toLower());
        offsets_.push_back(i);
      }
      if (cut != end || end == start || text_[end - 1] != u'\\' || next == end) return;
      chars_.pop_back();  // the joining backslash
      offsets_.pop_back();
    }
  }

  // True when the part of a line past the limit gives a word when read as a line of its own.
  bool RestSaysSomething(qsizetype from, qsizetype end) const {
    if (text_[from] == u'#' || text_[from] == u';') return false;
    for (qsizetype i = from; i < end && text_[i] != u'#'; ++i) {
      if (text_[i] != u' ' && text_[i] != u'\t' && text_[i] != u',') return true;
    }
    return false;
  }

  void Split(std::vector<Word>& words) const {
    const qsizetype n = qsizetype(chars_.size());
    for (qsizetype i = 0; i < n;) {
      const QChar c = chars_[size_t(i)];
      if (c == u' ' || c == u'\t' || c == u',') {
        ++i;
        continue;
      }
      qsizetype j = i;
      while (j < n && chars_[size_t(j)] != u' ' && chars_[size_t(j)] != u'\t' && chars_[size_t(j)] != u',') ++j;
      Word w;
      const QString word(chars_.data() + i, j - i);
      const qsizetype eq = word.indexOf(u'=');
      w.key = eq < 0 ? word : word.left(eq);
      w.hasValue = eq >= 0;
      if (eq >= 0) w.value = word.mid(eq + 1);
      w.offset = offsets_[size_t(i)];
      w.length = offsets_[size_t(j - 1)] - w.offset + 1;
      w.keyLength = eq < 0 ? w.length : (eq == 0 ? 0 : offsets_[size_t(i + eq - 1)] - w.offset + 1);
      words.push_back(w);
      i = j;
    }
  }

  Reader& r_;
  QStringView text_;
  const qsizetype limit_;
  qsizetype pos_ = 0, lineStart_ = 0;
  std::vector<QChar> chars_;
  std::vector<qsizetype> offsets_;
};

bool IsReferenceType(CogSymbolType t) { return int(t) <= int(CogSymbolType::Ai); }

}  // namespace

void Reader::ReadHeaderAndSymbols() {
  LineReader lines(*this);
  std::vector<Word> w;
  bool have = lines.Next(w);
  if (have && w[0].key == u"flags") have = lines.Next(w);
  if (!have || w[0].key != u"symbols") {
    const qsizetype at = have ? w[0].offset : text.size();
    Add(CogSeverity::Error, code::kNoSymbols,
        have ? QStringLiteral("The script must begin with a 'symbols' line (after an optional 'flags=' line); the game "
                              "will not load it.")
             : QStringLiteral("There is no 'symbols' line; the game will not load this script."),
        at, have ? w[0].length : 0);
    return;
  }
  out.symbolsLine = Range(w[0].offset, 0).line;

  Suggester types;
  for (const char* t : {"thing", "surface", "sector", "sound", "template", "model", "keyframe", "cog", "material",
                        "ai", "message", "flex", "float", "int", "vector"})
    types.Offer(QString::fromLatin1(t));
  Suggester messageNames;
  for (const CogMessage& m : CogMessages()) messageNames.Offer(m.name.toLower());

  const int maxLinks = Limit(128, 128), maxMessages = Limit(32, 32);
  while ((have = lines.Next(w)) && w[0].key != u"end") {
    CogSymbolType type;
    if (!CogSymbolTypeFromWord(w[0].key, &type)) {
      const QString what = w.size() > 1 ? QStringLiteral(" (%1 does not exist)").arg(Quoted(w[1].key)) : QString();
      Add(CogSeverity::Warning, code::kUnknownType,
          QStringLiteral("%1 is not a type the game knows: it ignores this line, so it declares nothing%2.%3")
              .arg(Quoted(w[0].key), what, types.For(w[0].key)),
          w[0].offset, w[0].length);
      continue;
    }
    const bool valueType = type == CogSymbolType::Flex || type == CogSymbolType::Int || type == CogSymbolType::Vector;
    if (w.size() < 2) {
      if (valueType)
        Add(CogSeverity::Error, code::kBareValueType,
            QStringLiteral("This %1 line needs a name: with the type word alone the game takes a word of an earlier "
                           "line, and what it does then is undefined.").arg(Quoted(w[0].key)),
            w[0].offset, w[0].length);
      else if (type == CogSymbolType::Message)
        Add(CogSeverity::Warning, code::kUnknownMessage,
            QStringLiteral("This 'message' line names no message; the game ignores it."), w[0].offset, w[0].length);
      else
        Add(CogSeverity::Warning, code::kNothingDeclared,
            QStringLiteral("This %1 line has no name; the game ignores it.").arg(Quoted(w[0].key)), w[0].offset,
            w[0].length);
      continue;
    }
    const Word& name = w[1];
    const qsizetype nameLength = name.keyLength;
    if (type == CogSymbolType::Message) {
      const CogMessage* m = FindCogMessage(name.key);
      if (!m) {
        Add(CogSeverity::Warning, code::kUnknownMessage,
            QStringLiteral("%1 is not a message of the game: it drops this line, and a handler for it never runs.%2")
                .arg(Quoted(name.key), messageNames.For(name.key)),
            name.offset, nameLength);
        continue;
      }
      if (!KnownIn(m->games, game))
        Add(CogSeverity::Warning, code::kOtherGame,
            QStringLiteral("The message %1 exists only in %2; %3 drops this line.")
                .arg(Quoted(m->name), m->games == int(CogGame::MotS) ? QStringLiteral("MotS") : QStringLiteral("JK"),
                     CogGameTitle(game)),
            name.offset, nameLength);
      if (++messages == maxMessages + 1)
        Add(CogSeverity::Warning, code::kLimit,
            QStringLiteral("A script handles at most %1 messages; the game ignores this one and any after it.")
                .arg(maxMessages),
            name.offset, nameLength);
    }
    CogSymbol s;
    s.name = name.key;
    s.type = type;
    s.at = Range(name.offset, nameLength);
    s.value = name.value;
    for (size_t i = 2; i < w.size(); ++i) {
      if (w[i].key == u"local") s.local = true;
      else if (w[i].key == u"nolink") s.nolink = true;
      else if (w[i].key == u"desc") s.desc = w[i].value;
    }
    if (IsReferenceType(type) || (valueType && !s.local)) {
      if (++linkEntries == maxLinks + 1)
        Add(CogSeverity::Warning, code::kLimit,
            QStringLiteral("A script has at most %1 link entries (every thing, surface, sector, sound, template, "
                           "model, keyframe, cog, material and ai symbol, and every flex, int and vector symbol that "
                           "is not local); the game drops this one and any after it.").arg(maxLinks),
            name.offset, nameLength);
    }
    if (!st.symbolByName.contains(s.name)) st.symbolByName.insert(s.name, int(out.symbols.size()));
    out.symbols.push_back(s);
  }
  if (!have) {
    Add(CogSeverity::Error, code::kNoCode,
        QStringLiteral("The symbols section has no 'end' line, so the game finds no 'code' line and will not load "
                       "this script."),
        text.size(), 0);
    return;
  }
  const qsizetype endWord = w[0].offset;
  if (!lines.Next(w) || w[0].key != u"code") {
    const bool found = !w.empty() && lines.Pos() > endWord && w[0].offset > endWord;
    Add(CogSeverity::Error, code::kNoCode,
        QStringLiteral("A 'code' line must follow the 'end' of the symbols section; the game will not load this script."),
        found ? w[0].offset : text.size(), found ? w[0].length : 0);
    return;
  }
  out.codeLine = Range(w[0].offset, 0).line;
  out.codeStart = lines.Pos();
}

}  // namespace scrivane::cogread
