"""Reading and driving the Updater's windows through the accessibility bus."""
import subprocess
import time

import pyatspi

DEFAULT_TIMEOUT = 20.0


class WalkFailure(Exception):
    pass


def wait_for(what, probe, timeout=DEFAULT_TIMEOUT, interval=0.1):
    """Calls probe until it returns something true; fails naming `what` after timeout."""
    deadline = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < deadline:
        try:
            result = probe()
            if result:
                return result
        except Exception as error:  # the tree changes under our feet while windows open
            last_error = error
        time.sleep(interval)
    detail = f" (last error: {last_error})" if last_error else ""
    raise WalkFailure(f"Waited {timeout:.0f} s for {what}{detail}")


def application(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.name == name:
            return app
    return None


def role(node):
    return node.getRoleName()


def walk(node, depth=0, limit=12):
    """Every node below `node` (itself included), depth first."""
    if node is None or depth > limit:
        return
    yield node
    for index in range(node.childCount):
        try:
            child = node.getChildAtIndex(index)
        except Exception:
            continue
        yield from walk(child, depth + 1, limit)


def find(node, role_name=None, name=None, showing=False):
    for candidate in walk(node):
        if role_name is not None and role(candidate) != role_name:
            continue
        if name is not None and candidate.name != name:
            continue
        if showing and not candidate.getState().contains(pyatspi.STATE_SHOWING):
            continue
        return candidate
    return None


def find_all(node, role_name=None):
    return [c for c in walk(node) if role_name is None or role(c) == role_name]


def top_windows(app):
    """The application's windows that are on screen, as (role, caption, node)."""
    windows = []
    for index in range(app.childCount):
        window = app.getChildAtIndex(index)
        if window is not None and window.getState().contains(pyatspi.STATE_SHOWING):
            windows.append((role(window), window.name, window))
    return windows


def window(app, caption, timeout=DEFAULT_TIMEOUT):
    def probe():
        for _, name, node in top_windows(app):
            if name == caption:
                return node
        return None

    return wait_for(f'the window "{caption}" (open: {describe_windows(app)})', probe, timeout)


def describe_windows(app):
    try:
        return ", ".join(f'{r} "{n}"' for r, n, _ in top_windows(app)) or "none"
    except Exception as error:
        return f"unknown ({error})"


def texts_of(node):
    """What the user reads in a window: its labels' texts and names."""
    texts = []
    for candidate in walk(node):
        if role(candidate) in ("label", "static", "text") and candidate.name:
            texts.append(candidate.name)
        if role(candidate) == "label":
            try:
                text = candidate.queryText()
                value = text.getText(0, text.characterCount)
                if value and value not in texts:
                    texts.append(value)
            except NotImplementedError:
                pass
    return texts


def text_value(node):
    """The text of an edit (or, for nodes without text, its name)."""
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return node.name


def message_box(app, timeout=DEFAULT_TIMEOUT):
    """The open "Updater" message box and what it says."""
    box = window(app, "Updater", timeout)
    return box, " ".join(texts_of(box))


def press(node, button_name):
    button = wait_for(f'the button "{button_name}"', lambda: find(node, "push button", button_name))
    do_default_action(button)


def do_default_action(node):
    action = node.queryAction()
    for index in range(action.nActions):
        if action.getName(index) in ("Press", "press", "click", "Toggle", "toggle", "SetFocus"):
            action.doAction(index)
            return
    action.doAction(0)


def list_items(node):
    return [item.name for item in find_all(node, "list item")]


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def type_into_focus(text):
    xdotool("type", "--delay", "20", text)


def key(*names):
    xdotool("key", *names)


def dump(node, out, depth=0):
    try:
        out.write("  " * depth + f"{role(node)} '{node.name}'\n")
        for index in range(node.childCount):
            dump(node.getChildAtIndex(index), out, depth + 1)
    except Exception as error:
        out.write("  " * depth + f"? {error}\n")


def click(node):
    """A real mouse click in the middle of the node, for what opens a modal window: the
    accessibility action would wait for the window to close before it replies."""
    extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if extents.width <= 0 or extents.height <= 0:
        raise WalkFailure(f'"{node.name}" is not on screen')
    click_at(extents.x + extents.width // 2, extents.y + extents.height // 2)


def click_at(x, y, button="1"):
    """A real mouse click at a point of the screen."""
    where = subprocess.run(["xdotool", "getmouselocation", "--shell"], capture_output=True, text=True).stdout
    values = dict(line.split("=", 1) for line in where.split() if "=" in line)
    # "--sync" waits for the pointer to move, which it never does when it is there already.
    if (values.get("X"), values.get("Y")) != (str(x), str(y)):
        xdotool("mousemove", "--sync", str(x), str(y))
    xdotool("click", button)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)
