#pragma once
// What the fuzz targets share. Each target defines FuzzOne and checks its properties with
// FUZZ_CHECK: a broken property prints where and aborts, which both libFuzzer and the seed
// replay report as a failure with the input that caused it.
#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "common/ansicodec.h"

#define FUZZ_CHECK(cond)                                                              \
  do {                                                                                \
    if (!(cond)) {                                                                    \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                   \
    }                                                                                 \
  } while (0)

void FuzzOne(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzOne(data, size);
  return 0;
}

// The input as bytes, and as a text read in the ANSI code page.
inline QByteArray FuzzBytes(const uint8_t* data, size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}
inline QString FuzzText(const uint8_t* data, size_t size) { return tarvex::DecodeAnsi(FuzzBytes(data, size)); }

// A scratch folder for targets that must go through files. It lies in memory (/dev/shm) where
// there is such a folder, so that the synced writes of a save cost no disk time.
inline const QTemporaryDir& FuzzFolder() {
  static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                     ? QStringLiteral("/dev/shm/tarvex-fuzz-XXXXXX")
                                     : QDir::tempPath() + QStringLiteral("/tarvex-fuzz-XXXXXX"));
  return dir;
}
