#!/usr/bin/env python3
"""Typing in the middle of a large COG script: Scrivane against Geany, both whole processes
measured from outside in the same way.

Each program opens the script (made as open_vs_geany.py makes it; Geany opens the same bytes as
a .c file, so that it colours them too) under an X server with a window manager. Once its window
has shown and it has gone idle, the caret goes to the start of the script's middle line through
the program's own Go to Line (Ctrl+G in Scrivane, Ctrl+L in Geany); when it is idle again its
processor time (user + system, from /proc) is read, xdotool types the keys with a pause after
each one (so that each is painted, as a person's would be), and once it is idle again the time
is read anew: the difference over the number of keys is the time per key. Kinds of typing:
plain words, a function call, code with braces, Enter at a line's start (a line moved down each
time) and Enter then Backspace at a line's start (a line split and joined again). The rounds
rotate which program goes first; the figures are medians, with Scrivane's ratio to Geany.

  type_vs_geany.py SCRIVANE [--sizes 1,5,20] [--rounds 10] [--keys 120] [--kinds plain,...]
"""
import argparse
import importlib.util
import os
import shutil
import statistics
import subprocess
import sys
import time

_spec = importlib.util.spec_from_file_location("open_vs_geany", os.path.join(os.path.dirname(__file__), "open_vs_geany.py"))
ovg = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(ovg)

# Each kind as the xdotool steps of one cycle: ("type", text) or ("key", name).
KINDS = {
    "plain": [("type", "    x = y + 1;"), ("key", "Return")],
    "hints": [("type", "    x = Sleep(1);"), ("key", "Return")],
    "braces": [("type", "    if (x > 1) { y = 2; }"), ("key", "Return")],
    "enter": [("key", "Return")],
    "join": [("key", "Return"), ("key", "BackSpace")],
}
GOTO = {"scrivane": "ctrl+g", "geany": "ctrl+l"}


def keys_in(cycle):
    return sum(len(arg) if op == "type" else 1 for op, arg in cycle)


def xdo(env, *args):
    subprocess.run(["xdotool", *args], env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def wait_idle(pid, quiet_s=0.4, limit_s=180):
    start = time.monotonic()
    last, since = ovg.cpu_ms(pid), time.monotonic()
    while time.monotonic() - since < quiet_s:
        time.sleep(0.01)
        now = ovg.cpu_ms(pid)
        if now != last:
            last, since = now, time.monotonic()
        if time.monotonic() - start > limit_s:
            raise RuntimeError("the program never went idle")
    return last


def window_of(pid, env, limit_s=120):
    start = time.monotonic()
    while time.monotonic() - start < limit_s:
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], env=env,
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        if r.returncode == 0 and r.stdout.split():
            return r.stdout.split()[-1].decode()
        time.sleep(0.05)
    raise RuntimeError("no window")


def measure(side, argv, env, line, cycle, keys, delay_ms):
    p = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        win = window_of(p.pid, env)
        wait_idle(p.pid)
        xdo(env, "windowactivate", "--sync", win)
        xdo(env, "key", "--clearmodifiers", GOTO[side])
        time.sleep(0.5)
        xdo(env, "key", "ctrl+a")
        xdo(env, "type", str(line))
        xdo(env, "key", "Return")
        time.sleep(0.3)
        cpu0 = wait_idle(p.pid)
        sent = 0
        while sent < keys:
            for op, arg in cycle:
                if op == "type":
                    xdo(env, "type", "--delay", str(delay_ms), arg)
                else:
                    xdo(env, "key", "--delay", str(delay_ms), arg)
                    time.sleep(delay_ms / 1000.0)
            sent += keys_in(cycle)
        cpu1 = wait_idle(p.pid)
        return (cpu1 - cpu0) / sent
    finally:
        p.kill()
        p.wait()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("scrivane")
    ap.add_argument("--sizes", default="1,5,20")
    ap.add_argument("--rounds", type=int, default=10)
    ap.add_argument("--keys", type=int, default=120)
    ap.add_argument("--delay", type=int, default=25, help="milliseconds after each key")
    ap.add_argument("--kinds", default=",".join(KINDS))
    ap.add_argument("--programs", default="scrivane,geany", help="to measure one of them alone")
    ap.add_argument("--corpus", default=os.path.join(os.path.dirname(__file__), "../../../shared/corpus/cog"))
    a = ap.parse_args()
    geany = shutil.which("geany")
    if not geany:
        sys.exit("geany is not installed (apt-get install geany)")

    with ovg.x_session("tarvex-type-", ":18") as (work, env):
        print(f"{'size':>5} {'kind':>7} {'Scrivane ms/key':>16} {'Geany ms/key':>13} {'ratio':>6}")
        for mb in (int(s) for s in a.sizes.split(",")):
            sides, data = ovg.both_sides(a.scrivane, geany, work, a.corpus, mb)
            line = data.count(b"\n") // 2 + 1
            for kind in a.kinds.split(","):
                got = {k: [] for k in sides}
                order = [k for k in sides if k in a.programs.split(",")]
                for r in range(a.rounds):
                    for k in order[r % 2:] + order[:r % 2]:
                        got[k].append(measure(k, sides[k], env, line, KINDS[kind], a.keys, a.delay))
                s, g = (statistics.median(got[k]) if got[k] else float("nan") for k in sides)
                print(f"{mb:>3}MB {kind:>7} {s:>16.2f} {g:>13.2f} {s / g if g else float('inf'):>6.2f}", flush=True)


if __name__ == "__main__":
    main()
