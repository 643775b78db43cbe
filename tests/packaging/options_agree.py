#!/usr/bin/env python3
"""Fails when vessory-export's --help, its manual page and its bash completion disagree about
the options: which exist, which short name goes with which long one, which take a value.

    options_agree.py TOOL MANUAL [COMPLETION]

--help is the reference the other two are held to, as it comes from the parser's own program.
"""
import re
import subprocess
import sys

OPTION = re.compile(r"(?<![\w-])(--?[A-Za-z][\w-]*)")
VALUE = re.compile(r"^[A-Z][A-Z_-]*$")


class Options:
    """Option names, the short-long pairs, and the names that take a value."""

    def __init__(self):
        self.names = set()
        self.pairs = set()
        self.valued = set()

    def add_entry(self, column):
        """One entry's option column, such as "-o, --output PATH"."""
        found = OPTION.findall(column)
        self.names.update(found)
        shorts = [n for n in found if not n.startswith("--")]
        longs = [n for n in found if n.startswith("--")]
        if len(shorts) == 1 and len(longs) == 1:
            self.pairs.add((shorts[0], longs[0]))
        # The value's name follows the last option name ("--time-zone=ZONE", "-o, --output PATH").
        words = column.replace("=", " ").replace(",", " ").split()
        last = max((i for i, w in enumerate(words) if OPTION.fullmatch(w)), default=None)
        if last is not None and last + 1 < len(words) and VALUE.match(words[last + 1]):
            self.valued.update(found)


def options_of_help(text):
    """Entries are the lines that begin, after the indent, with "-"; the option column ends at
    the first run of two blanks."""
    options = Options()
    for line in text.splitlines():
        if re.match(r"^\s+-", line):
            options.add_entry(re.split(r"\s{2,}", line.strip())[0])
    return options


def plain_roff(line):
    line = re.sub(r"\\f[BIRP]|\\f\(..|\\&|\\c", "", line)
    line = line.replace("\\-", "-").replace('"', " ")
    return re.sub(r"^\.(B|I|BI|BR|IR|RB|RI)\s", "", line)


def options_of_manual(text):
    """Entries are the tags of .TP paragraphs in the OPTIONS section."""
    options = Options()
    section = None
    tag_next = False
    for line in text.splitlines():
        if line.startswith(".SH"):
            section = line[3:].strip().strip('"')
            continue
        if section != "OPTIONS":
            continue
        if tag_next:
            options.add_entry(plain_roff(line))
        tag_next = line.strip() == ".TP"
    return options


COMPLETION_PROBE = r"""
source "$1"
shift
reply() {
  COMP_WORDS=(vessory-export "$@")
  COMP_CWORD=$#
  _vessory_export
  printf '%s\n' "${COMPREPLY[@]}"
}
echo "offered"
reply -
for option in "$@"; do
  # After an option that takes a value, the next word is that value, never an option.
  if reply "$option" - | grep -qx -- --help; then echo "flag $option"; fi
done
"""


def options_of_completion(path, reference):
    probe = subprocess.run(["bash", "-c", COMPLETION_PROBE, "probe", path, *sorted(reference)],
                           capture_output=True, text=True, check=True)
    options = Options()
    options.pairs = None  # a completion lists names, not which belong together
    lines = probe.stdout.splitlines()
    flags = {line.split()[1] for line in lines if line.startswith("flag ")}
    options.names = {line for line in lines if line.startswith("-")}
    options.valued = options.names - flags
    return options


def disagreements(reference, other, label):
    problems = []
    for name in sorted(reference.names - other.names):
        problems.append(f"{name}: in --help, not in {label}")
    for name in sorted(other.names - reference.names):
        problems.append(f"{name}: in {label}, not in --help")
    common = reference.names & other.names
    for short, long in sorted(reference.pairs ^ (other.pairs or reference.pairs)):
        if short in common and long in common:
            problems.append(f"{short} and {long} are paired in one of --help and {label} only")
    for name in sorted((reference.valued ^ other.valued) & common):
        where = "--help" if name in reference.valued else label
        problems.append(f"{name}: takes a value in {where} only")
    return problems


def main(argv):
    if len(argv) not in (3, 4):
        sys.exit(__doc__)
    tool, manual = argv[1], argv[2]
    help_text = subprocess.run([tool, "--help"], capture_output=True, text=True).stdout
    reference = options_of_help(help_text)
    if not {"--help", "--version"} <= reference.names:
        sys.exit(f"options_agree: found no option list in the output of {tool} --help")
    with open(manual, encoding="utf-8") as page:
        others = [(options_of_manual(page.read()), "the manual page")]
    if len(argv) == 4:
        others.append((options_of_completion(argv[3], reference.names), "the completion"))
    problems = [p for other, label in others for p in disagreements(reference, other, label)]
    for problem in problems:
        print(problem)
    if not problems:
        print(f"options_agree: {len(reference.names)} option names agree")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
