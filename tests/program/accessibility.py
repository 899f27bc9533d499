#!/usr/bin/python3
"""The window as a screen reader sees it, over AT-SPI.

Run inside its own X server and session bus (accessibility.sh). Walks the
sales screen, the settings screen and a question box, then sells one ticket
through the accessibility interface alone: keys pressed by their names, the
total read back by its name.

Usage: accessibility.py PROGRAM UNTIN
"""
import os
import subprocess
import sys
import time

import pyatspi

PROGRAM, UNTIN = sys.argv[1], sys.argv[2]
TODAY = "2026-12-09"
failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message, flush=True)


def declared_names():
    """Each screen's declared names, as the program's form tables give them."""
    out = subprocess.run(
        [PROGRAM, "--untin", UNTIN, "--today", TODAY, "--script", "-"],
        input="names\nclick cmdSettei\nnames\n", capture_output=True, text=True,
        timeout=60, check=True).stdout
    # The settings screen's list comes first on it: its name starts the second.
    screens, controls = [set()], set()
    for line in out.splitlines():
        control, _, quoted = line.partition(" name=")
        if control in controls:
            screens.append(set())
            controls = set()
        controls.add(control)
        screens[-1].add(quoted[1:-1].replace('\\"', '"').replace("\\\\", "\\"))
    return screens


def wait_for(what, find, seconds=30.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # the tree is changing under us: look again
            found = None
        if found is not None:
            return found
        time.sleep(0.2)
    raise SystemExit("FAIL: %s: not there after %.0f s" % (what, seconds))


def application(process):
    def find():
        if process.poll() is not None:
            raise SystemExit("FAIL: the program ended with status %d" % process.returncode)
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == process.pid and app.childCount:
                return app
        return None
    return wait_for("the program on the accessibility bus", find)


def states(node):
    return node.getState()


def showing(node):
    return states(node).contains(pyatspi.STATE_SHOWING)


def role(node):
    """The node's role name; newer AT-SPI libraries call a push button "button"."""
    name = node.getRoleName()
    return "push button" if name == "button" else name


def nodes(root):
    """Every node shown, not entering a drop-down's own open list."""
    stack = [root]
    while stack:
        node = stack.pop()
        if node is None or not showing(node):
            continue
        yield node
        if role(node) == "combo box":
            continue
        stack.extend(reversed([node[i] for i in range(node.childCount)]))


def nodes_all(root):
    """Every node, shown or not (the pages behind the one in front)."""
    stack = [root]
    while stack:
        node = stack.pop()
        if node is None:
            continue
        yield node
        if role(node) != "combo box":
            stack.extend(node[i] for i in range(node.childCount))


def has_text(node):
    try:
        node.queryText()
        return True
    except NotImplementedError:
        return False


def text_of(node):
    t = node.queryText()
    return t.getText(0, t.characterCount)


def declared_name(node):
    # Qt names a drop-down by the entry it shows and puts what the list is
    # into its description.
    return node.description if role(node) == "combo box" else node.name


# Built by Qt, not by a form row: the tab row's page captions.
QT_OWN = {"page tab", "page tab list"}
WORKED = {"push button", "text", "combo box", "radio button", "page tab", "page tab list",
          "check box", "spin button"}


def check_screen(window, declared, screen):
    seen = {}
    for node in nodes(window):
        kind = role(node)
        focusable = states(node).contains(pyatspi.STATE_FOCUSABLE)
        if kind not in WORKED and not (focusable and kind != "filler") and \
                not (kind == "text" and has_text(node)):
            continue
        name = declared_name(node)
        if not name:
            fail("%s: a %s without a name" % (screen, kind))
            continue
        key = (kind if kind in QT_OWN else "", name)
        if key in seen:
            fail("%s: two controls called %s (%s, %s)" % (screen, name, role(seen[key]),
                                                          kind))
        seen[key] = node
        if kind not in QT_OWN and name not in declared:
            fail("%s: %s %r is no declared name" % (screen, kind, name))
    return seen


def find_named(window, name, wanted=None):
    def find():
        for node in nodes(window):
            if declared_name(node) == name and (wanted is None or role(node) == wanted):
                return node
        return None
    try:
        return wait_for("%s on the window" % name, find)
    except SystemExit:
        # What the window holds instead, for the report.
        for node in nodes_all(window):
            try:
                print("  seen: %s %r / %r" % (role(node), node.name, node.description), flush=True)
            except Exception as e:  # noqa: BLE001 - a node that cannot be read is itself a finding
                print("  seen: a node that cannot be read (%s)" % e, flush=True)
        raise


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            action.doAction(i)
            return
    action.doAction(0)


def question_box(app):
    def find():
        for top in app:
            if top is not None and role(top) in ("dialog", "alert") and showing(top):
                return top
        return None
    return wait_for("a question box", find)


def check_box(box, screen):
    """The box says its question and which answer Enter gives."""
    texts = [n for n in nodes(box) if role(n) == "label" and n.name]
    if not texts and not box.name:
        fail("%s: the question box says no question" % screen)
    buttons = [n for n in nodes(box) if role(n) == "push button"]
    if any(not b.name for b in buttons):
        fail("%s: a button of the question box without a name" % screen)
    defaults = [b.name for b in buttons if states(b).contains(pyatspi.STATE_IS_DEFAULT)
                or states(b).contains(pyatspi.STATE_FOCUSED)]
    if not defaults:
        fail("%s: the question box tells no default answer" % screen)
    elif not (texts and texts[0].name in box.description and
              "Enter: " + defaults[0] in box.description):
        fail("%s: the question box's description %r tells not its question and %s" %
             (screen, box.description, defaults[0]))
    return {b.name: b for b in buttons}


def main():
    sales_names, settings_names = declared_names()
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    # A display that has just come up may refuse the first connection: the
    # program says so and ends at once, and is started again.
    for attempt in range(3):
        process = subprocess.Popen([PROGRAM, "--untin", UNTIN, "--today", TODAY], env=env)
        try:
            process.wait(timeout=2)
        except subprocess.TimeoutExpired:
            break
        print("note: the program ended at its start (status %d)" % process.returncode, flush=True)
        time.sleep(1)
    try:
        app = application(process)
        if app.name != "キップルン":
            fail("the application is called %r on the bus, not キップルン" % app.name)
        window = wait_for("the sales window", lambda: next(
            (w for w in app if w is not None and w.name == "キップルン" and showing(w)), None))
        find_named(window, "実 行", "push button")
        time.sleep(1.0)  # the pages behind the first are built after the first frame
        check_screen(window, sales_names, "sales screen")
        # A closed key is announced as unavailable; a station key tells its station.
        if states(find_named(window, "回数券", "push button")).contains(pyatspi.STATE_SENSITIVE):
            fail("回数券 is closed for 片道 but not announced so")
        station = wait_for("駅名キー1", lambda: next(
            (n for n in nodes_all(window) if n.name == "駅名キー1"), None))
        if station.description.replace("\u3000", "") != "岡山":
            fail("駅名キー1 tells %r, not 岡山" % station.description)

        press(find_named(window, "設 定", "push button"))
        find_named(window, "設定終了", "push button")
        time.sleep(0.5)
        check_screen(window, settings_names, "settings screen")
        press(find_named(window, "設定終了", "push button"))
        box = question_box(app)
        buttons = check_box(box, "settings screen")
        no = [b for name, b in buttons.items() if name.startswith("いいえ")]
        if not no:
            fail("the leaving question offers no いいえ: %s" % sorted(buttons))
            return
        press(no[0])
        find_named(window, "実 行", "push button")
        time.sleep(0.5)

        # One sale by names alone: 岡山 -> 松山, 往 復, 大人２, 実 行.
        hatsu = find_named(window, "区間１ 発駅", "combo box")
        chaku = find_named(window, "区間１ 着駅", "combo box")
        if hatsu.name.replace("\u3000", "") != "岡山" or \
                chaku.name.replace("\u3000", "") != "松山":
            fail("the journey reads %r -> %r" % (hatsu.name, chaku.name))
        for key in ("往 復", "大人２", "実 行"):
            press(find_named(window, key, "push button"))
            time.sleep(0.3)
        total = find_named(window, "合計金額", "text")
        amount = wait_for("the total", lambda: text_of(total) if "16,920" in text_of(total)
                          else None, 10)
        print("total:", amount, flush=True)
    finally:
        process.kill()
        process.wait()
    if failures:
        raise SystemExit("%d failure(s)" % len(failures))
    print("ok", flush=True)


main()
