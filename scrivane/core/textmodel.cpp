#include "scrivane/core/textmodel.h"

#include <algorithm>

namespace scrivane {

TextModel::TextModel(QString text, qsizetype selStart, qsizetype selLength) : text_(std::move(text)), base_(text_) {
  SetSelStart(selStart);
  SetSelLength(selLength);
}

void TextModel::KeepSelection(qsizetype start, qsizetype length) {
  SetSelStart(start);
  SetSelLength(length);
}

void TextModel::SetText(QString text) {
  const QString& old = text_;
  const qsizetype oldLen = old.size(), newLen = text.size();
  const qsizetype most = std::min(oldLen, newLen);
  const char16_t* o = reinterpret_cast<const char16_t*>(old.constData());
  const char16_t* w = reinterpret_cast<const char16_t*>(text.constData());
  qsizetype p = std::mismatch(o, o + most, w).first - o;
  qsizetype s = 0;
  while (s < most - p && o[oldLen - 1 - s] == w[newLen - 1 - s]) ++s;
  // Never cut a CR LF pair: the changed range starts before a pair and ends after one.
  if (p > 0 && old[p - 1] == QLatin1Char('\r')) --p;
  if (s > 0 && old[oldLen - s] == QLatin1Char('\n')) --s;
  std::vector<TextChange> changes;
  if (p < oldLen - s || p < newLen - s) changes.push_back({p, oldLen - s - p, text.mid(p, newLen - s - p)});
  SetText(std::move(text), std::move(changes));
}

void TextModel::SetText(QString text, std::vector<TextChange> changes) {
  text_ = std::move(text);
  if (changes_.empty()) {
    changes_ = std::move(changes);
  } else {
    changes_.insert(changes_.end(), std::make_move_iterator(changes.begin()), std::make_move_iterator(changes.end()));
  }
  KeepSelection(start_, length_);
}

void TextModel::SetSelStart(qsizetype start) {
  start_ = std::clamp<qsizetype>(start, 0, text_.size());
  length_ = 0;
}

void TextModel::SetSelLength(qsizetype length) { length_ = std::clamp<qsizetype>(length, 0, text_.size() - start_); }

void TextModel::ReplaceSel(const QString& s) {
  if (length_ > 0 || !s.isEmpty()) changes_.push_back({start_, length_, s});
  text_.replace(start_, length_, s);
  start_ += s.size();
  length_ = 0;
}

}  // namespace scrivane
