#pragma once
// The header viewer: the header lines of the file last read, one per line.
#include "common/ui/headerviewer.h"

namespace lirrel {

class lirHeader : public tarvex::HeaderViewer {
  Q_OBJECT
 public:
  explicit lirHeader(QWidget* owner = nullptr)
      : tarvex::HeaderViewer(owner, QStringLiteral("lir"), QStringLiteral("JKSTRINGS.UNI Header Viewer")) {}

  QPlainTextEdit*& lirHeaderView = HeaderView;
};

}  // namespace lirrel
