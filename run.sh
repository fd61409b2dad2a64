#!/usr/bin/env bash
# Installs what is missing, builds, and starts a program of the tool set:
#   ./run.sh [args]               Scrivane, the COG script editor
#   ./run.sh lirrel [args]        Lirrel, the jkstrings.uni editor
#   ./run.sh orvane [path]        Orvane, the models.dat editor
#   ./run.sh tarvex-setup [args]  the installer
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEX_BENCH=OFF >/dev/null
program=Scrivane
case "${1:-}" in
  lirrel) program=Lirrel; shift ;;
  orvane) program=Orvane; shift ;;
  tarvex-setup) program=tarvex-setup; shift ;;
  scrivane) shift ;;
esac
cmake --build build/release -j "$(nproc)"
exec "build/release/bin/$program" "$@"
