"""The manual page says what --help says: the same options, each with the
value it takes, the same forms of the command and the same exit statuses.

    manpage.py QUARVEL MANPAGE

MANPAGE is the configured page of the build tree (man/quarvel.1). The page is
read as roff source: its escapes are undone, so the check needs no man reader.
"""

import re
import subprocess
import sys


def roff_text(source):
    """The words of a roff page: requests and font changes dropped, escapes undone."""
    lines = []
    for line in source.splitlines():
        if line.startswith('.\\"'):
            continue
        line = re.sub(r"^\.(B|I|BI|IB|BR|RB|IR|RI)\s+", "", line)
        if line.startswith("."):
            lines.append("\n" + line)
            continue
        line = line.replace("\\-", "-").replace("\\(>", ">").replace('"', "")
        lines.append(line)
    return " ".join(lines)


def options(text):
    """Each option and the placeholder of its value: {"--page": "N", "--json": ""}."""
    found = {}
    for name, value in re.findall(r"(?<![\w-])(-h|--[a-z][a-z-]+)\b(?:[ =]+([A-Z]+)\b)?", text):
        if value:
            found[name] = value
        else:
            found.setdefault(name, "")
    return found


def exit_statuses(text):
    return sorted(set(re.findall(r"\b([0-9])\b", text)))


def section(page, title):
    match = re.search(r"\n\.SH " + title + r"\b(.*?)(?=\n\.SH |\Z)", page, re.S)
    if not match:
        sys.exit("FAIL: the manual page has no %s section" % title)
    return match.group(1)


def main():
    program, page_path = sys.argv[1:3]
    help_text = subprocess.run([program, "--help"], check=True, capture_output=True,
                               text=True).stdout
    page = roff_text(open(page_path, encoding="utf-8").read())
    failures = []

    usage, _, rest = help_text.partition("\n\n")
    option_table = rest[rest.index("  -"):rest.index("Exit status")]
    wanted = options(usage + option_table)
    shown = options(section(page, "SYNOPSIS") + section(page, "OPTIONS"))
    for name in sorted(set(wanted) | set(shown)):
        if name not in shown:
            failures.append("--help has %s, the manual page does not" % name)
        elif name not in wanted:
            failures.append("the manual page has %s, --help does not" % name)
        elif wanted[name] != shown[name]:
            failures.append("%s takes %s in --help, %s in the manual page"
                            % (name, wanted[name] or "nothing", shown[name] or "nothing"))

    for direction in ("left-right", "top-bottom"):
        if direction not in section(page, "SYNOPSIS"):
            failures.append("the manual page's synopsis lacks " + direction)

    help_statuses = exit_statuses(help_text[help_text.index("Exit status"):])
    page_statuses = exit_statuses(section(page, "EXIT STATUS"))
    if help_statuses != page_statuses:
        failures.append("exit statuses: --help has %s, the manual page %s"
                        % (help_statuses, page_statuses))

    version = subprocess.run([program, "--version"], check=True, capture_output=True,
                             text=True).stdout.strip()
    if '"%s"' % version not in open(page_path, encoding="utf-8").read():
        failures.append("the manual page does not name %s" % version)

    for failure in failures:
        print("FAIL:", failure)
    if failures:
        sys.exit(1)
    print("PASS: %d options, exit statuses %s" % (len(wanted), ", ".join(help_statuses)))


if __name__ == "__main__":
    main()
