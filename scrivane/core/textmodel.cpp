#include "scrivane/core/textmodel.h"

#include <algorithm>

namespace scrivane {

TextModel::TextModel(QString text, qsizetype selStart, qsizetype selLength) : text_(std::move(text)) {
  SetSelStart(selStart);
  SetSelLength(selLength);
}

void TextModel::SetText(QString text) {
  text_ = std::move(text);
  const qsizetype len = length_;
  SetSelStart(start_);
  SetSelLength(len);
}

void TextModel::SetSelStart(qsizetype start) {
  start_ = std::clamp<qsizetype>(start, 0, text_.size());
  length_ = 0;
}

void TextModel::SetSelLength(qsizetype length) { length_ = std::clamp<qsizetype>(length, 0, text_.size() - start_); }

void TextModel::ReplaceSel(const QString& s) {
  text_.replace(start_, length_, s);
  start_ += s.size();
  length_ = 0;
}

}  // namespace scrivane
