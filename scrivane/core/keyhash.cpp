#include "scrivane/core/keyhash.h"

#include "common/text.h"

namespace scrivane {

size_t KeyHash::operator()(QStringView v) const {
  size_t h = 0;
  for (QChar c : v) {
    char16_t u = c.unicode();
    if (u < 128) {
      u = tarvex::AsciiLower(u);
    } else if (c.isSurrogate()) {
      continue;  // a letter beyond the basic plane folds as a pair, which KeyEqual compares
    } else {
      u = c.toCaseFolded().unicode();
    }
    h = h * 31 + u;
  }
  return h;
}

bool KeyEqual::operator()(QStringView a, QStringView b) const {
  return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace scrivane
