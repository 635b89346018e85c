"""The end-to-end walk: a new user's first start, an administrator's publication, the check
that finds it, the update applied while the program runs, the exit from the tray menu and a
second start; read and driven through the accessibility bus. Started by run.sh."""
import argparse
import filecmp
import os
import shutil
import subprocess
import sys
import time

import pyatspi

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_driver import (WalkFailure, application, click, click_at, describe_windows, dump, find,  # noqa: E402
                          find_all, key, list_items, message_box, press, showing, text_value, texts_of,
                          type_into_focus, wait_for, window)

PROGRAM = "Tool"
PASSWORD = "Quicksilver"


class Walk:
    def __init__(self, args):
        self.args = args
        self.app_folder = os.path.join(args.work, "app")
        self.program_folder = os.path.join(args.work, "programs", PROGRAM)
        self.process = None
        self.app = None
        self.started = time.monotonic()
        self.step = "setting up"

    # --- what the walk needs around it -------------------------------------------------
    def prepare_folders(self):
        os.makedirs(self.app_folder)
        shutil.copy2(self.args.updater, os.path.join(self.app_folder, "Updater"))
        # The installed program: a real executable (a copy of sleep) and its version file.
        os.makedirs(self.program_folder)
        shutil.copy2("/bin/sleep", os.path.join(self.program_folder, PROGRAM + ".exe"))
        with open(os.path.join(self.program_folder, "version.info"), "wb") as f:
            f.write(b"1\r\n")
        # Its next version in the share, in the subfolder named after the program: an
        # executable that differs from the installed one (still a working sleep: the loader
        # ignores bytes after the image), its version file and one more file.
        published = os.path.join(self.args.share, PROGRAM)
        os.makedirs(published)
        with open("/bin/sleep", "rb") as f:
            executable = f.read() + b"\0Tool version 2\0"
        with open(os.path.join(published, PROGRAM + ".exe"), "wb") as f:
            f.write(executable)
        os.chmod(os.path.join(published, PROGRAM + ".exe"), 0o644)
        with open(os.path.join(published, "version.info"), "wb") as f:
            f.write(b"2\r\n")
        with open(os.path.join(published, "readme.txt"), "wb") as f:
            f.write(b"Tool 2: what is new.\r\n")

    def start_updater(self):
        log = open(os.path.join(self.args.work, "updater.log"), "ab")
        self.process = subprocess.Popen([os.path.join(self.app_folder, "Updater")], cwd=self.args.work,
                                        stdout=log, stderr=subprocess.STDOUT)
        self.app = wait_for("the Updater on the accessibility bus", lambda: application("Updater"))

    def screenshot(self, name, window_caption=None):
        target = os.path.join(self.args.screenshots, name + ".png")
        window_id = "root"
        if window_caption:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{window_caption}$"],
                                   capture_output=True, text=True).stdout.split()
            if found:
                window_id = found[0]
        subprocess.run(["import", "-window", window_id, target], check=True)

    def enter_path_in_file_dialog(self, path):
        """Qt's own file dialog: the name field has the focus; a full path and Enter choose."""
        time.sleep(0.5)
        key("ctrl+a")
        type_into_focus(path)
        key("Return")

    def answer(self, expected, button):
        self.step = f'answering "{expected}"'
        box, text = message_box(self.app)
        if expected not in text:
            raise WalkFailure(f'Expected the message "{expected}", the box says "{text}"')
        press(box, button)

    # --- the walk ---------------------------------------------------------------------
    def first_start(self):
        self.step = "first start in an empty folder"
        self.start_updater()
        self.answer("There is no update path specified. Do you wish to specify one?", "Yes")

        self.step = "choosing the update folder"
        location = window(self.app, "Set Update Location")
        press(location, "Select")
        self.enter_path_in_file_dialog(self.args.update_folder)
        wait_for("the chosen folder in the edit", lambda: self.args.update_folder in text_value(find(location, "text")))
        press(location, "Close")

        self.answer("There is no available programs listed. Do you wish to add some?", "Yes")
        self.step = "registering a program"
        programs = window(self.app, "Programs")
        press(programs, "New")
        entry = window(self.app, "New program")
        press(entry, "Select")
        self.enter_path_in_file_dialog(os.path.join(self.program_folder, PROGRAM + ".exe"))
        wait_for("the program name filled in", lambda: any(PROGRAM == text_value(t) for t in find_all(entry, "text")))
        press(entry, "Add")
        self.screenshot("programs-dialog", "Programs")
        press(programs, "Save & Close")
        # Nothing is published yet: the first check finds no "update.conf" and says nothing.
        time.sleep(1)
        box = find(self.app, "alert", "Updater", showing=True)
        if box is not None:
            raise WalkFailure(f'Unexpected message after registering: "{" ".join(texts_of(box))}"')
        main = window(self.app, "Program Updater")
        return main

    def find_update(self):
        self.step = "checking for updates"
        main = self.main_window()
        self.menu(main, "Check For Updates")
        expected = f"1 - {PROGRAM} | {self.published}"
        wait_for(f'the entry "{expected}" in the found updates', lambda: expected in list_items(find(main, "list")))
        self.step = "clicking the balloon"
        balloon = wait_for('the balloon "Update Available"',
                           lambda: find(self.app, "label", "Update Available", showing=True))
        message = " ".join(label.name for label in find_all(balloon.parent, "label"))
        if "There is 1 update available. Click here to update!" not in message:
            raise WalkFailure(f'The balloon says "{message}"')
        self.screenshot("balloon")
        click(balloon)
        main = window(self.app, "Program Updater")
        self.screenshot("main-window", "Program Updater")
        return main

    def apply_update(self, main):
        """The road of one update, with the program running while the user asks for it."""
        self.step = "starting the installed program"
        executable = os.path.join(self.program_folder, PROGRAM + ".exe")
        running = subprocess.Popen([executable, "600"])
        try:
            self.step = "checking the found entry"
            entry = f"1 - {PROGRAM} | {self.published}"
            item = wait_for(f'the entry "{entry}"', lambda: find(find(main, "list"), "list item", entry))
            tick(item)
            wait_for(f'a check mark on "{entry}"', lambda: item.getState().contains(pyatspi.STATE_CHECKED))

            self.step = 'pressing "Update Selected"'
            click(find(main, "push button", "Update Selected"))
            self.step = "answering the running-instance message"
            box, text = message_box(self.app)
            if f"The update software found a running instance of the program: {PROGRAM}" not in text or \
                    "Please close the program before you Click OK!" not in text:
                raise WalkFailure(f'Expected the running-instance message, the box says "{text}"')
            # The user leaves the program open: OK ends it.
            click(find(box, "push button", "OK"))
            wait_for("the running program to be ended", lambda: running.poll() is not None)

            self.step = "reading the finished message"
            box, text = wait_for("the finished message", lambda: finished_message(self.app))
            click(find(box, "push button", "OK"))
        finally:
            if running.poll() is None:
                running.kill()
            running.wait()

        self.step = "checking the updated program"
        wait_for("the found updates list to be empty", lambda: not list_items(find(main, "list")))
        published = os.path.join(self.args.share, PROGRAM)
        for name in (PROGRAM + ".exe", "version.info", "readme.txt"):
            if not filecmp.cmp(os.path.join(published, name), os.path.join(self.program_folder, name), shallow=False):
                raise WalkFailure(f'"{name}" in the program folder is not the published one')
        if not os.access(executable, os.X_OK):
            raise WalkFailure(f'The updated "{PROGRAM}.exe" lost its execute permission')
        self.check_registered_version(self.published)

    def check_registered_version(self, version):
        registered = open(os.path.join(self.app_folder, "programs.conf"), "rb").read()
        if len(registered) != 528 or registered[5:5 + len(PROGRAM)] != PROGRAM.encode():
            raise WalkFailure(f'"programs.conf" does not hold the one registered program: {registered[:40]!r}')
        text = str(version).encode()
        if registered[516] != len(text) or registered[517:517 + len(text)] != text:
            raise WalkFailure(f'"programs.conf" registers version {registered[516:528]!r}, not {version}')

    def exit_from_tray(self):
        self.step = 'choosing "Exit Application" in the tray menu'
        self.tray_icon_click("3")
        # Qt leaves a popup menu without a parent off the accessibility tree, so the menu is
        # found as a window on screen and driven with the keyboard: Up from no current item
        # goes to the last one, "Exit Application".
        wait_for("the tray menu on screen", lambda: self.popup_window())
        key("Up")
        key("Return")
        wait_for("the program to end", lambda: self.process.poll() is not None)
        if self.process.returncode != 0:
            raise WalkFailure(f"The program ended with status {self.process.returncode}")

    def second_start(self):
        self.step = "starting again"
        self.start_updater()
        main = wait_for("the main window", lambda: find(self.app, "frame", "Program Updater"))
        # Nothing new is published: no balloon, no message, and after a second the tray.
        wait_for("the main window to go to the tray", lambda: not showing(main), timeout=10)
        if find(self.app, "label", "Update Available", showing=True):
            raise WalkFailure('The balloon "Update Available" is shown, with nothing new published')
        self.step = "bringing the window back from the tray"
        main = self.main_window()
        if list_items(find(main, "list")):
            raise WalkFailure(f"The second start lists updates: {list_items(find(main, 'list'))}")
        self.check_registered_version(self.published)

    @property
    def step(self):
        return self._step

    @step.setter
    def step(self, what):
        self._step = what
        if os.environ.get("E2E_VERBOSE"):
            self.say(what)

    def say(self, what):
        print(f"walk: {time.monotonic() - self.started:5.1f} s  {what}", flush=True)

    def run(self):
        self.prepare_folders()
        self.first_start()
        self.say("first start done")
        self.publish()
        self.say("published")
        main = self.find_update()
        self.say("found the update")
        self.apply_update(main)
        self.say("applied the update")
        self.exit_from_tray()
        self.say("exited from the tray menu")
        self.second_start()
        self.say("the second start finds nothing new")
        self.exit_from_tray()

    def menu(self, window_node, *path):
        """Opens the menu bar's menus along the path with the mouse, the last item chosen."""
        for caption in path:
            item = wait_for(f'the menu item "{caption}" on screen',
                            lambda: find(window_node, "menu item", caption, showing=True))
            click(item)

    def tray_icon_click(self, button="1"):
        """The tray icon is the program's small window embedded in the tray host."""
        windows = self.visible_windows()
        icon = next(((x, y, w, h) for _, x, y, w, h in windows if w <= 48 and h <= 48 and x >= 0 and y >= 0), None)
        if icon is None:
            raise WalkFailure(f"No tray icon of the Updater in the tray (its windows on screen: {windows})")
        x, y, width, height = icon
        click_at(x + width // 2, y + height // 2, button)

    def visible_windows(self):
        """(x, y, width, height) of every window of the program on screen."""
        found = []
        for window_id in subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid)],
                                        capture_output=True, text=True).stdout.split():
            info = subprocess.run(["xwininfo", "-id", window_id], capture_output=True, text=True).stdout
            values = dict(line.strip().split(":", 1) for line in info.splitlines() if ":" in line)
            if "IsViewable" in values.get("Map State", ""):
                found.append((window_id, int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                              int(values["Width"]), int(values["Height"])))
        return found

    def popup_window(self):
        main = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Program Updater$"],
                              capture_output=True, text=True).stdout.split()
        return next((w for w in self.visible_windows() if w[0] not in main and (w[3] > 48 or w[4] > 48)), None)

    def main_window(self):
        """The main window on screen, brought up from the tray when it is hidden there."""
        # Hidden in the tray the window gives up its native window, and with it its place on
        # the accessibility bus.
        main = find(self.app, "frame", "Program Updater")
        if main is None or not showing(main):
            self.tray_icon_click()
        return window(self.app, "Program Updater")

    def publish(self):
        self.step = "logging in to the admin console"
        self.menu(self.main_window(), "Options", "Admin Console")
        login = window(self.app, "Admin Console Login")
        field = wait_for("the password field", lambda: find(login, "password text") or find(login, "text"))
        click(field)
        type_into_focus(PASSWORD)
        press(login, "OK")
        self.answer("If your name isn't Torvin. Please don't use this feature! In this case please Select Close Button!",
                    "OK")
        console = window(self.app, "Admin Console")

        self.step = "publishing a higher version in the admin console"
        click(wait_for("the program list", lambda: find(console, "combo box")))
        click(wait_for(f'"{PROGRAM}" offered', lambda: find(self.app, "list item", PROGRAM, showing=True)))
        press(console, "Add")
        updates = wait_for("the update list", lambda: find_all(console, "list")[-1])
        entry = wait_for(f'"{PROGRAM}" in the update list', lambda: find(updates, "list item", PROGRAM))
        click(entry)
        # Checked: the whole folder is copied, not the executable alone.
        tick(entry)
        wait_for(f'a check mark on "{PROGRAM}"', lambda: entry.getState().contains(pyatspi.STATE_CHECKED))
        shown = wait_for("the entry's version", lambda: version_label(console).name not in ("", "0") and
                         int(version_label(console).name))
        click(spin_up(console))
        self.published = shown + 1
        wait_for(f'the version "{self.published}"', lambda: version_label(console).name == str(self.published))
        press(console, "Update")
        self.screenshot("admin-console", "Admin Console")
        click(find(console, "push button", "Export Update Version File"))
        self.answer("Do you wish to create the update versio file?", "Yes")
        wait_for('"update.conf" in the share', lambda: os.path.exists(os.path.join(self.args.share, "update.conf")))
        press(console, "Close")
        wait_for("the admin console closed", lambda: not find(self.app, "dialog", "Admin Console"))


def version_label(console):
    """The label right after "Version:"."""
    labels = find_all(console, "label")
    captions = [label.name for label in labels]
    return labels[captions.index("Version:") + 1]


def spin_up(console):
    named = find(console, "push button", "Up")
    if named:
        return named
    return [b for b in find_all(console, "push button") if not b.name][0]


def tick(item):
    """A click on the check box at the left end of a list entry."""
    extents = item.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    click_at(extents.x + extents.height // 2 + 1, extents.y + extents.height // 2)


def finished_message(app):
    box, text = message_box(app)
    if "The update software found a running instance" in text:
        # The ended program is still on its way out: the user answers once more.
        click(find(box, "push button", "OK"))
        return None
    if "Update Process Finished Succesfully" not in text:
        raise WalkFailure(f'Expected "Update Process Finished Succesfully", the box says "{text}"')
    return box, text


def main():
    parser = argparse.ArgumentParser()
    for name in ("--updater", "--work", "--share", "--update-folder", "--screenshots"):
        parser.add_argument(name, required=True)
    walk = Walk(parser.parse_args())
    started = time.monotonic()
    try:
        walk.run()
    except Exception as error:
        print(f"FAILED while {walk.step}: {error}", file=sys.stderr)
        if walk.app is not None:
            print(f"Open windows: {describe_windows(walk.app)}", file=sys.stderr)
            dump(walk.app, sys.stderr)
        try:
            walk.screenshot("failure")
            print(f"Screen at failure: {os.path.join(walk.args.screenshots, 'failure.png')}", file=sys.stderr)
        except Exception:
            pass
        log = os.path.join(walk.args.work, "updater.log")
        if os.path.exists(log):
            print("Updater's output:\n" + open(log, errors="replace").read(), file=sys.stderr)
        return 1
    finally:
        if walk.process is not None and walk.process.poll() is None:
            walk.process.kill()
            walk.process.wait()
    print(f"walk: passed in {time.monotonic() - started:.0f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
