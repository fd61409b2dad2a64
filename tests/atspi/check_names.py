#!/usr/bin/python3
# Reads each program's main window as a screen reader does, over the accessibility bus
# (AT-SPI), and checks that every control the focus can reach there has a name, and a name no
# other control of that window has. Scrivane is also read with its find bar and Problems panel
# shown, and its Options dialog and About box, each opened through its menu item's action.
#   check_names.py <folder of the programs>
# Starts its own X server (Xvfb on a free display), D-Bus session and accessibility bus, and
# fails with the reason when one of them cannot be had: a check that could not look passes
# nothing.
import os
import shutil
import subprocess
import sys
import tempfile
import time

WAIT = 60  # seconds a window or the bus may take to appear, on a busy machine


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


if len(sys.argv) != 2:
    fail("usage: check_names.py <folder of the programs>")
bindir = os.path.abspath(sys.argv[1])

# The D-Bus session first: this script runs again inside it.
if os.environ.get("TARVEX_ATSPI_SESSION") != "1":
    for tool in ("dbus-run-session", "Xvfb", "gdbus"):
        if not shutil.which(tool):
            fail(tool + " is not installed (scripts/install-deps.sh installs it)")
    os.environ["TARVEX_ATSPI_SESSION"] = "1"
    os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])

try:
    import pyatspi
except ImportError as e:
    fail("the AT-SPI client for Python is missing (python3-pyatspi): %s" % e)

work = tempfile.mkdtemp(prefix="tarvex-atspi.")
children = []


def cleanup():
    for p in reversed(children):
        if p.poll() is None:
            p.terminate()  # the X server takes its socket and lock file away
            try:
                p.wait(10)
            except subprocess.TimeoutExpired:
                p.kill()
    shutil.rmtree(work, ignore_errors=True)


def start_x():
    """Xvfb on the first free display, which it names itself."""
    read, write = os.pipe()
    x = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x900x24", "-nolisten", "tcp", "-noreset"],
                         pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    children.append(x)
    os.close(write)
    number = os.read(read, 16).decode().strip()  # the pipe stays open: the server may write to it again
    if not number:
        fail("Xvfb did not start (exit %s)" % x.poll())
    return ":" + number


def check_bus():
    """The accessibility bus of this session answers, or the check fails saying why."""
    try:
        r = subprocess.run(["gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path", "/org/a11y/bus",
                            "--method", "org.a11y.Bus.GetAddress"], capture_output=True, text=True, timeout=WAIT)
    except subprocess.TimeoutExpired:
        fail("the accessibility bus (at-spi-bus-launcher) did not answer within %d s" % WAIT)
    if r.returncode != 0 or "unix:" not in r.stdout:
        fail("the accessibility bus (at-spi2-core's at-spi-bus-launcher) did not start: " + (r.stderr or r.stdout).strip())


def poll(what, find):
    """find()'s first true answer, asked again until WAIT seconds have passed."""
    deadline = time.monotonic() + WAIT
    while True:
        try:
            found = find()
        except Exception:  # a window going or coming while it is read
            found = None
        if found:
            return found
        if time.monotonic() > deadline:
            fail(what + " did not appear within %d s" % WAIT)
        time.sleep(0.2)


def children_of(node):
    return [c for c in (node[i] for i in range(node.childCount)) if c is not None]


def find(node, role, name):
    if node.getRole() == role and node.name == name:
        return node
    for c in children_of(node):
        hit = find(c, role, name)
        if hit:
            return hit
    return None


# Inside these the items are the control's content, not controls of their own (a combo box's
# list and text field included).
CONTENT = {pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TABLE, pyatspi.ROLE_LIST,
           pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_MENU, pyatspi.ROLE_POPUP_MENU,
           pyatspi.ROLE_PAGE_TAB_LIST}


def problems(window):
    """One line for each reachable control without a name or with another one's name, and how
    many reachable controls there are."""
    out, seen = [], {}

    def walk(node, path):
        state = node.getState()
        where = "%s/%s '%s'" % (path, node.getRoleName(), node.name)
        if not state.contains(pyatspi.STATE_SHOWING):
            return
        if state.contains(pyatspi.STATE_FOCUSABLE) and state.contains(pyatspi.STATE_SENSITIVE) \
                and node.getRole() not in (pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG):
            name = node.name.strip()
            if not name:
                out.append(where + ": no name")
            elif name in seen:
                out.append(where + ": the name of " + seen[name])
            seen.setdefault(name, where)
        if node.getRole() not in CONTENT:
            for c in children_of(node):
                walk(c, path + "/" + node.getRoleName())

    walk(window, "")
    return out, len(seen)


def app_named(name):
    for a in children_of(pyatspi.Registry.getDesktop(0)):
        if a.name == name:
            return a
    return None


def window(app_name, role, title_start):
    def look():
        app = app_named(app_name)
        for w in children_of(app) if app else []:
            if role in (None, w.getRole()) and w.name.startswith(title_start) and w.getState().contains(pyatspi.STATE_SHOWING):
                return w
        return None
    return poll("%s's window \"%s\"" % (app_name, title_start), look)


def menu_command(app_name, menu, item):
    main = window(app_name, pyatspi.ROLE_FRAME, "")
    bar = poll("the menu bar", lambda: next((c for c in children_of(main) if c.getRole() == pyatspi.ROLE_MENU_BAR), None))
    top = find(bar, pyatspi.ROLE_MENU_ITEM, menu)
    command = find(top, pyatspi.ROLE_MENU_ITEM, item) if top else None
    if not command:
        fail("%s has no menu command %s > %s" % (app_name, menu, item))
    command.queryAction().doAction(0)


failures, checked = [], []


def check(label, node, marker=None):
    """Checks `node` once it shows its controls (and `marker`, a (role, name), among them)."""
    poll(label + "'s controls", lambda: problems(node)[1] > 0 and (not marker or find(node, *marker)))
    found, count = problems(node)
    print("%s: %d controls, %s" % (label, count, "each named" if not found else "%d problem(s)" % len(found)), flush=True)
    failures.extend("%s: %s" % (label, p) for p in found)
    checked.append(label)


def start(program, *args):
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_CONFIG_HOME=config,
               TARVEX_CONFIG_DIR=config, HOME=work, XDG_RUNTIME_DIR=runtime)
    path = os.path.join(bindir, program)
    if not os.access(path, os.X_OK):
        fail(path + " is not there: build the programs first")
    p = subprocess.Popen([path, *args], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    children.append(p)
    return p


def stop(p):
    p.kill()
    p.wait()


try:
    os.environ["DISPLAY"] = start_x()
    check_bus()
    config, runtime, game = (os.path.join(work, d) for d in ("config", "runtime", "game"))
    for d in (config, runtime, game):
        os.makedirs(d, mode=0o700)
    files = {
        "door.cog": "# Opens the door.\r\nsymbols\r\nthing door\r\nend\r\ncode\r\nstartup:\r\n  return;\r\nend\r\n",
        "jkstrings.uni": 'MSGS 2\r\n"GAME_SAVE" 0 "Game saved."\r\n"GAME_LOAD" 0 "Game loaded."\r\nEND\r\n',
        "models.dat": "numModels: 2\n0: ky.3do ky.snd\n1: kk.3do kk.snd\n",
    }
    for name, text in files.items():
        with open(os.path.join(game, name), "w", newline="") as f:
            f.write(text)

    p = start("Scrivane", os.path.join(game, "door.cog"))
    main = window("Scrivane", pyatspi.ROLE_FRAME, "Scrivane")
    check("Scrivane", main, (pyatspi.ROLE_TEXT, "Text of door.cog"))
    menu_command("Scrivane", "Edit", "Quick Replace")
    menu_command("Scrivane", "View", "Problems")
    check("Scrivane with the find bar and Problems", main, (pyatspi.ROLE_PUSH_BUTTON, "Replace All"))
    menu_command("Scrivane", "View", "Options")
    check("Scrivane's Options", window("Scrivane", pyatspi.ROLE_DIALOG, "Options"))
    menu_command("Scrivane", "Help", "About")
    check("Scrivane's About box", window("Scrivane", pyatspi.ROLE_DIALOG, "About"))
    stop(p)
    for program, app, arg in (("Lirrel", "Lirrel", "jkstrings.uni"), ("Orvane", "Orvane", "models.dat"),
                              ("tarvex-setup", "Tarvex Setup", None)):
        p = start(program, *([os.path.join(game, arg)] if arg else []))
        check(app, window(app, None, ""))
        stop(p)
finally:
    cleanup()

for f in failures:
    print("  " + f)
failed = {f.split(":")[0] for f in failures}
print("%d passed, %d failed" % (len(checked) - len(failed), len(failed)))
sys.exit(1 if failures else 0)
