#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the benchmarks, the fuzz targets (clang with
# its sanitizer and libFuzzer runtimes), the coverage report (gcovr), the package and its check
# (dpkg-dev, lintian, appstream, gio), the Windows portability check (the MinGW compiler) and the
# screen reader's view of the windows (an X server, a D-Bus session, the accessibility bus and its
# Python client) need, when missing.
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
          desktop-file-utils shared-mime-info xdg-utils fonts-dejavu-core
          clang libclang-rt-14-dev gcovr
          dpkg-dev lintian appstream libglib2.0-bin g++-mingw-w64-x86-64-posix
          xvfb dbus-daemon at-spi2-core python3-pyatspi)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
