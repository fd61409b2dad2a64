// The installer's file list: any file reads as one entry per line, in order, each without
// its line end (CR LF, LF or CR alone), none failed; the last line needs no line end.
#include "common/files.h"
#include "fuzz/fuzz_check.h"
#include "scrivane/setup/core/installer.h"

void FuzzOne(const uint8_t* data, size_t size) {
  const QByteArray bytes = FuzzBytes(data, size);
  const QString path = FuzzFolder().filePath(QLatin1String(pendrel::kFileList));
  FUZZ_CHECK(tarvex::WriteWholeFile(path, bytes));
  std::vector<pendrel::ListLine> lines;
  QString error;
  FUZZ_CHECK(pendrel::SystemFileOps().ReadFileList(path, &lines, &error));

  // CR LF, LF and CR alone each end a line.
  QList<QByteArray> want = QByteArray(bytes).replace("\r\n", "\n").replace('\r', '\n').split('\n');
  if (want.back().isEmpty()) want.removeLast();  // a line end closes its line
  FUZZ_CHECK(lines.size() == size_t(want.size()));
  for (qsizetype i = 0; i < want.size(); ++i)
    FUZZ_CHECK(!lines[size_t(i)].failed && lines[size_t(i)].name == QString::fromLocal8Bit(want[i]));
}
