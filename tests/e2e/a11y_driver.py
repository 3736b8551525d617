#!/usr/bin/python3
"""Drives orvik-generator through the accessibility bus as an assistive tool does.

Finds the program by its process id, checks that the window's whole frame lies on the screen, reads
the tab list of the new window, picks "Cable" in
Orvik_Product_Type, checks the cable tabs, types a vendor name, presses Cancel and answers the
question with Yes. Every step waits for its condition with a time-out; exit status 0 on success.
Mouse clicks and keys go through xdotool at the rectangles the bus reports.
"""

import argparse
import subprocess
import sys
import time

import pyatspi

NEW_FORM_TABS = ["Intro"]
# The tabs of a cable form before any cable question is answered, as `orvik new --set
# Orvik_Product_Type=1` lists them.
CABLE_TABS = ["Intro", "Orvik Product", "General PD Settings", "Cable - Part One"]
VENDOR = "Acme Cable Works"
CANCEL_QUESTION = ("Are you sure you want to cancel?  You will lose all your work and have to start over "
                   "again from the beginning.")


class Failure(Exception):
    pass


def log(message):
    print(f"a11y: {message}", flush=True)


def wait_for(what, timeout, probe, interval=0.1):
    """Calls probe until it returns something truthy; fails after `timeout` seconds."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            result = probe()
            if result:
                return result
        except Exception as error:  # the bus may answer mid-change; retry until the deadline
            last_error = error
        if time.monotonic() >= deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise Failure(f"timed out after {timeout} s waiting for {what}{detail}")
        time.sleep(interval)


def fresh(acc):
    clear = getattr(acc, "clearCache", None) or getattr(acc, "clear_cache", None)
    if clear:
        try:
            clear()
        except Exception:
            pass
    return acc


def children(acc):
    result = []
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            result.append(child)
    return result


def walk(acc, depth=0):
    yield acc
    if depth > 40:
        return
    for child in children(acc):
        yield from walk(child, depth + 1)


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def find_app(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in children(fresh(desktop)):
        try:
            if app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def top_windows(app):
    return [w for w in children(fresh(app)) if w.getRoleName() != "invalid"]


def main_window(app):
    """The showing top-level window that holds the tabs (a question box has none)."""
    for window in top_windows(app):
        if showing(window) and tab_list(window) is not None:
            return window
    return None


def tab_list(window):
    for acc in walk(fresh(window)):
        if acc.getRole() == pyatspi.ROLE_PAGE_TAB_LIST:
            return acc
    return None


def tab_names(window):
    tabs = tab_list(window)
    if tabs is None:
        return None
    return [t.name for t in children(fresh(tabs)) if t.getRole() == pyatspi.ROLE_PAGE_TAB]


def labelled_control(window, label_text):
    """The control that the label reading `label_text` names (its buddy)."""
    for acc in walk(fresh(window)):
        if acc.getRole() != pyatspi.ROLE_LABEL or acc.name.replace("&", "") != label_text:
            continue
        for relation in acc.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABEL_FOR and relation.getNTargets() > 0:
                return relation.getTarget(0)
    return None


def named(root, role, name):
    for acc in walk(fresh(root)):
        if acc.getRole() == role and acc.name == name and showing(acc):
            return acc
    return None


def output(*args):
    return subprocess.run(list(args), check=True, timeout=20, capture_output=True, text=True).stdout


def frame_inside_screen(pid):
    """The window's whole frame, title bar included, lies inside the screen: (True, text) or (False, text)."""
    ids = output("xdotool", "search", "--onlyvisible", "--pid", str(pid), "--name", "^Orvik Generator").split()
    if not ids:
        return None
    info = output("xwininfo", "-id", ids[0])
    value = {key: int(line.split(":")[1]) for line in info.splitlines()
             for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
             if line.strip().startswith(key + ":")}
    extents = output("xprop", "-id", ids[0], "_NET_FRAME_EXTENTS")
    if "=" not in extents:
        return None
    left, right, top, bottom = (int(v) for v in extents.split("=")[1].split(","))
    root = output("xwininfo", "-root")
    screen = {key: int(line.split(":")[1]) for line in root.splitlines()
              for key in ("Width", "Height") if line.strip().startswith(key + ":")}
    x0 = value["Absolute upper-left X"] - left
    y0 = value["Absolute upper-left Y"] - top
    x1 = value["Absolute upper-left X"] + value["Width"] + right
    y1 = value["Absolute upper-left Y"] + value["Height"] + bottom
    text = f"frame ({x0}, {y0})-({x1}, {y1}) on a {screen['Width']}x{screen['Height']} screen"
    return (x0 >= 0 and y0 >= 0 and x1 <= screen["Width"] and y1 <= screen["Height"], text)


def centre(acc):
    box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if box.width <= 0 or box.height <= 0:
        raise Failure(f"{acc.getRoleName()} '{acc.name}' has no screen rectangle")
    return box.x + box.width // 2, box.y + box.height // 2


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, timeout=20)


def click(acc):
    x, y = centre(acc)
    xdotool("mousemove", "--sync", str(x), str(y), "click", "1")


def expect_tabs(window, expected, timeout, what):
    names = wait_for(what, timeout, lambda: (tab_names(window) == expected) and tab_names(window))
    log(f"tabs: {names}")


def pick_cable(app, window, combo, timeout):
    """Opens the pull-down with a click and clicks its Cable item; the keyboard if no list shows."""
    click(combo)

    def cable_item():
        for top in top_windows(app):
            for acc in walk(fresh(top)):
                if acc.getRole() == pyatspi.ROLE_LIST_ITEM and showing(acc):
                    text = acc.name.strip()
                    if text == "Cable" or text.endswith(": Cable"):
                        return acc
        return None

    try:
        item = wait_for("the Cable item of the open pull-down", min(timeout, 10), cable_item)
        log(f"clicking item '{item.name}'")
        click(item)
    except Failure as failure:
        log(f"{failure}; choosing with the keyboard instead")
        xdotool("key", "Escape")
        combo.queryComponent().grabFocus()
        wait_for("focus on the pull-down", timeout, lambda: fresh(combo).getState().contains(pyatspi.STATE_FOCUSED))
        xdotool("type", "--delay", "50", "1")
    wait_for("the pull-down to show Cable", timeout, lambda: "Cable" in fresh(combo).name)
    log(f"Orvik_Product_Type now reads '{fresh(combo).name}'")


def type_vendor(window, edit, timeout):
    edit.queryComponent().grabFocus()
    if not wait_for_quiet(lambda: fresh(edit).getState().contains(pyatspi.STATE_FOCUSED), timeout / 2):
        click(edit)  # a click focuses it as a user's would
    wait_for("focus on Vendor_Name", timeout, lambda: fresh(edit).getState().contains(pyatspi.STATE_FOCUSED))
    xdotool("type", "--delay", "20", VENDOR)
    wait_for(f"Vendor_Name to read '{VENDOR}'", timeout, lambda: fresh(edit).queryText().getText(0, -1) == VENDOR)
    log(f"Vendor_Name reads '{VENDOR}'")


def wait_for_quiet(probe, timeout):
    try:
        return wait_for("", timeout, probe)
    except Failure:
        return None


def cancel_and_confirm(app, window, timeout):
    cancel = wait_for("the Cancel button", timeout, lambda: named(window, pyatspi.ROLE_PUSH_BUTTON, "Cancel"))
    click(cancel)

    def yes_button():
        for top in top_windows(app):
            if not showing(top):
                continue
            button = named(top, pyatspi.ROLE_PUSH_BUTTON, "Yes")
            if button is not None:
                return top, button
        return None

    box, yes = wait_for("the question box with a Yes button", timeout, yes_button)
    texts = [a.name for a in walk(box) if a.getRole() == pyatspi.ROLE_LABEL and a.name]
    log(f"question box: {texts}")
    if CANCEL_QUESTION not in texts:
        raise Failure(f"the question box does not ask {CANCEL_QUESTION!r}")
    if named(box, pyatspi.ROLE_PUSH_BUTTON, "No") is None:
        raise Failure("the question box has no No button")
    click(yes)


def run(pid, timeout):
    app = wait_for(f"process {pid} on the accessibility bus", timeout * 2, lambda: find_app(pid))
    log(f"found application '{app.name}'")
    window = wait_for("the sheet window", timeout, lambda: main_window(app))
    log(f"window: '{window.name}'")
    wait_for("the sheet window to be active", timeout,
             lambda: fresh(window).getState().contains(pyatspi.STATE_ACTIVE))

    expect_tabs(window, NEW_FORM_TABS, timeout, f"the tabs of a new form to be {NEW_FORM_TABS}")

    # The caption and the handle to drag the window by are on the screen.
    try:
        inside = wait_for("the window's frame inside the screen", 5,
                          lambda: (lambda r: r if r and r[0] else None)(frame_inside_screen(pid)))
        log(inside[1])
    except Failure:
        raise Failure(f"the window's frame is not inside the screen: {frame_inside_screen(pid)}")

    combo = wait_for("the control labelled Orvik_Product_Type", timeout,
                     lambda: labelled_control(window, "Orvik_Product_Type"))
    if combo.getRole() != pyatspi.ROLE_COMBO_BOX:
        raise Failure(f"Orvik_Product_Type is a {combo.getRoleName()}, not a combo box")
    log(f"Orvik_Product_Type reads '{combo.name}'")
    pick_cable(app, window, combo, timeout)
    expect_tabs(window, CABLE_TABS, timeout, f"the cable tabs {CABLE_TABS}")

    edit = wait_for("the control labelled Vendor_Name", timeout, lambda: labelled_control(window, "Vendor_Name"))
    if edit.name != "Vendor_Name":
        raise Failure(f"the Vendor_Name control is named '{edit.name}', not by its label")
    type_vendor(window, edit, timeout)

    cancel_and_confirm(app, window, timeout)
    wait_for("the sheet window to close", timeout,
             lambda: find_app(pid) is None or main_window(find_app(pid)) is None)
    log("the window closed")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--pid", type=int, required=True, help="process id of orvik-generator")
    parser.add_argument("--timeout", type=float, default=30, help="seconds to wait for each step")
    args = parser.parse_args()
    try:
        run(args.pid, args.timeout)
    except Failure as failure:
        print(f"a11y: FAIL: {failure}", file=sys.stderr, flush=True)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
