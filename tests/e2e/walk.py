"""The end-to-end walk: a new user's first start, an administrator's publication and the
check that finds it, read and driven through the accessibility bus. Started by run.sh."""
import argparse
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_driver import (WalkFailure, application, describe_windows, dump, find, key, list_items,  # noqa: E402
                          message_box, press, type_into_focus, wait_for, window)

PROGRAM = "Tool"
PASSWORD = "Quicksilver"


class Walk:
    def __init__(self, args):
        self.args = args
        self.app_folder = os.path.join(args.work, "app")
        self.program_folder = os.path.join(args.work, "programs", PROGRAM)
        self.process = None
        self.app = None
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
        # Its next version in the share: the subfolder named after the program.
        published = os.path.join(self.args.share, PROGRAM)
        os.makedirs(published)
        shutil.copy2("/bin/sleep", os.path.join(published, PROGRAM + ".exe"))
        with open(os.path.join(published, "version.info"), "wb") as f:
            f.write(b"2\r\n")

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
        edit = wait_for("the chosen folder in the edit",
                        lambda: find(location, "text") if find(location, "text") and
                        self.args.update_folder in text_of(find(location, "text")) else None)
        press(location, "Close")

        self.answer("There is no available programs listed. Do you wish to add some?", "Yes")
        self.step = "registering a program"
        programs = window(self.app, "Programs")
        press(programs, "New")
        entry = window(self.app, "New program")
        press(entry, "Select")
        self.enter_path_in_file_dialog(os.path.join(self.program_folder, PROGRAM + ".exe"))
        wait_for("the program name filled in", lambda: find(entry, "text", None) and
                 any(PROGRAM == text_of(t) for t in all_texts(entry)))
        press(entry, "Add")
        self.screenshot("programs-dialog", "Programs")
        press(programs, "Save & Close")
        main = window(self.app, "Program Updater")
        return main

    def run(self):
        self.prepare_folders()
        self.first_start()
        print("walk: first start done")


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except Exception:
        return node.name


def all_texts(node):
    from atspi_driver import find_all
    return find_all(node, "text")


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
