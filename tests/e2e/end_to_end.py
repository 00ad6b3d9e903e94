#!/usr/bin/env python3
"""The real kestrin.exe under Wine, driven from outside as a user and the
devices would: settings written into a scratch program directory, datagrams
from this machine (also through the system's own `logger`), the program
ended the way Windows ends it (WM_CLOSE through taskkill), and the bytes of
every file it leaves checked.

Run inside tools/with-wine-session (ctest does): the Wine prefix, WINEDEBUG
and the X display come from there.
  end_to_end.py --exe kestrin.exe --hold-file hold_file.exe --artifacts DIR
"""

import datetime
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

from e2e_support import PATIENCE, free_port, parse_arguments, wait_until

ARGS = None
LINE = re.compile(rb"^[^\r\n]*: [^\r\n]* >>[A-Za-z0-9 ]+\.[A-Za-z]+<<")


def send(port, data, family=socket.AF_INET):
    host = "127.0.0.1" if family == socket.AF_INET else "::1"
    with socket.socket(family, socket.SOCK_DGRAM) as s:
        s.sendto(data, (host, port))


def queue_empty(port):
    """True once the program's IPv4 socket has nothing waiting in the system's
    receive queue: its listener took the last datagram, which it does only
    after the one before has been handled completely."""
    out = subprocess.run(["ss", "-uanH", "sport = :%d" % port], capture_output=True, text=True).stdout
    queues = [int(line.split()[1]) for line in out.splitlines() if "0.0.0.0:" in line or "*:" in line]
    return bool(queues) and all(q == 0 for q in queues)


def handled_before_probes(port):
    """Waits until every datagram sent so far has been handled: two probes
    follow them, and the second one leaving the queue means the first, and
    all before it, were handled. The probes may or may not give lines."""
    send(port, b"<14>host app: probe one")
    send(port, b"<14>host app: probe two")
    assert wait_until(lambda: queue_empty(port)), "the program does not take datagrams"


RSYSLOG_PACKAGES = ["rsyslog", "libestr0", "libfastjson4", "liblognorm5"]


def unpacked_rsyslog():
    """Debian's rsyslog, downloaded and unpacked into the build directory,
    never installed: so it runs beside the machine's own logging without
    touching it. None when the packages cannot be had."""
    root = os.path.join(os.path.dirname(ARGS.artifacts), "rsyslog")
    daemon = os.path.join(root, "usr", "sbin", "rsyslogd")
    if os.path.exists(daemon):
        return root
    downloads = os.path.join(root + "-debs")
    os.makedirs(downloads, exist_ok=True)
    fetched = subprocess.run(["apt-get", "download"] + RSYSLOG_PACKAGES, cwd=downloads,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if fetched.returncode != 0:
        return None
    for name in os.listdir(downloads):
        subprocess.run(["dpkg", "-x", os.path.join(downloads, name), root], check=True)
    return root if os.path.exists(daemon) else None


def udp_port_bound(port):
    out = subprocess.run(["ss", "-uanH", "sport = :%d" % port], capture_output=True, text=True).stdout
    return bool(out.strip())


def day_log_name(now=None):
    now = now or datetime.datetime.now()
    return "syslog_%d_%d_%02d.txt" % (now.day, now.month, now.year % 100)


class Program:
    """kestrin.exe started from a scratch directory of its own."""

    def __init__(self, settings):
        self.directory = tempfile.mkdtemp(prefix="kestrin_e2e_")
        shutil.copy(ARGS.exe, self.directory)
        if settings is not None:
            with open(self.path("config.cfg"), "wb") as f:
                f.write(settings.replace("\n", "\r\n").encode("ascii"))
        self.process = subprocess.Popen(["wine", "kestrin.exe"], cwd=self.directory,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)

    def path(self, *parts):
        return os.path.join(self.directory, *parts)

    def running(self):
        return self.process.poll() is None

    def wait_for_listener(self):
        # The log directory is made after the listener is active.
        assert wait_until(lambda: os.path.isdir(self.path("logfiles"))), "kestrin.exe did not start"

    def log_bytes(self):
        data = b""
        folder = self.path("logfiles")
        if os.path.isdir(folder):
            for name in sorted(os.listdir(folder)):
                with open(os.path.join(folder, name), "rb") as f:
                    data += f.read()
        return data

    def lines(self):
        return self.log_bytes().split(b"\r\n")[:-1]

    def close(self):
        """What Windows' taskkill without /F does: WM_CLOSE to the program's windows."""
        subprocess.run(["wine", "taskkill", "/IM", "kestrin.exe"], stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
        try:
            return self.process.wait(PATIENCE)
        except subprocess.TimeoutExpired:
            return None

    def discard(self):
        if self.running():
            subprocess.run(["wine", "taskkill", "/F", "/IM", "kestrin.exe"], stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
            self.process.wait(PATIENCE)
        shutil.rmtree(self.directory, ignore_errors=True)


def settings(port, more=""):
    # Nothing listens on port 9 of the loopback address.
    return ("[Main]\nPort=%d\nIPVersion=IPV4\nERROR=1\nWARNING=1\nInfos=1\n"
            "IP1=http://127.0.0.1:9/\nIP2=http://127.0.0.1:9/\n%s" % (port, more))


class EndToEnd(unittest.TestCase):
    def start(self, text):
        program = Program(text)
        self.addCleanup(program.discard)
        return program

    def test_senders_of_both_versions_and_the_system_logger(self):
        port = free_port()
        program = self.start(settings(port, "ViewHint=1\n"))
        program.wait_for_listener()
        send(port, b"<11>Dec  8 10:15:03 switch port 7 down")
        send(port, b"<12>router: over IPv6", socket.AF_INET6)
        subprocess.run(["logger", "--rfc3164", "-d", "-n", "127.0.0.1", "-P", str(port), "-t", "e2e",
                        "bsd from logger"], check=True)
        subprocess.run(["logger", "--rfc5424", "-d", "-n", "127.0.0.1", "-P", str(port), "-t", "e2e",
                        "structured from logger"], check=True)
        self.assertTrue(wait_until(lambda: len(program.lines()) == 4), program.log_bytes())
        text = program.log_bytes()
        self.assertRegex(text, rb"(?m)^.*: switch >>User\.Error<<<11>Dec  8 10:15:03 switch port 7 down\r$")
        self.assertRegex(text, rb"(?m)^.*: 0:0:0:0:0:0:0:1 >>User\.Warning<<<12>router: over IPv6\r$")
        # logger's BSD form carries this machine's name; its newer form is kept whole.
        self.assertRegex(text, rb"(?m)^.* >>User\.Notice<<<13>[A-Z][a-z][a-z] [ 0-9]\d \d\d:\d\d:\d\d \S+ e2e.*: bsd from logger\r$")
        self.assertRegex(text, rb"(?m)^.*: 127\.0\.0\.1 >>User\.Notice<<<13>1 \d{4}-\d\d-\d\dT.* e2e .*structured from logger\r$")
        for line in program.lines():
            self.assertRegex(line, LINE)
        self.assertEqual(program.close(), 0)
        with open(program.path("config.cfg"), "rb") as f:
            self.assertIn(b"ViewHint=1\r\n", f.read())

    def test_messages_forwarded_by_a_second_syslog_daemon(self):
        root = unpacked_rsyslog()
        if root is None:
            self.skipTest("Debian's rsyslog packages cannot be downloaded here")
        port = free_port()
        program = self.start(settings(port))
        program.wait_for_listener()
        work = tempfile.mkdtemp(prefix="kestrin_rsyslog_")
        self.addCleanup(shutil.rmtree, work, True)
        relay = free_port()
        # Only a UDP input and a UDP forward: no system log socket, no files.
        with open(os.path.join(work, "rsyslog.conf"), "w") as f:
            f.write('global(workDirectory="%s")\n'
                    'module(load="imudp")\n'
                    'input(type="imudp" address="127.0.0.1" port="%d")\n'
                    '*.* action(type="omfwd" target="127.0.0.1" port="%d" protocol="udp")\n' % (work, relay, port))
        libraries = os.path.join(root, "usr", "lib", "x86_64-linux-gnu")
        daemon = subprocess.Popen([os.path.join(root, "usr", "sbin", "rsyslogd"), "-n",
                                   "-f", os.path.join(work, "rsyslog.conf"), "-i", os.path.join(work, "pid"),
                                   "-M", os.path.join(libraries, "rsyslog")],
                                  env=dict(os.environ, LD_LIBRARY_PATH=libraries),
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(daemon.wait)
        self.addCleanup(daemon.terminate)
        self.assertTrue(wait_until(lambda: udp_port_bound(relay)), "rsyslogd did not start")
        subprocess.run(["logger", "--rfc3164", "-d", "-n", "127.0.0.1", "-P", str(relay), "-p", "daemon.err",
                        "-t", "relayed", "through a second daemon"], check=True)
        self.assertTrue(wait_until(lambda: b"through a second daemon" in program.log_bytes()), program.log_bytes())
        self.assertRegex(program.log_bytes(),
                         rb"(?m)^.*: \S+ >>SYSDAEMON\.Error<<<27>[A-Z][a-z][a-z] [ 0-9]\d \d\d:\d\d:\d\d \S+ "
                         rb"relayed: through a second daemon\r$")
        self.assertEqual(program.close(), 0)

    def test_every_class_is_logged_whatever_its_switch(self):
        port = free_port()
        program = self.start(settings(port).replace("WARNING=1", "WARNING=0").replace("Infos=1", "Infos=0"))
        program.wait_for_listener()
        for pri in (b"<11>", b"<12>", b"<14>", b"<15>"):
            send(port, pri + b"host app: class test")
        self.assertTrue(wait_until(lambda: len(program.lines()) == 4), program.log_bytes())
        severities = sorted(re.search(rb">>User\.(\w+)<<", line).group(1) for line in program.lines())
        self.assertEqual(severities, [b"Debug", b"Error", b"Info", b"Warning"])
        self.assertEqual(program.close(), 0)

    def test_a_burst_of_ten_thousand_leaves_only_whole_lines(self):
        port = free_port()
        program = self.start(settings(port))
        program.wait_for_listener()
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
            for i in range(10000):
                s.sendto(b"<14>Dec  8 10:15:03 burst app: datagram %05d" % i, ("127.0.0.1", port))
        landed = [0, -1]

        def settled():
            # Done when the count has stopped growing for a second.
            count = len(program.lines())
            if count != landed[0]:
                landed[0], landed[1] = count, time.monotonic()
            return count == 10000 or time.monotonic() - landed[1] > 1.0

        landed[1] = time.monotonic()
        self.assertTrue(wait_until(settled, 600))
        sys.stderr.write("burst: %d of 10000 datagrams landed\n" % landed[0])
        self.assertTrue(program.running())
        self.assertTrue(program.log_bytes().endswith(b"\r\n"))
        numbers = [int(line[-5:]) for line in program.lines()]
        self.assertEqual(numbers, sorted(set(numbers)))  # in order, none twice, none cut
        for line in program.lines():
            self.assertRegex(line, rb"burst app: datagram \d{5}$")
        self.assertGreater(landed[0], 0)
        self.assertEqual(program.close(), 0)

    def test_a_deleted_log_directory_drops_lines_until_it_is_back(self):
        port = free_port()
        program = self.start(settings(port))
        program.wait_for_listener()
        send(port, b"<14>host app: first")
        self.assertTrue(wait_until(lambda: b"first" in program.log_bytes()))
        shutil.rmtree(program.path("logfiles"))
        send(port, b"<14>host app: while gone")
        handled_before_probes(port)
        os.mkdir(program.path("logfiles"))
        send(port, b"<14>host app: after")
        self.assertTrue(wait_until(lambda: b"after" in program.log_bytes()))
        self.assertNotIn(b"while gone", program.log_bytes())
        self.assertNotIn(b"probe one", program.log_bytes())
        self.assertTrue(program.running())
        self.assertEqual(program.close(), 0)

    def test_a_log_file_held_by_another_program_drops_lines_until_it_is_free(self):
        port = free_port()
        program = self.start(settings(port))
        program.wait_for_listener()
        name = program.path("logfiles", day_log_name())
        holder = subprocess.Popen(["wine", ARGS.hold_file, "logfiles\\" + os.path.basename(name)],
                                  cwd=program.directory, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL)
        self.assertEqual(holder.stdout.readline().strip(), b"held")
        send(port, b"<14>host app: while held")
        send(port, b"<11>host app: also while held")
        handled_before_probes(port)
        holder.stdin.close()
        holder.wait(PATIENCE)
        holder.stdout.close()
        send(port, b"<14>host app: after release")
        self.assertTrue(wait_until(lambda: b"after release" in program.log_bytes()))
        for dropped in (b"while held", b"probe one"):
            self.assertNotIn(dropped, program.log_bytes())
        self.assertTrue(program.running())
        self.assertEqual(program.close(), 0)

    def test_lower_case_section_without_view_hint(self):
        port = free_port()
        program = self.start("[main]\nport=%d\nerror=1\nwarning=1\nip1=http://127.0.0.1:9/\nip2=\n" % port)
        program.wait_for_listener()
        send(port, b"<11>host app: lower case settings")
        self.assertTrue(wait_until(lambda: len(program.lines()) == 1))
        self.assertEqual(program.close(), 0)
        with open(program.path("config.cfg"), "rb") as f:
            stored = f.read()
        self.assertEqual(stored.count(b"[main]") + stored.count(b"[Main]"), 1, stored)
        self.assertIn(b"ViewHint=0\r\n", stored)

    def test_a_port_in_use_shows_the_error_box_and_the_program_keeps_running(self):
        port = free_port()
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as holder:
            holder.bind(("0.0.0.0", port))
            program = self.start(settings(port))

            def box():
                found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^kestrin$"],
                                       capture_output=True, text=True).stdout.split()
                return found[0] if found else None

            self.assertTrue(wait_until(lambda: box() is not None))
            os.makedirs(ARGS.artifacts, exist_ok=True)
            time.sleep(0.5)  # let it draw for the picture
            subprocess.run(["import", "-window", "root", os.path.join(ARGS.artifacts, "bind-conflict.png")],
                           check=False)
            self.assertTrue(program.running())
            self.assertFalse(os.path.exists(program.path("logfiles")))


def main():
    global ARGS
    ARGS, rest = parse_arguments("--hold-file")
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
