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

[[noreturn]] inline void FuzzFailed(const char* file, int line, const char* cond) {
  std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, cond);
  std::abort();
}
#define FUZZ_CHECK(cond) ((cond) ? void() : FuzzFailed(__FILE__, __LINE__, #cond))

void FuzzOne(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzOne(data, size);
  return 0;
}

// The input as bytes, and as a text read in the ANSI code page.
inline QByteArray FuzzBytes(const uint8_t* d, size_t n) { return QByteArray(reinterpret_cast<const char*>(d), qsizetype(n)); }
inline QString FuzzText(const uint8_t* d, size_t n) { return tarvex::DecodeAnsi(FuzzBytes(d, n)); }

// A scratch folder for targets that must go through files. It lies in memory (/dev/shm) where
// there is such a folder, so that the synced writes of a save cost no disk time.
inline const QTemporaryDir& FuzzFolder() {
  static const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
  static const QTemporaryDir dir(base + QStringLiteral("/tarvex-fuzz-XXXXXX"));
  return dir;
}
