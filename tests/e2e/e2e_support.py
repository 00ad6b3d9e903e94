"""What the end-to-end drivers share: their command line, waiting for a
condition with a limit, and a UDP port for the program to listen on."""

import argparse
import os
import socket
import time

PATIENCE = 30.0  # seconds; every wait ends as soon as what it waits for is there


def wait_until(condition, patience=PATIENCE):
    deadline = time.monotonic() + patience
    while True:
        if condition():
            return True
        if time.monotonic() > deadline:
            return False
        time.sleep(0.02)


def free_port():
    """A UDP port free on IPv4 and IPv6 at the moment of the call."""
    for _ in range(50):
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as v4:
            v4.bind(("0.0.0.0", 0))
            port = v4.getsockname()[1]
            try:
                with socket.socket(socket.AF_INET6, socket.SOCK_DGRAM) as v6:
                    v6.setsockopt(socket.IPPROTO_IPV6, socket.IPV6_V6ONLY, 1)
                    v6.bind(("::", port))
                return port
            except OSError:
                continue
    raise RuntimeError("no UDP port free on both IP versions")


def parse_arguments(*programs):
    """--exe, --artifacts and one option per helper program (its path made
    absolute, as the tests change directories); the rest is unittest's."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    for option in programs:
        parser.add_argument(option, required=True)
    parser.add_argument("--artifacts", required=True)
    args, rest = parser.parse_known_args()
    args.exe = os.path.abspath(args.exe)
    for option in programs:
        name = option.lstrip("-").replace("-", "_")
        setattr(args, name, os.path.abspath(getattr(args, name)))
    return args, rest
