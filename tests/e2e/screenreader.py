#!/usr/bin/python3
"""A screen reader's view of the running program, over AT-SPI.

usage: screenreader.py x11|wayland PID

Finds the program of process PID on the accessibility bus, walks its tree as
a screen reader does and checks what it would hear: names, roles, colors,
the Tab order (X11, where keys can be sent), and that controls pressed
through their accessible actions change what the tree reports. On Wayland it
ends by pressing Exit. Prints one line per check and a closing count; exits
non-zero when any check failed.
"""

import re
import subprocess
import sys
import time

import pyatspi

mode, pid = sys.argv[1], int(sys.argv[2])
TIMEOUT = 15
checks = failures = 0


def check(what, actual, expected):
    global checks, failures
    checks += 1
    if actual != expected:
        failures += 1
        print(f"FAIL: {what}: got {actual!r}, expected {expected!r}", flush=True)


def wait_for(what, probe):
    """The first true value probe() gives within the time limit."""
    end = time.monotonic() + TIMEOUT
    while True:
        try:
            value = probe()
        except Exception:  # the tree may change under a walk
            value = None
        if value or time.monotonic() > end:
            if not value:
                check(what, "nothing", "an answer within %d s" % TIMEOUT)
            return value
        time.sleep(0.05)


def states(node):
    return node.getState()


def showing(node):
    return states(node).contains(pyatspi.STATE_SHOWING)


def nodes(root):
    """Every node below root, depth first, in the order a reader walks them."""
    for child in root:
        if child is None:
            continue
        yield child
        yield from nodes(child)


def find(root, role, name):
    for n in nodes(root):
        if n.getRoleName() == role and n.name == name:
            return n
    return None


def text_of(node):
    t = node.queryText()
    return t.getText(0, t.characterCount)


def press(node):
    """Does the node's press (or click, toggle) action, as a reader's user would."""
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("press", "click", "toggle"):
        for i, name in enumerate(names):
            if name.lower() == wanted:
                action.doAction(i)
                return
    check(f"an action to press {node.name!r}", names, "press, click or toggle")


def the_app():
    for a in pyatspi.Registry.getDesktop(0):
        if a is not None and a.get_process_id() == pid:
            return a
    return None


def heard(node):
    """What a reader says of a node: role, name and, if set, description."""
    said = f"{node.getRoleName()} {node.name!r}"
    if node.description:
        said += f" ({node.description})"
    if states(node).contains(pyatspi.STATE_CHECKED):
        said += " checked"
    return said


app = wait_for("the program on the accessibility bus", the_app)
if app is None:
    sys.exit(1)
window = wait_for("the main window", lambda: next((w for w in app if w is not None and showing(w)), None))
if window is None:
    sys.exit(1)
check("main window role", window.getRoleName(), "frame")
check("main window name", window.name, "Dudovuvov")

# Every control a keyboard user can reach has a name of its own and a role a
# reader knows how to speak.
roles = {"push button", "radio button", "text", "scroll bar", "image"}
focusable = [n for n in nodes(window) if showing(n) and states(n).contains(pyatspi.STATE_FOCUSABLE)]
print("showing, focusable controls:")
for n in focusable:
    print(f"  {n.getRoleName():13} | {n.name} | {n.description}")
    check(f"role of {n.name!r}", n.getRoleName() in roles, True)
    check(f"name of the {n.getRoleName()} {n.description!r} is a name", bool(re.search("[A-Za-z]", n.name)), True)
names = [n.name for n in focusable]
check("names heard twice", sorted({x for x in names if names.count(x) > 1}), [])
check("number of controls a keyboard user can reach", len(focusable), 39)
# The state fields are never shown, so no reader may find them.
check("text boxes in the tree", sum(1 for n in nodes(window) if n.getRoleName() == "text"), 9)

# The swatches and the preview say their colors.
defaults = {"Textcolor": "#0A0A0A", "Backcolor": "#DCDCDC", "New link color": "#0000EE",
            "Visited link color": "#551A8B", "Active link color": "#EE0000"}
for target, color in defaults.items():
    check(f"{target} swatch", find(window, "label", f"{target} {color}") is not None, True)
preview = find(window, "image", "Preview")
check("preview found", preview is not None, True)
if preview is not None:
    check("preview's colors", preview.description,
          "Backcolor #DCDCDC, Textcolor #0A0A0A, new links #0000EE, visited links #551A8B, active links #EE0000")

if mode == "x11":
    # Tab as a keyboard user meets it, from where the window opens with the focus.
    wid = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Dudovuvov$"],
                         capture_output=True, text=True).stdout.split()
    subprocess.run(["xdotool", "windowfocus", "--sync", wid[0]], check=False)

    def focused():
        return next((n for n in nodes(window) if states(n).contains(pyatspi.STATE_FOCUSED)), None)

    first = wait_for("the control that has the focus", focused)
    # Round the whole window once; the first ten stops are shown.
    print("Tab stops:")
    print(f"  start: {heard(first)}" if first else "  start: none")
    stops = []
    for i in range(60):
        before = focused()
        subprocess.run(["xdotool", "key", "--window", wid[0], "Tab"], check=False)
        now = wait_for(f"focus after Tab {i + 1}", lambda: (lambda f: f if f is not None and f != before else None)(focused()))
        if now is None or now == first:
            break
        stops.append(now)
        if i < 10:
            print(f"  {i + 1:2}: {heard(now)}")
    check("Tab comes round to where it started", now == first, True)
    options = [n for n in stops if n.getRoleName() == "radio button"]
    print("  the option Tab reaches: " + ", ".join(heard(n) for n in options))
    check("option buttons Tab stops at", len(options), 1)
    if options:
        check("the option Tab reaches is the selected one", states(options[0]).contains(pyatspi.STATE_CHECKED), True)

# Pressing through the accessible actions changes what the tree reports.
new = find(window, "radio button", "Set New Links color")
press(new)
wait_for("New Links selected", lambda: states(new).contains(pyatspi.STATE_CHECKED))
press(find(window, "push button", "Black"))
hexbox = find(window, "text", "New link color HTML3 value")
check("New link hex box after Black", wait_for("New link black", lambda: text_of(hexbox) == "#000000" and text_of(hexbox)), "#000000")
check("New link swatch after Black", wait_for("swatch", lambda: find(window, "label", "New link color #000000")) is not None, True)
press(find(window, "push button", "Reset New Links color"))
check("New link hex box after its Reset", wait_for("New link reset", lambda: text_of(hexbox) == "#0000EE" and text_of(hexbox)), "#0000EE")
back = find(window, "text", "Backcolor HTML3 value")
check("Backcolor untouched", text_of(back), "#DCDCDC")
if mode == "x11":
    press(find(window, "push button", "Copy Visited Link"))
    clip = wait_for("clipboard", lambda: subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                                                        text=True).stdout == "#551A8B")
    check("clipboard after Copy Visited Link", clip, True)
else:
    press(find(window, "push button", "Exit"))

print(f"screen reader ({mode}): {checks - failures} passed, {failures} failed")
sys.exit(1 if failures else 0)
