#include <QApplication>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "scrivane/gui/mdlscrivane.h"

int main(int argc, char** argv) {
#ifdef __GLIBC__
  // Blocks of a megabyte and more are mapped of their own, whatever was freed before. By
  // default the allocator raises that limit to the size of each large block freed (up to
  // 32 MB), so that once the file's bytes are given back, the arrays of the document being
  // built come from the heap and are copied to fresh memory each time they double, rather
  // than remapped: opening a large script then touches a tenth more memory.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
  QApplication app(argc, argv);
  return scrivane::RunScrivane(app);
}
