#include "scrivane/core/textops.h"

#include <QStringView>

#include "common/text.h"

namespace scrivane {

namespace {

// True when a match of the word could begin inside r after r's first character: for some
// later start in r, that part of r followed by the rest of the word is a match. The test is
// made with the same search as every other, so it never rules out a match the search finds.
bool CanMatchInside(const QString& r, const QString& w, const tarvex::InStrSearch& search) {
  for (qsizetype k = 1; k < r.size(); ++k) {
    const qsizetype n = qMin(r.size() - k, w.size());
    if (search.In(r.mid(k, n) + w.mid(n)) == 1) return true;
  }
  return false;
}

// The text of a replace run while it is being built, in three pieces: `out`, which no later
// step of the run can change any more (everything before the search position); the pending
// text after the search position that an earlier step inserted; and the untouched rest of the
// original text from `tp` on. Searches always start at the end of `out`, so the run reads and
// copies each character of the original text once. Every search is the one Find makes
// (`search`), so that Replace matches exactly what Find would find in the text as it stands.
class RunText {
 public:
  RunText(const QString& orig, const QString& w, const tarvex::InStrSearch& search, const QString& r)
      : orig_(orig), search_(search), wl_(w.size()), r_(r), matchInside_(CanMatchInside(r, w, search)) {
    out_.reserve(orig.size() + orig.size() / 8);
  }

  qsizetype OutSize() const { return out_.size(); }
  qsizetype Size() const { return out_.size() + pend_.size() + (orig_.size() - tp_); }

  // Character at the 0-based position i of the whole text; i must lie at or after the end of `out`.
  QChar At(qsizetype i) const {
    i -= out_.size();
    return i < pend_.size() ? pend_.at(i) : orig_.at(tp_ + i - pend_.size());
  }
  QChar LastOut() const { return out_.back(); }

  // Makes the next n characters final.
  void MoveToOut(qsizetype n) {
    const qsizetype fromPend = qMin(n, pend_.size());
    if (fromPend > 0) {
      out_.append(pend_.left(fromPend));
      pend_ = pend_.mid(fromPend);
    }
    n -= fromPend;
    if (n > 0) {
      out_.append(QStringView(orig_).mid(tp_, n));
      tp_ += n;
    }
  }

  // Drops the next n characters (the match) and puts the replacement in their place.
  void ReplaceNext(qsizetype n) {
    changes_.push_back({out_.size(), n, r_});
    const qsizetype fromPend = qMin(n, pend_.size());
    pend_ = pend_.mid(fromPend);
    tp_ += n - fromPend;
    if (pend_.isEmpty()) {
      pend_ = r_;
      pendIsReplacement_ = true;
    } else {
      QString joined = r_ + pend_.toString();
      owned_ = std::move(joined);
      pend_ = owned_;
      pendIsReplacement_ = false;
    }
  }

  // 0-based position of the first match at or after the end of `out`, or -1.
  qsizetype FindNext() {
    if (pendIsReplacement_ && !matchInside_) {
      // No match can begin in what is left of the replacement: it is final as it stands.
      MoveToOut(pend_.size());
    } else if (!pend_.isEmpty()) {
      // A match beginning in the pending text lies within it and the next wl - 1 characters.
      window_.resize(0);
      window_.append(pend_);
      window_.append(QStringView(orig_).mid(tp_, qBound<qsizetype>(0, wl_ - 1, orig_.size() - tp_)));
      const qsizetype k = search_.In(window_);
      if (k > 0 && k <= pend_.size()) return out_.size() + k - 1;
    }
    const qsizetype j = search_.In(orig_, tp_ + 1);
    return j == 0 ? -1 : out_.size() + pend_.size() + (j - 1 - tp_);
  }

  QString Finish() {
    out_.append(pend_);
    out_.append(QStringView(orig_).mid(tp_));
    return std::move(out_);
  }
  // Each replacement made, in order, where the text stood at the time.
  std::vector<TextChange> TakeChanges() { return std::move(changes_); }

 private:
  const QString& orig_;
  const tarvex::InStrSearch& search_;
  const qsizetype wl_;
  const QString& r_;
  const bool matchInside_;  // a match can begin inside the replacement after its first character
  QString out_;
  QStringView pend_;  // views r_ or owned_
  bool pendIsReplacement_ = false;  // pend_ is the tail of one replacement and nothing else
  QString owned_;
  QString window_;    // the pending text and what follows it, for the search
  qsizetype tp_ = 0;
  std::vector<TextChange> changes_;
};

}  // namespace

bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

QString NotFoundText(const QString& word) {
  return QLatin1Char('"') + word + QLatin1Char('"') + QStringLiteral(" not found.");
}

qsizetype BraceScan::Feed(QStringView piece) {
  const QChar opening = QLatin1Char(forward_ ? '{' : '}'), closing = QLatin1Char(forward_ ? '}' : '{');
  const QChar* d = piece.data();
  const qsizetype n = piece.size();
  for (qsizetype k = 0; k < n; ++k) {
    const qsizetype i = forward_ ? k : n - 1 - k;
    if (d[i] == opening) {
      ++depth_;
    } else if (d[i] == closing) {
      if (--depth_ == 0) return i;
    }
  }
  return -1;
}

qsizetype MatchingBrace(const QString& text, qsizetype lpos) {
  if (lpos < 1 || lpos > text.size()) return 0;
  const qsizetype i = BraceScan(true).Feed(QStringView(text).mid(lpos));
  return i < 0 ? 0 : lpos + i + 1;
}

qsizetype MatchingOpenBrace(const QString& text, qsizetype lpos) {
  if (lpos < 1 || lpos > text.size()) return 0;
  const qsizetype i = BraceScan(false).Feed(QStringView(text).left(lpos - 1));
  return i < 0 ? 0 : i + 1;
}

TextOpResult MatchBrace(TextModel& m) {
  const qsizetype s = m.SelStart();
  m.SetSelLength(1);
  if (m.SelText() != QLatin1String("{")) return {};
  const qsizetype c = MatchingBrace(m.Text(), s + 1);
  if (c != 0) {
    m.SetSelStart(s);
    m.SetSelLength(c - s);
  } else {
    m.SetSelLength(0);
  }
  return {};
}

TextOpResult FindWord(TextModel& m, FindState& f) {
  TextOpResult r;
  if (f.ipos >= 1) f.ipos = tarvex::InStr(m.Text(), f.sW, f.ipos);
  if (f.ipos < 1) {
    r.showNotFound = true;
    r.message = NotFoundText(f.sW);
    r.disableFindNext = true;
    return r;
  }
  m.SetSelStart(f.ipos - 1);
  m.SetSelLength(f.sW.size());
  f.ipos += 1;
  return r;
}

TextOpResult Replace(TextModel& m, FindState& f, bool bAll, bool bCheckEdges) {
  TextOpResult r;
  const QString& w = f.sW;
  const qsizetype wl = w.size();
  // A replacement that holds the search word after its first character would be found again
  // inside itself, over and over; the search then goes on after the inserted text instead.
  const tarvex::InStrSearch search(w);
  const bool skipInserted = search.In(f.sR, 2) > 0;

  RunText run(m.Text(), w, search, f.sR);
  bool replaced = false;
  bool handled = false;
  qsizetype selStart = 0;
  qsizetype selLength = 0;

  while (f.ipos >= 1) {
    const qsizetype from = f.ipos - 1;
    qsizetype ms = -1;
    if (from < run.Size()) {
      run.MoveToOut(from - run.OutSize());
      ms = run.FindNext();
    }
    if (ms < 0) {
      f.ipos = 0;
      break;
    }
    run.MoveToOut(ms - run.OutSize());
    // Neighbours of the match; the start and the end of the text count as edges.
    const bool hasLeft = ms > 0;
    const bool hasRight = ms + wl < run.Size();
    bool doReplace = true;
    if (bCheckEdges) {
      doReplace = (!hasLeft || !IsWordChar(run.LastOut())) && (!hasRight || !IsWordChar(run.At(ms + wl)));
    }
    const qsizetype e = bCheckEdges ? 1 : 0;
    const qsizetype left = hasLeft ? e : 0;
    const qsizetype right = hasRight ? e : 0;
    if (doReplace) {
      run.ReplaceNext(wl);
      replaced = true;
      ++r.replaced;
      selStart = ms + f.sR.size() + right;  // the caret after the inserted text
      selLength = 0;
      f.ipos = skipInserted ? ms + f.sR.size() + 1 : ms + 2;
    } else {
      selStart = ms - left;  // the match and its neighbours stay selected
      selLength = wl + left + right;
      f.ipos = ms + 2;
    }
    handled = true;
    if (!bAll) break;
  }

  if (replaced) {
    r.textChanged = true;
    QString text = run.Finish();
    m.SetText(std::move(text), run.TakeChanges());
  }
  if (handled) {
    m.SetSelStart(selStart);
    m.SetSelLength(selLength);
  }
  return r;
}

qsizetype FindLineStarting(const QString& text, QStringView keyword, qsizetype from) {
  if (from < 1) from = 1;
  const QStringView all(text);
  for (qsizetype i = text.indexOf(QLatin1Char('\n'), from - 1); i >= 0; i = text.indexOf(QLatin1Char('\n'), i + 1)) {
    if (all.mid(i + 1).startsWith(keyword, Qt::CaseInsensitive)) return i + 1;
  }
  return 0;
}

SectionMarks ScanSectionMarks(const QString& text) {
  SectionMarks s;
  const QStringView all(text);
  for (qsizetype i = text.indexOf(QLatin1Char('\n')); i >= 0; i = text.indexOf(QLatin1Char('\n'), i + 1)) {
    const QStringView line = all.mid(i + 1);
    if (s.lsym == 0 && line.startsWith(u"symbols", Qt::CaseInsensitive)) s.lsym = i + 1;
    if (s.lsymend == 0 && line.startsWith(u"end", Qt::CaseInsensitive)) s.lsymend = i + 1;
    if (s.lsym != 0 && s.lsymend != 0) break;
  }
  return s;
}

}  // namespace scrivane
