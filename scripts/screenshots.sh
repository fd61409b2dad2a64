#!/usr/bin/env bash
# Takes the screenshots the AppStream data shows (screenshots/<program>.png) from the real
# windows: each program runs on a virtual screen (Xvfb) under a window manager (openbox) with
# a small file of our own, and its main window is captured once it has drawn.
#   scripts/screenshots.sh [build folder, build/release by default]
# Needs xvfb, openbox, xdotool and imagemagick (for import).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
out=$(pwd)/screenshots
display=:${SCREENSHOT_DISPLAY:-16}
work=$(mktemp -d /tmp/tarvex-shots.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# The files shown: a short door script, a message table and a model table.
mkdir -p "$work/game" "$work/config"
printf '%s\r\n' '# Opens the door when the switch is used.' 'symbols' 'message startup' 'message activated' \
  'surface switch linkid=1' 'thing door' 'flex delay=2.0' 'end' 'code' 'startup:' '  SetWallCel(switch, 0);' \
  '  return;' 'activated:' '  if (GetSenderID() != 1) return;' '  MoveToFrame(door, 1, 8.0);' '  Sleep(delay);' \
  '  MoveToFrame(door, 0, 8.0);' '  return;' 'end' > "$work/game/door.cog"
printf '%s\r\n' 'MSGS 5' '"GAME_SAVE" 0 "Game saved."' '"GAME_LOAD" 0 "Game loaded."' '"DOOR_LOCKED" 0 "The door is locked."' \
  '"SWITCH_ON" 0 "The switch is on."' '"SWITCH_OFF" 0 "The switch is off."' 'END' > "$work/game/jkstrings.uni"
printf '%s\n' 'numModels: 4' '0: ky.3do ky.snd' '1: kk.3do kk.snd # the dark one' '2: bo.3do bo.snd' \
  '3: sy.3do sy.snd' > "$work/game/models.dat"

mkdir -p "$out"
shoot() {  # <program file> <window class> <output name> [argument]
  local program=$1 class=$2 name=$3
  shift 3
  DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config TARVEX_CONFIG_DIR=$work/config \
    "$build/bin/$program" "$@" >/dev/null 2>&1 &
  local pid=$!
  pids+=("$pid")
  local window
  window=$(DISPLAY=$display timeout 30 xdotool search --sync --onlyvisible --class "$class" | head -n 1)
  DISPLAY=$display xdotool windowsize "$window" 900 600 windowmove "$window" 20 20
  sleep 2
  DISPLAY=$display import -window "$window" "$out/$name.png"
  kill "$pid"
  echo "$out/$name.png"
}
shoot Scrivane Scrivane scrivane "$work/game/door.cog"
shoot Lirrel Lirrel lirrel "$work/game/jkstrings.uni"
shoot Orvane Orvane orvane "$work/game/models.dat"
