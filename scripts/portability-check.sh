#!/usr/bin/env bash
# Compiles every source of the programs as a Windows build would see it, without building:
# the MinGW compiler for 64-bit Windows, with its own Windows headers (<windows.h> and the
# macros it defines, such as CopyFile for CopyFileW) and _WIN32 defined, against the Linux Qt
# headers (Debian has no Qt for MinGW), syntax only.
#   scripts/portability-check.sh
# The tests are checked too: those that need POSIX (file modes and owners, login names) are
# guarded, so the suite builds on Windows. It catches a Windows header or macro breaking code
# written on Linux, a POSIX header or call left outside its guard, and code that compiles on
# one platform's branch only. It does not link, does not see Qt's Windows-only headers or its
# Windows configuration, and does not run anything.
set -euo pipefail
cd "$(dirname "$0")/.."
cxx=${MINGW_CXX:-x86_64-w64-mingw32-g++-posix}
command -v "$cxx" >/dev/null || cxx=x86_64-w64-mingw32-g++
qt=$(qmake6 -query QT_INSTALL_HEADERS 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)
# Qt's export macros mean dllimport there, which the Linux headers' friend declarations repeat
# without: a warning about Qt's headers, not ours.
flags=(-std=c++17 -fsyntax-only -Wno-attributes -D_WIN32 -DUNICODE -D_UNICODE -DTARVEX_VERSION='"0"'
       -DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_NETWORK_LIB -DQT_PRINTSUPPORT_LIB
       -I. -I"$qt")
for module in QtCore QtGui QtWidgets QtNetwork QtPrintSupport QtTest; do flags+=(-I"$qt/$module"); done
# GoogleTest's headers, without the rest of /usr/include, which is Linux's and not MinGW's.
headers=$(mktemp -d /tmp/tarvex-portability.XXXXXX)
trap 'rm -rf "$headers"' EXIT
ln -s /usr/include/gtest /usr/include/gmock "$headers/"
flags+=(-I"$headers" -DTARVEX_SOURCE_DIR='"."' -DTARVEX_SHARED_DIR='"."' -DTARVEX_BIN_DIR='"."' -DTARVEX_INSTALL_MODULEDIR='"."' -DQT_TESTLIB_LIB
        -include tests/support/qt_print.h)
# Fuzz targets and benchmarks are Linux-only tools.
mapfile -t sources < <(find common scrivane lirrel orvane tests -name '*.cpp' | sort)
echo "== portability: ${#sources[@]} sources with $cxx"
if ! printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -I{} sh -c '"$0" "$@" {} || { echo "FAILED: {}"; exit 1; }' "$cxx" "${flags[@]}"; then
  echo "portability check failed"
  exit 1
fi
echo "portability check passed"
