#include "scrivane/core/bramwise.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "common/text.h"

namespace scrivane {

namespace {

const QString kParentTag = QStringLiteral("parent");
const QString kMessageTag = QStringLiteral("message");

bool IsLineBreak(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

// 0-based position of the first CR or LF at or after `from`; the text's length when none.
qsizetype LineEndFrom(const QString& t, qsizetype from) {
  const QChar* d = t.constData();
  for (qsizetype i = from; i < t.size(); ++i)
    if (IsLineBreak(d[i])) return i;
  return t.size();
}

// Length of the line break at 0-based position i: 2 for CR LF, 1 for a lone CR or LF, else 0.
qsizetype LineBreakAt(const QString& t, qsizetype i) {
  if (i >= t.size() || !IsLineBreak(t.at(i))) return 0;
  return t.at(i) == QLatin1Char('\r') && i + 1 < t.size() && t.at(i + 1) == QLatin1Char('\n') ? 2 : 1;
}

// A handler's name from its "message" line's label: the label's name, which the code's
// "name:" label bears, whatever else the label shows of the line ("go local" before a tab).
QString HandlerName(const QString& label) {
  const QString name = NameInLabel(label);
  return name.isEmpty() ? label : name;
}

// The nodes as they are added; a key met a second time (ignoring case) stops the build. The
// key set holds node indices, so no key is copied for it.
class Builder {
 public:
  explicit Builder(BramwiseScan& out) : out_(out), keys_(64, NodeKeyHash{&out.nodes}, NodeKeyEqual{&out.nodes}) {}
  // Index of the new node, or -1 when its key was met before (the build must stop).
  int Add(const QString& key, const QString& text, const QString& tag, int parent, BramwiseKind kind,
          qsizetype at) {
    out_.nodes.push_back({key, text, tag, parent, kind});
    const int i = int(out_.nodes.size()) - 1;
    if (!keys_.insert(i).second) {
      out_.nodes.pop_back();
      out_.duplicateAt = at;
      return -1;
    }
    return i;
  }

 private:
  struct NodeKeyHash {
    const std::vector<BramwiseNode>* nodes;
    size_t operator()(int i) const { return KeyHash()((*nodes)[size_t(i)].key); }
  };
  struct NodeKeyEqual {
    const std::vector<BramwiseNode>* nodes;
    bool operator()(int a, int b) const { return KeyEqual()((*nodes)[size_t(a)].key, (*nodes)[size_t(b)].key); }
  };
  BramwiseScan& out_;
  std::unordered_set<int, NodeKeyHash, NodeKeyEqual> keys_;
};

// 0-based positions of every "//" of the text (overlapping ones too), and of every "return;".
// Both look for one character first, which the string search does many at a time.
std::vector<qsizetype> SlashPairs(const QString& t) {
  std::vector<qsizetype> out;
  for (qsizetype i = t.indexOf(QLatin1Char('/')); i >= 0 && i + 1 < t.size(); i = t.indexOf(QLatin1Char('/'), i + 1))
    if (t.at(i + 1) == QLatin1Char('/')) out.push_back(i);
  return out;
}

std::vector<qsizetype> Returns(const QString& t) {
  std::vector<qsizetype> out;
  const QStringView all(t);
  for (qsizetype i = t.indexOf(QLatin1Char(';'), 6); i >= 0; i = t.indexOf(QLatin1Char(';'), i + 1))
    if (all.mid(i - 6, 6).compare(u"return", Qt::CaseInsensitive) == 0) out.push_back(i - 6);
  return out;
}

// The first place of each label (as FindHandlerLabel finds it), in one pass over the colons of
// the text: every label ends in ":", so each colon is looked up once per distinct label length.
std::vector<qsizetype> FirstLabels(const QString& t, const QStringList& labels) {
  std::vector<qsizetype> first(size_t(labels.size()), -1);
  std::unordered_map<QStringView, int, KeyHash, KeyEqual> byLabel;
  std::vector<qsizetype> lengths;
  for (int i = 0; i < labels.size(); ++i) {
    byLabel.emplace(QStringView(labels[i]), i);
    if (std::find(lengths.begin(), lengths.end(), labels[i].size()) == lengths.end()) lengths.push_back(labels[i].size());
  }
  qsizetype left = labels.size();
  const QStringView all(t);
  for (qsizetype j = t.indexOf(QLatin1Char(':')); j >= 0 && left > 0; j = t.indexOf(QLatin1Char(':'), j + 1)) {
    for (qsizetype len : lengths) {
      const qsizetype start = j - len + 1;
      if (start < 0 || (start > 0 && IsWordChar(t.at(start - 1)))) continue;
      const auto it = byLabel.find(all.mid(start, len));
      if (it != byLabel.end() && first[size_t(it->second)] < 0) {
        first[size_t(it->second)] = start;
        --left;
      }
    }
  }
  return first;
}

// A label as its parts: the name, a default value written against it ("=5"), and the words
// after the blanks that follow (a label shows what stands before a tab: "sec1 local").
// `at` is where the name starts in the label.
struct LabelParts {
  qsizetype at = 0;
  QString name, value, rest;
};

LabelParts SplitLabel(const QString& label) {
  LabelParts p;
  const qsizetype n = label.size();
  qsizetype i = 0;
  while (i < n && label.at(i).isSpace()) ++i;
  p.at = i;
  while (i < n && label.at(i) != QLatin1Char('=') && !label.at(i).isSpace()) ++i;
  p.name = label.mid(p.at, i - p.at);
  const qsizetype v = i;
  if (i < n && label.at(i) == QLatin1Char('='))
    while (i < n && !label.at(i).isSpace()) ++i;
  p.value = label.mid(v, i - v);
  p.rest = label.mid(i).simplified();
  return p;
}

}  // namespace

QString DuplicateLineMessage() {
  return QStringLiteral(
      "You have 2 comment/symbol lines that are exactly the same.  In order for Bramwise to work correctly, you "
      "MUST have each commented/symbol line be unique.  The line that caused the errors has been selected.  Change "
      "it then reselect the cog.");
}

QString GetSymbolName(const QString& line, qsizetype k) {
  const QStringView s = QStringView(line).mid(std::clamp<qsizetype>(k, 0, line.size()));
  qsizetype b = 0, e = s.size();
  while (b < e && s.at(b) == QLatin1Char(' ')) ++b;
  while (e > b && s.at(e - 1) == QLatin1Char(' ')) --e;
  while (b < e && s.at(b) == QLatin1Char('\t')) ++b;
  const QStringView v = s.mid(b, e - b);
  for (QChar cut : {QLatin1Char('\t'), QLatin1Char(' '), QLatin1Char('\r')}) {
    const qsizetype i = v.indexOf(cut);
    if (i >= 0) return v.left(i).toString();
  }
  return v.toString();
}

QString StripDefault(const QString& s) {
  const qsizetype i = s.indexOf(QLatin1Char('='));
  return i < 0 ? s : s.left(i);
}

QString NameInLabel(const QString& label) { return SplitLabel(label).name; }

qsizetype FindHandlerLabel(const QString& text, const QString& label, qsizetype from) {
  if (label.isEmpty()) return -1;
  const tarvex::InStrSearch search(label);
  for (qsizetype p = search.In(text, from + 1); p > 0; p = search.In(text, p + 1)) {
    if (p == 1 || !IsWordChar(text.at(p - 2))) return p - 1;
  }
  return -1;
}

BramwiseScan ScanBramwise(const QString& t, const QString& caption, const QStringList& types) {
  BramwiseScan out;
  const SectionMarks marks = ScanSectionMarks(t);  // 1-based positions of the LFs
  // The section may open on the very first line, as many scripts' do (there is no LF before
  // it: its 0-based start stands for the LF's 1-based position).
  const bool firstLine = QStringView(t).startsWith(u"symbols", Qt::CaseInsensitive);
  const qsizetype lsym = firstLine ? 0 : marks.lsym;
  if ((lsym == 0 && !firstLine) || marks.lsymend == 0 || marks.lsymend < lsym) return out;
  // The declarations are looked for from the character after "symbols" up to four characters
  // after the "end" that closes the section.
  const qsizetype symBegin = lsym + 7;
  const qsizetype symEnd = std::min(t.size(), marks.lsymend + 7);

  Builder b(out);
  const int root = b.Add(QStringLiteral("root"), caption, kParentTag, -1, BramwiseKind::Root, 0);
  const int symbols = b.Add(QStringLiteral("symbols"), QStringLiteral("symbols"), kParentTag, root,
                            BramwiseKind::Section, 0);
  const int code = b.Add(QStringLiteral("code"), QStringLiteral("code"), kParentTag, root, BramwiseKind::Section, 0);

  // One pass over the section's lines: the starts of each type's declarations, in text order.
  std::vector<std::vector<qsizetype>> starts(size_t(types.size()));
  const QStringView all(t);
  for (qsizetype i = t.indexOf(QLatin1Char('\n'), symBegin); i >= 0 && i < symEnd;
       i = t.indexOf(QLatin1Char('\n'), i + 1)) {
    for (int ti = 0; ti < types.size(); ++ti) {
      const QString& n = types[ti];
      if (i + n.size() < symEnd && all.mid(i + 1, n.size()).compare(n, Qt::CaseInsensitive) == 0)
        starts[size_t(ti)].push_back(i + 1);
    }
  }

  QStringList labels;
  std::vector<int> handlerNodes;
  for (int ti = 0; ti < types.size(); ++ti) {
    const QString& n = types[ti];
    const bool isMessage = tarvex::SameText(n, kMessageTag);
    int typeNode = -1;
    for (qsizetype p : starts[size_t(ti)]) {
      const qsizetype end = LineEndFrom(t, p);
      const QString line = t.mid(p, end - p + (end < t.size() && t.at(end) == QLatin1Char('\r') ? 1 : 0));
      if (isMessage) {
        const QString name = HandlerName(GetSymbolName(line, 7));
        const QString label = name + QLatin1Char(':');
        const int h = b.Add(label, name, kMessageTag, code, BramwiseKind::Handler, p);
        if (h < 0) return out;
        labels << label;
        handlerNodes.push_back(h);
      }
      if (typeNode < 0 && (typeNode = b.Add(n, n, kParentTag, symbols, BramwiseKind::Type, p)) < 0) return out;
      if (b.Add(line, GetSymbolName(line, n.size()), QString(), typeNode, BramwiseKind::Symbol, p) < 0) return out;
    }
  }

  // Each handler's comments: the "//" comments from two characters after its first label up
  // to the next "return;" (and as many characters past it as the label is long, plus one).
  // A comment runs to the end of its line; a label without a "return;" after it reaches to the
  // end of the text; a label that does not occur has no comments.
  const std::vector<qsizetype> first = FirstLabels(t, labels);
  const std::vector<qsizetype> rets = Returns(t);
  const std::vector<qsizetype> slashes = SlashPairs(t);
  for (int hi = 0; hi < labels.size(); ++hi) {
    const qsizetype p = first[size_t(hi)];
    if (p < 0) continue;
    const qsizetype len = labels[hi].size();
    const auto r = std::lower_bound(rets.begin(), rets.end(), p + 1);
    const qsizetype bodyEnd = r == rets.end() ? t.size() : std::min(t.size(), *r + len + 2);
    qsizetype from = p + len + 2;
    for (;;) {
      const auto q = std::lower_bound(slashes.begin(), slashes.end(), from);
      if (q == slashes.end() || *q + 1 >= bodyEnd) break;
      const qsizetype c = LineEndFrom(t, *q + 1);
      const QString comment = t.mid(*q, c - *q);
      if (b.Add(comment, comment, QString(), handlerNodes[size_t(hi)], BramwiseKind::Comment, *q) < 0) return out;
      from = c + 1;
    }
  }
  return out;
}

// ---- The add-symbol form ----

QString SymbolDeclarationLine(const QString& type, const QString& name, const QString& value, bool local,
                              const QString& linkId) {
  const QString five(5, QLatin1Char(' ')), fifteen(15, QLatin1Char(' '));
  QString line = type + five + name;
  if (!value.isEmpty()) line += QLatin1Char('=') + value;
  line += fifteen;
  line += local ? QStringLiteral("local") + five : five;
  if (!linkId.isEmpty()) line += QStringLiteral("linkid=") + linkId;
  return line + QStringLiteral("\r\n");
}

qsizetype SymbolInsertPoint(const QString& text) {
  // The section may open on the very first line, as many scripts' do.
  const bool first = QStringView(text).startsWith(u"symbols", Qt::CaseInsensitive);
  const qsizetype s = first ? 0 : FindLineStarting(text, u"symbols");
  if (!first && s == 0) return -1;
  const qsizetype e = FindLineStarting(text, u"end", s + 1);
  return e == 0 ? -1 : e;  // the LF's 1-based position is the line's 0-based start
}

bool InsertSymbolLine(TextModel& m, const QString& line) {
  const qsizetype at = SymbolInsertPoint(m.Text());
  if (at < 0) return false;
  const qsizetype caret = m.SelStart();
  m.SetSelStart(at);
  m.ReplaceSel(line);
  m.SetSelStart(caret < at ? caret : caret + line.size());
  return true;
}

QString NoSymbolsEndMessage() {
  return QStringLiteral(
      "This script has no \"end\" line closing its symbols section, so the symbol has not been added.");
}

// ---- Gestures ----

bool UsedInCode(const QString& text, const QString& word) {
  const qsizetype k = FindLineStarting(text, u"code");
  if (k == 0 || word.isEmpty()) return false;
  const tarvex::InStrSearch search(word);
  for (qsizetype p = search.In(text, k + 1); p > 0; p = search.In(text, p + 1)) {
    const qsizetype i = p - 1, after = i + word.size();
    if ((i == 0 || !IsWordChar(text.at(i - 1))) && (after >= text.size() || !IsWordChar(text.at(after))))
      return true;
  }
  return false;
}

namespace {

// 0-based start of the first line that begins with "message" (any letter case) and declares
// the handler labelled `label`; -1 when none does.
qsizetype MessageDeclaration(const QString& t, const QString& label) {
  const QStringView all(t);
  for (qsizetype p = 0; p >= 0 && p < t.size(); p = t.indexOf(QLatin1Char('\n'), p), p = p < 0 ? -1 : p + 1) {
    if (!all.mid(p, 7).startsWith(u"message", Qt::CaseInsensitive)) continue;
    const qsizetype end = LineEndFrom(t, p);
    if (KeyEqual()(HandlerName(GetSymbolName(t.mid(p, end - p), 7)), label)) return p;
  }
  return -1;
}

// The declaration line that starts at p as the tree keys it: up to and with its CR, or up to
// its LF.
QString DeclarationKey(const QString& t, qsizetype p) {
  const qsizetype end = LineEndFrom(t, p);
  return t.mid(p, end - p + (end < t.size() && t.at(end) == QLatin1Char('\r') ? 1 : 0));
}

// 0-based position of `label` in the declaration line starting at p, after the line's type
// name, standing on its own; -1 when the line does not hold it so.
qsizetype LabelInDeclaration(const QString& t, qsizetype p, const QString& label) {
  const qsizetype end = LineEndFrom(t, p);
  qsizetype i = p;
  while (i < end && IsWordChar(t.at(i))) ++i;  // the type name
  const tarvex::InStrSearch search(label);
  for (qsizetype q = search.In(t, i + 1); q > 0 && q - 1 + label.size() <= end; q = search.In(t, q + 1)) {
    const qsizetype at = q - 1, after = at + label.size();
    if (!IsWordChar(t.at(at - 1)) && (after >= t.size() || !IsWordChar(t.at(after)))) return at;
  }
  return -1;
}

bool IsName(const QString& s) {
  return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return IsWordChar(c); });
}

}  // namespace

NodeRename RenameNode(TextModel& m, FindState& f, const QString& key, BramwiseKind kind, const QString& oldLabel,
                      const QString& newLabel) {
  NodeRename r;
  const QString& t = m.Text();
  if (kind == BramwiseKind::Comment) {
    const qsizetype p = FindNodeKey(t, key, kind);
    if (p < 0) {
      r.refusal = QStringLiteral("The comment \"%1\" is no longer in the script as the tree shows it. Refresh the tree "
                                 "(F5) and try again.").arg(oldLabel);
      return r;
    }
    m.SetSelStart(p);
    m.SetSelLength(key.size());
    m.ReplaceSel(newLabel);
    r.done = true;
    r.newKey = r.newLabel = newLabel;
    return r;
  }
  // The name changes, and a default value when one is typed with it; what else the label shows
  // of its line stays as it is in the text, whether the new label repeats it or not.
  const LabelParts was = SplitLabel(oldLabel), now = SplitLabel(newLabel);
  const QString& oldName = was.name;
  if (oldName.isEmpty()) {
    r.refusal = QStringLiteral("This node has no name in the script to rename.");
    return r;
  }
  const QString typed = newLabel.trimmed();
  const bool lineBreak = typed.contains(QLatin1Char('\n')) || typed.contains(QLatin1Char('\r'));
  if (!IsName(now.name) || lineBreak || (!now.rest.isEmpty() && was.rest.isEmpty())) {
    r.refusal = now.name.isEmpty()
                    ? QStringLiteral("\"%1\" has not been renamed: a symbol needs a name.").arg(oldName)
                    : QStringLiteral("\"%1\" cannot be a symbol's name: use letters, digits and the underscore only.")
                          .arg(typed);
    return r;
  }
  if (!now.rest.isEmpty() && now.rest != was.rest) {
    r.refusal = QStringLiteral("Only the name of \"%1\" and its default value can be changed in the tree: change the "
                               "rest of its line in the script.").arg(oldName);
    return r;
  }
  if (now.name == oldName && (now.value.isEmpty() || now.value == was.value)) {
    r.done = true;  // only blanks changed: nothing to do
    r.newKey = key;
    r.newLabel = oldLabel;
    return r;
  }
  // The declaration: a symbol's own line, or the "message" line that declares a handler.
  const qsizetype line = kind == BramwiseKind::Handler ? MessageDeclaration(t, oldLabel) : FindNodeKey(t, key, kind);
  const qsizetype label = line < 0 ? -1 : LabelInDeclaration(t, line, oldLabel);
  if (label < 0) {
    r.refusal = QStringLiteral("The declaration of \"%1\" is no longer in the script as the tree shows it. Refresh "
                               "the tree (F5) and try again.").arg(oldName);
    return r;
  }
  const bool message = QStringView(t).mid(line, 7).startsWith(u"message", Qt::CaseInsensitive);
  if (message) r.twinOld = kind == BramwiseKind::Handler ? DeclarationKey(t, line) : HandlerName(oldLabel) + QLatin1Char(':');
  // In the declaration: the name, with the default value when a new one was typed.
  const bool newValue = !now.value.isEmpty() && now.value != was.value;
  const qsizetype at = label + was.at;
  const QString inserted = now.name + (newValue ? now.value : QString());
  m.SetSelStart(at);
  m.SetSelLength(oldName.size() + (newValue ? was.value.size() : 0));
  r.newLabel = QString(oldLabel).replace(was.at, m.SelLength(), inserted);
  m.ReplaceSel(inserted);
  // Every later use of the name standing on its own, after the label (a default value such as
  // "+newtail" for the template NewTail is no use).
  f.sW = oldName;
  f.sR = now.name;
  f.ipos = label + r.newLabel.size() + 1;
  Replace(m, f, true, true);
  // A message's two nodes: the declaration, labelled as the scan labels it, and the handler.
  const QString declaration = DeclarationKey(m.Text(), line);
  const QString declared = GetSymbolName(declaration, 7), handler = HandlerName(declared);
  r.newKey = kind == BramwiseKind::Handler ? handler + QLatin1Char(':') : declaration;
  if (message) {
    r.twinNew = kind == BramwiseKind::Handler ? declaration : handler + QLatin1Char(':');
    r.twinLabel = kind == BramwiseKind::Handler ? declared : handler;
  }
  r.done = true;
  return r;
}

qsizetype FindNodeKey(const QString& text, const QString& key, BramwiseKind kind) {
  if (key.isEmpty()) return -1;
  if (kind == BramwiseKind::Handler) return FindHandlerLabel(text, key);
  const tarvex::InStrSearch search(key);
  for (qsizetype p = search.In(text); p > 0; p = search.In(text, p + 1)) {
    // A declaration counts only where it stands, at the start of a line.
    if (kind != BramwiseKind::Symbol || p == 1 || text.at(p - 2) == QLatin1Char('\n')) return p - 1;
  }
  return -1;
}

bool DeleteNodeText(TextModel& m, const QString& key, BramwiseKind kind) {
  if (kind != BramwiseKind::Symbol && kind != BramwiseKind::Handler && kind != BramwiseKind::Comment) return false;
  const QString& t = m.Text();
  const qsizetype p = FindNodeKey(t, key, kind);
  if (p < 0) return false;
  qsizetype n = key.size();
  if (kind == BramwiseKind::Symbol && key.endsWith(QLatin1Char('\r'))) {
    if (p + n < t.size() && t.at(p + n) == QLatin1Char('\n')) ++n;
  } else if (kind != BramwiseKind::Comment) {
    n += LineBreakAt(t, p + n);
  }
  m.SetSelStart(p);
  m.SetSelLength(n);
  m.ReplaceSel(QString());
  return true;
}

}  // namespace scrivane
