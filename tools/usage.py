"""Imported by the tools written in Python: how they answer -h or --help and
refuse what they do not take. A tool's usage is its docstring."""

import os
import sys


def refuse(problem):
    """Ends the tool with a one-line complaint about how it was called."""
    name = os.path.splitext(os.path.basename(sys.argv[0]))[0]
    print("%s: %s (--help shows the usage)" % (name, problem), file=sys.stderr)
    sys.exit(2)


def answer_help(usage, arguments):
    """Prints the usage and ends the tool when -h or --help is among the arguments."""
    if "-h" in arguments or "--help" in arguments:
        print(usage.strip())
        sys.exit(0)


def expect_arguments(usage, arguments, least, most):
    """For a tool that takes `least` to `most` arguments besides the options
    it has already taken out: -h or --help anywhere prints the usage and
    ends it; any other option, or another count, is refused."""
    answer_help(usage, arguments)
    for argument in arguments:
        if argument.startswith("-"):
            refuse("unknown option " + argument)
    if not least <= len(arguments) <= most:
        wanted = str(least) if least == most else "%d to %d" % (least, most)
        refuse("takes %s argument%s, not %d" % (wanted, "" if wanted == "1" else "s", len(arguments)))
    return arguments
