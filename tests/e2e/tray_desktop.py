#!/usr/bin/env python3
"""The real kestrin.exe in a Wine desktop with a task bar, used as a user uses
it: its icon in the task bar's notification area and its task-bar button
clicked with the X pointer, its boxes answered from the X keyboard, its main
window minimised, and the program closed as Windows closes it (taskkill's
WM_CLOSE), also when its settings file cannot be written. Wine's Notepad, in
the same desktop, stands for the other program the user works in.

What the user sees is observed twice over: a probe inside the same desktop
reports the program's windows (window_probe.exe), and the notification area is
read from screenshots of the desktop, where the icon is found by its colours.

Run inside tools/with-wine-session (ctest does): the Wine prefix, WINEDEBUG
and the X display come from there.
  tray_desktop.py --exe kestrin.exe --probe window_probe.exe --artifacts DIR
"""

import os
import re
import shutil
import socket
import stat
import subprocess
import sys
import tempfile
import threading
import unittest

from e2e_support import PATIENCE, free_port, parse_arguments, wait_until

ARGS = None
DESKTOP = "shell"
SIZE = (1024, 768)
# The icon's background, a dark slate the task bar never shows.
ICON_COLOUR = (0x2E, 0x3B, 0x4A)
ICON_TOLERANCE = 24
ICON_MINIMUM_PIXELS = 40  # of the 16 x 16 icon, most are its background

QUIET = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def read_ppm(data):
    """Width, height and the RGB bytes of a binary PPM image."""
    match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    assert match, "not an 8-bit PPM image"
    return int(match.group(1)), int(match.group(2)), data[match.end():]


class Desktop:
    """kestrin.exe started from a scratch directory of its own, in a Wine
    desktop with a task bar, as `make run` starts it."""

    def __init__(self, settings):
        self.directory = tempfile.mkdtemp(prefix="kestrin_tray_")
        shutil.copy(ARGS.exe, self.directory)
        with open(self.path("config.cfg"), "wb") as f:
            f.write(settings.replace("\n", "\r\n").encode("ascii"))
        self.process = subprocess.Popen(["wine", "explorer", "/desktop=%s,%dx%d" % ((DESKTOP,) + SIZE),
                                         "kestrin.exe"], cwd=self.directory, **QUIET)
        self.window = None
        self.probe = None
        self.notepad = None

    def enter(self):
        """Waits for the desktop, then starts the probe inside it."""
        assert wait_until(self.find_desktop_window), "the Wine desktop did not appear"
        self.probe = subprocess.Popen(["wine", ARGS.probe, DESKTOP], stdin=subprocess.PIPE,
                                      stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.ask("state")

    def path(self, *parts):
        return os.path.join(self.directory, *parts)

    def find_desktop_window(self):
        found = subprocess.run(["xdotool", "search", "--name", "^%s - Wine desktop$" % DESKTOP],
                               capture_output=True, text=True).stdout.split()
        self.window = found[0] if found else None
        return self.window is not None

    # What the probe sees.

    def ask(self, command):
        self.probe.stdin.write(command + "\n")
        self.probe.stdin.flush()
        line = self.probe.stdout.readline()
        assert line, "the probe ended (it cannot enter the desktop?)"
        return line.rstrip("\n")

    def state(self):
        return {key: int(value) for key, value in (pair.split("=") for pair in self.ask("state").split())}

    def holds(self, **expected):
        state = self.state()
        return all(state[key] == value for key, value in expected.items())

    def taskbar(self):
        """The task bar's rectangle and those of its buttons (the start button first)."""
        numbers = [int(n) for n in self.ask("taskbar").split()]
        rectangles = [tuple(numbers[i:i + 4]) for i in range(0, len(numbers), 4)]
        return rectangles[0], rectangles[1:]

    def task_buttons(self):
        """The task bar's buttons beside the start button."""
        return len(self.taskbar()[1]) - 1

    def foreground(self):
        """The foreground window: its "class", whether it is "seen" and whether
        it is "kestrin"'s ("1" or "0"); empty when there is none."""
        answer = self.ask("foreground")
        return {} if answer == "none" else dict(pair.split("=", 1) for pair in answer.split())

    def in_front(self, window_class, kestrin=True):
        front = self.foreground()
        return front.get("class") == window_class and front.get("seen") == "1" and \
            front.get("kestrin") == ("1" if kestrin else "0")

    # What the screen shows.

    def icon(self):
        """The centre of the program's icon in the notification area, or None:
        the pixels of its colour right of the task bar's buttons."""
        bar, buttons = self.taskbar()
        left = max([bar[0]] + [button[2] for button in buttons])
        top, right, bottom = bar[1], bar[2], bar[3]
        if right <= left:
            return None
        shot = subprocess.run(["import", "-window", self.window, "-depth", "8", "ppm:-"], capture_output=True).stdout
        if not shot:
            return None
        width, _, pixels = read_ppm(shot)
        xs, ys = [], []
        for y in range(top, bottom):
            for x in range(left, right):
                i = 3 * (y * width + x)
                if all(abs(pixels[i + c] - ICON_COLOUR[c]) <= ICON_TOLERANCE for c in range(3)):
                    xs.append(x)
                    ys.append(y)
        if len(xs) < ICON_MINIMUM_PIXELS:
            return None
        return (min(xs) + max(xs)) // 2, (min(ys) + max(ys)) // 2

    def icon_present(self):
        return self.icon() is not None

    def icon_absent(self):
        return self.icon() is None

    def picture(self, name):
        os.makedirs(ARGS.artifacts, exist_ok=True)
        subprocess.run(["import", "-window", self.window, os.path.join(ARGS.artifacts, name + ".png")],
                       check=False)

    # What the user does.

    def click_icon(self, button, clicks=1):
        where = self.icon()
        assert where is not None, "no icon in the notification area"
        subprocess.run(["xdotool", "mousemove", "--window", self.window, str(where[0]), str(where[1]),
                        "click", "--repeat", str(clicks), str(button),
                        # Away from the task bar, so no tooltip covers the icon.
                        "mousemove", "--window", self.window, str(SIZE[0] // 2), "40"], check=True)

    def click_task_button(self):
        """A click on the program's task-bar button, followed through: the task
        bar has handled it once the button is up again, and the program has
        taken what the task bar sent it once it answers the probe's "sync"."""
        left, top, right, bottom, _ = (int(n) for n in self.ask("taskbutton").split())
        self.xdotool("mousemove", "--window", self.window, str((left + right) // 2), str((top + bottom) // 2),
                     "mousedown", "1")
        assert wait_until(lambda: self.ask("taskbutton").endswith(" 1")), "the task-bar button did not go down"
        self.xdotool("mouseup", "1")
        assert wait_until(lambda: self.ask("taskbutton").endswith(" 0")), "the task-bar button did not come up"
        assert self.ask("sync") == "ok", "the program does not answer"

    @staticmethod
    def xdotool(*arguments):
        """Through the X server's own input: keys go to the window that has the keyboard."""
        subprocess.run(["xdotool"] + list(arguments), check=True)

    def start_notepad(self):
        self.notepad = subprocess.Popen(["wine", "explorer", "/desktop=%s" % DESKTOP, "notepad"], **QUIET)

    def close(self):
        """What Windows' taskkill without /F does: WM_CLOSE to the program's
        windows. Run inside the desktop, where it can see them."""
        subprocess.run(["wine", "explorer", "/desktop=%s" % DESKTOP, "taskkill", "/IM", "kestrin.exe"],
                       check=False, **QUIET)

    def discard(self):
        if self.probe is None or self.probe.poll() is not None or self.state()["running"]:
            subprocess.run(["wine", "taskkill", "/F", "/IM", "kestrin.exe"], check=False, **QUIET)
        if self.notepad is not None:
            subprocess.run(["wine", "taskkill", "/F", "/IM", "notepad.exe"], check=False, **QUIET)
            self.notepad.wait(PATIENCE)
        if self.probe is not None:
            if self.probe.poll() is None:
                wait_until(lambda: self.holds(running=0))
            self.probe.stdin.close()
            self.probe.wait(PATIENCE)
            self.probe.stdout.close()
        # The desktop closes once nothing uses it.
        try:
            self.process.wait(PATIENCE)
        except subprocess.TimeoutExpired:
            self.process.terminate()
            self.process.wait(PATIENCE)
        make_writable(self.path("config.cfg"))
        shutil.rmtree(self.directory, ignore_errors=True)


def make_read_only(path):
    os.chmod(path, stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
    if os.geteuid() == 0:
        # The permission bits bind nobody for root; the file system's immutable flag does.
        subprocess.run(["chattr", "+i", path], check=False, **QUIET)


def make_writable(path):
    if os.geteuid() == 0:
        subprocess.run(["chattr", "-i", path], check=False, **QUIET)
    os.chmod(path, stat.S_IRUSR | stat.S_IWUSR | stat.S_IRGRP | stat.S_IROTH)


def refuses_writes(path):
    try:
        with open(path, "ab"):
            return False
    except OSError:
        return True


def settings(port, balloons=False):
    # Nothing listens on port 9 of the loopback address.
    return ("[Main]\nPort=%d\nIPVersion=IPV4\nERROR=1\nWARNING=1\nInfos=1\nViewHint=%d\n"
            "IP1=http://127.0.0.1:9/\nIP2=http://127.0.0.1:9/\n" % (port, balloons))


class TrayDesktop(unittest.TestCase):
    def start(self, port=None, balloons=False):
        desktop = Desktop(settings(port or free_port(), balloons))
        self.addCleanup(desktop.discard)
        desktop.enter()
        # How the desktop looked at the end, passed or failed.
        self.addCleanup(desktop.picture, "end-" + self._testMethodName)
        # In the tray: the notification window and its icon, nothing else.
        self.assertTrue(wait_until(lambda: desktop.holds(notify=1) and desktop.icon_present()),
                        "no icon in the notification area")
        self.assertEqual(desktop.state()["main"], 0)
        self.hidden(desktop)
        return desktop

    def shown(self, desktop, step):
        """The main window, with its caption, and its task-bar button are there,
        and the window is the foreground window, ready for the keyboard."""
        self.assertTrue(wait_until(lambda: desktop.holds(main=1, iconic=0, button=1, foreground=1)),
                        "%s: the main window did not open: %s" % (step, desktop.state()))
        self.assertTrue(wait_until(lambda: desktop.task_buttons() == 1), "%s: no task-bar button" % step)
        self.assertRegex(desktop.ask("caption"), r"^Kestrin \d+\.\d+ ")

    def hidden(self, desktop):
        self.assertTrue(wait_until(lambda: desktop.holds(main=0, button=0) and desktop.task_buttons() == 0),
                        "the main window or its task-bar button did not go: %s" % desktop.state())

    def refuse_settings_writes(self, desktop):
        make_read_only(desktop.path("config.cfg"))
        if not refuses_writes(desktop.path("config.cfg")):
            self.skipTest("no way to make a file read-only for this user here")

    def minimise(self, desktop, step):
        self.assertEqual(desktop.ask("minimise"), "ok")
        self.hidden(desktop)
        self.assertTrue(wait_until(desktop.icon_present), "%s: the icon did not come back" % step)
        desktop.picture(step)

    def test_clicks_on_the_icon_open_the_window_and_minimising_goes_back_to_the_tray(self):
        desktop = self.start()
        desktop.picture("1-start")

        # A left click: the window opens and the icon goes.
        desktop.click_icon(1)
        self.shown(desktop, "first left click")
        self.assertTrue(wait_until(desktop.icon_absent), "first left click: the icon stayed")
        self.assertEqual(desktop.state()["main"], 1, "first left click: the window went again")
        desktop.picture("2-left-click")
        self.minimise(desktop, "3-minimised")

        # A right click: the window opens and the icon stays.
        desktop.click_icon(3)
        self.shown(desktop, "right click")
        self.assertTrue(desktop.icon_present(), "right click: the icon went")
        desktop.picture("4-right-click")
        self.assertTrue(desktop.icon_present(), "right click: the icon went after a while")
        self.assertEqual(desktop.state()["main"], 1, "right click: the window went again")
        self.minimise(desktop, "5-minimised")

        # A left click again: the window opens as the first time.
        desktop.click_icon(1)
        self.shown(desktop, "left click after the right click")
        self.assertTrue(wait_until(desktop.icon_absent), "left click after the right click: the icon stayed")
        desktop.picture("6-left-click-again")
        self.assertEqual(desktop.state()["main"], 1, "left click after the right click: the window went again")

    def test_a_window_minimised_by_another_program_comes_back_with_one_click(self):
        desktop = self.start()
        desktop.click_icon(1)
        self.shown(desktop, "left click")
        self.assertEqual(desktop.ask("minimise-outside"), "ok")
        self.hidden(desktop)
        self.assertTrue(wait_until(desktop.icon_present), "minimised from outside: no icon in the tray")
        desktop.click_icon(1)
        self.shown(desktop, "one left click after the minimise from outside")

    def test_a_close_sent_during_deliveries_ends_the_program(self):
        # A flood of listed entries with balloons keeps the program delivering.
        port = free_port()
        desktop = self.start(port, balloons=True)
        flooding = threading.Event()
        flooding.set()

        def flood():
            with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sender:
                while flooding.is_set():
                    sender.sendto(b"<11>router: link down", ("127.0.0.1", port))
        sender = threading.Thread(target=flood)
        sender.start()
        try:
            self.assertEqual(desktop.ask("send-close"), "ok")
            self.assertTrue(wait_until(lambda: desktop.holds(running=0)), "the program did not end")
        finally:
            flooding.clear()
            sender.join()
        self.assertEqual(desktop.state()["exit"], 0)
        with open(desktop.path("config.cfg"), "rb") as f:
            self.assertIn(b"ViewHint=1\r\n", f.read())

    def test_a_close_that_cannot_store_the_settings_keeps_the_program_in_the_tray(self):
        desktop = self.start()
        self.refuse_settings_writes(desktop)
        desktop.close()
        self.assertTrue(wait_until(lambda: desktop.state()["box"] > 0), "no error box: %s" % desktop.state())
        self.assertTrue(wait_until(lambda: "config.cfg" in desktop.ask("boxtext")), desktop.ask("boxtext"))
        desktop.picture("close-1-error-box")
        # taskkill closes each of the program's windows: every box that comes is pressed away.
        while desktop.state()["box"] > 0:
            boxes = desktop.state()["box"]
            self.assertEqual(desktop.ask("dismiss"), "ok")
            self.assertTrue(wait_until(lambda: desktop.state()["box"] < boxes), "the error box stayed")
        desktop.picture("close-2-dismissed")

        # Still running, still in the tray, and its icon still answers.
        self.assertEqual(desktop.state()["running"], 1)
        self.assertTrue(wait_until(lambda: desktop.holds(notify=1) and desktop.icon_present(), 5.0),
                        "the close took the icon away: %s" % desktop.state())
        desktop.click_icon(1)
        self.shown(desktop, "left click after the abandoned close")
        self.assertTrue(wait_until(desktop.icon_absent), "left click after the abandoned close: the icon stayed")
        desktop.picture("close-3-window")

        # With the file writable again the next close ends the program.
        make_writable(desktop.path("config.cfg"))
        desktop.close()
        self.assertTrue(wait_until(lambda: desktop.holds(running=0)), "the program did not end")
        self.assertEqual(desktop.state()["exit"], 0)
        with open(desktop.path("config.cfg"), "rb") as f:
            self.assertIn(b"ViewHint=0\r\n", f.read())

    def test_after_a_refused_close_from_the_tray_the_keyboard_goes_back_to_the_program_in_front(self):
        desktop = self.start()
        self.refuse_settings_writes(desktop)
        desktop.start_notepad()
        self.assertTrue(wait_until(lambda: desktop.in_front("Notepad", kestrin=False)),
                        "Notepad did not come to the front: %s" % desktop.foreground())
        desktop.close()
        self.assertTrue(wait_until(lambda: desktop.state()["box"] == 1 and desktop.in_front("#32770")),
                        "the error box is not in front: %s %s" % (desktop.state(), desktop.foreground()))
        desktop.picture("keyboard-1-error-box")

        desktop.xdotool("key", "Return")
        self.assertTrue(wait_until(lambda: desktop.state()["dialogs"] == 0), "Enter did not close the error box")
        self.assertTrue(wait_until(lambda: desktop.in_front("Notepad", kestrin=False)),
                        "the keyboard did not go back to Notepad: %s" % desktop.foreground())
        desktop.xdotool("type", "abc")
        self.assertTrue(wait_until(lambda: desktop.ask("notepad") == "abc"),
                        "typing did not reach Notepad: %r" % desktop.ask("notepad"))
        desktop.picture("keyboard-2-typed")
        self.assertEqual(desktop.state()["running"], 1)
        self.assertTrue(wait_until(desktop.icon_present), "the icon went")

    def test_a_box_keeps_the_front_and_holds_off_a_minimise_until_it_is_closed(self):
        desktop = self.start()
        desktop.click_icon(1)
        self.shown(desktop, "left click")
        desktop.xdotool("key", "alt+a")
        self.assertTrue(wait_until(lambda: desktop.state()["dialogs"] == 1 and desktop.in_front("#32770")),
                        "Alt+A: no About box in front: %s %s" % (desktop.state(), desktop.foreground()))

        # Wine's task bar makes the button's window the foreground window.
        desktop.click_task_button()
        self.assertTrue(wait_until(lambda: desktop.in_front("#32770")),
                        "task-bar button: the About box lost the front to %s" % desktop.foreground())
        desktop.picture("box-1-task-bar-button")

        # A click on the button of the application in front minimises it.
        # Wine's task bar does so only while the button's own window is the
        # foreground window, so the probe sends what it would send.
        self.assertEqual(desktop.ask("minimise-application"), "ok")
        state = desktop.state()
        self.assertEqual((state["dialogs"], state["main"], state["button"]), (1, 1, 1),
                         "minimised under the About box: %s" % state)
        self.assertTrue(desktop.in_front("#32770"), "minimised: the About box lost the front to %s"
                        % desktop.foreground())
        desktop.picture("box-2-minimise-waits")

        # Closing the box carries out the minimise that waited for it.
        desktop.xdotool("key", "Return")
        self.hidden(desktop)
        self.assertTrue(wait_until(lambda: desktop.state()["dialogs"] == 0 and desktop.icon_present()),
                        "closed the About box: not in the tray: %s" % desktop.state())
        front = desktop.foreground()
        self.assertFalse(front.get("kestrin") == "1" and front.get("seen") == "0",
                         "in the tray: a hidden window of the program has the foreground: %s" % front)
        desktop.picture("box-3-in-tray")

    def test_after_a_double_click_on_the_icon_the_lists_menu_takes_the_keyboard(self):
        port = free_port()
        line = "test line %d" % port  # not what an earlier run left in the clipboard
        desktop = self.start(port)
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sender:
            sender.sendto(b"<11>" + line.encode("ascii"), ("127.0.0.1", port))
        desktop.click_icon(3)
        self.shown(desktop, "right click")
        self.assertTrue(wait_until(lambda: desktop.ask("list").endswith(" 1")), "the line is not listed")
        left, top, right, _, _ = (int(n) for n in desktop.ask("list").split())
        row = ["mousemove", "--window", desktop.window, str((left + right) // 2), str(top + 8)]
        # The row selected, the menu opened once and closed.
        desktop.xdotool(*row, "click", "1", "click", "3")
        self.assertTrue(wait_until(lambda: desktop.ask("menu") == "1"), "the list's menu did not open")
        desktop.xdotool("key", "Escape")
        self.assertTrue(wait_until(lambda: desktop.ask("menu") == "0"), "Escape did not close the menu")

        desktop.start_notepad()
        self.assertTrue(wait_until(lambda: desktop.in_front("Notepad", kestrin=False)),
                        "Notepad did not come to the front: %s" % desktop.foreground())
        desktop.click_icon(1, clicks=2)
        self.assertTrue(wait_until(lambda: desktop.holds(main=1, foreground=1)),
                        "double click: the window is not in front: %s" % desktop.foreground())
        desktop.xdotool(*row, "click", "3")
        self.assertTrue(wait_until(lambda: desktop.ask("menu") == "1"), "double click: the menu did not open")
        desktop.xdotool("key", "y")
        self.assertTrue(wait_until(lambda: desktop.ask("menu") == "0"), "\"y\" did not close the menu")
        self.assertTrue(wait_until(lambda: desktop.ask("clipboard").endswith(line)),
                        "\"y\" did not copy the line: %r" % desktop.ask("clipboard"))


def main():
    global ARGS
    ARGS, rest = parse_arguments("--probe")
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
