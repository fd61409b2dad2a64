#pragma once
// Hashing and equality of keys ignoring letter case, for sets and maps of keys (the tree's
// keys, the reference's lines, the verbs the colouring knows).
#include <QStringView>
#include <cstddef>

namespace scrivane {

struct KeyHash {
  size_t operator()(QStringView v) const;
};
struct KeyEqual {
  bool operator()(QStringView a, QStringView b) const;
};

}  // namespace scrivane
