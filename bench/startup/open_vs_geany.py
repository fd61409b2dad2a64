#!/usr/bin/env python3
"""Opening a large COG script: Scrivane against Geany, both whole processes measured from
outside in the same way.

Each program is started with the script on its command line under an X server with a window
manager (a private Xvfb and openbox unless DISPLAY is set). From outside, the script waits for
the program's first visible window, then samples the process's processor time (user + system,
from /proc) until it has not grown for a quiet spell: the first idle moment after the window
is shown. It reports that processor time and the peak resident memory (VmHWM), then ends the
process. The rounds rotate which program starts first; the figures are medians.

Scripts are made by repeating the code sections of the real scripts of the corpus under one
symbols section, to 1, 5 and 20 MB; Geany opens the same bytes as a .c file, so that it colours
them too.

  open_vs_geany.py SCRIVANE [--sizes 1,5,20] [--rounds 10] [--corpus DIR]
"""
import argparse
import contextlib
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

TICK = os.sysconf("SC_CLK_TCK")


def code_lines(path):
    lines = open(path, "rb").read().split(b"\n")
    starts = [i for i, l in enumerate(lines) if l.lower().startswith(b"code")]
    ends = [i for i, l in enumerate(lines) if l.lower().startswith(b"end")]
    if not starts or not ends or ends[-1] <= starts[0]:
        return []
    return [l.rstrip(b"\r") for l in lines[starts[0] + 1:ends[-1]]]


def make_script(corpus, size):
    body = []
    for name in sorted(os.listdir(corpus)):
        if name.lower().endswith(".cog"):
            body += code_lines(os.path.join(corpus, name))
    head = [b"# Jedi Knight Cog Script", b"#", b"# big.cog", b"", b"symbols", b"",
            b"message     startup", b"message     activated", b"thing       victim", b"flex        delay=0.5",
            b"", b"end", b"", b"code", b""]
    out = bytearray(b"\r\n".join(head) + b"\r\n")
    chunk = b"\r\n".join(body) + b"\r\n"
    while len(out) + len(chunk) < size:
        out += chunk
    for line in body:
        if len(out) + len(line) + 2 >= size - 5:
            break
        out += line + b"\r\n"
    return bytes(out + b"end\r\n")


def cpu_ms(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) * 1000.0 / TICK


def peak_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


def has_window(pid, env):
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], env=env,
                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return r.returncode == 0 and r.stdout.strip() != b""


def measure(argv, env, quiet_s=0.25, limit_s=120):
    p = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        start = time.monotonic()
        while not has_window(p.pid, env):
            if p.poll() is not None or time.monotonic() - start > limit_s:
                raise RuntimeError(f"{argv[0]} showed no window")
            time.sleep(0.02)
        last, since = cpu_ms(p.pid), time.monotonic()
        while time.monotonic() - since < quiet_s:
            time.sleep(0.01)
            now = cpu_ms(p.pid)
            if now != last:
                last, since = now, time.monotonic()
            if time.monotonic() - start > limit_s:
                raise RuntimeError(f"{argv[0]} never went idle")
        return last, peak_mib(p.pid)
    finally:
        p.kill()
        p.wait()


@contextlib.contextmanager
def x_session(prefix, display):
    """A work folder, and an environment under X with a window manager: a private Xvfb and
    openbox on the display unless DISPLAY is set; the programs' settings kept in the folder."""
    work = tempfile.mkdtemp(prefix=prefix)
    env = dict(os.environ)
    xvfb = wm = None
    try:
        if "DISPLAY" not in env:
            env["DISPLAY"] = display
            xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1600x1000x24", "-nolisten", "tcp"],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(1.0)
            wm = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(0.5)
        env["QT_QPA_PLATFORM"] = "xcb"
        env["TARVEX_CONFIG_DIR"] = os.path.join(work, "scrivane-config")
        env["XDG_CONFIG_HOME"] = os.path.join(work, "xdg")
        yield work, env
    finally:
        for proc in (wm, xvfb):
            if proc:
                proc.terminate()
                proc.wait()
        shutil.rmtree(work, ignore_errors=True)


def both_sides(scrivane, geany, work, corpus, mb):
    """The script of mb MB written as .cog and .c, and each program's command line to open it."""
    data = make_script(corpus, mb * 1_000_000)
    cog, c = os.path.join(work, f"big{mb}.cog"), os.path.join(work, f"big{mb}.c")
    for path in (cog, c):
        with open(path, "wb") as f:
            f.write(data)
    return {
        "scrivane": [scrivane, cog],
        "geany": [geany, "--new-instance", "--no-session", "-c", os.path.join(work, "geany-config"), c],
    }, data


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("scrivane")
    ap.add_argument("--sizes", default="1,5,20")
    ap.add_argument("--rounds", type=int, default=10)
    ap.add_argument("--corpus", default=os.path.join(os.path.dirname(__file__), "../../../shared/corpus/cog"))
    a = ap.parse_args()
    geany = shutil.which("geany")
    if not geany:
        sys.exit("geany is not installed (apt-get install geany)")

    with x_session("tarvex-open-", ":17") as (work, env):
        print(f"{'size':>5} {'Scrivane ms':>12} {'Geany ms':>9} {'ratio':>6} {'Scrivane MiB':>13} {'Geany MiB':>10} {'ratio':>6}")
        for mb in (int(s) for s in a.sizes.split(",")):
            sides, _ = both_sides(a.scrivane, geany, work, a.corpus, mb)
            got = {k: ([], []) for k in sides}
            order = list(sides)
            for r in range(a.rounds):
                for k in order[r % 2:] + order[:r % 2]:
                    cpu, mib = measure(sides[k], env)
                    got[k][0].append(cpu)
                    got[k][1].append(mib)
            s_cpu, g_cpu = statistics.median(got["scrivane"][0]), statistics.median(got["geany"][0])
            s_mib, g_mib = statistics.median(got["scrivane"][1]), statistics.median(got["geany"][1])
            print(f"{mb:>3}MB {s_cpu:>12.0f} {g_cpu:>9.0f} {s_cpu / g_cpu:>6.2f} {s_mib:>13.0f} {g_mib:>10.0f} {s_mib / g_mib:>6.2f}",
                  flush=True)


if __name__ == "__main__":
    main()
