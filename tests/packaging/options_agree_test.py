#!/usr/bin/env python3
"""The option comparison itself: what it reads from --help and from roff, and what it reports."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import options_agree  # noqa: E402

HELP = """Usage: tool [OPTIONS] ARCHIVE
Options:
  -j, --journal TEXT   journal to export; -k and --calendar do not belong here
                       "-" is not an option either
      --no-wrap        keep line breaks
      --time-zone=ZONE the zone
  -h, --help           show this help and exit
"""

MANUAL = r""".SH SYNOPSIS
.TP
.B \-\-synopsis\-only
.SH OPTIONS
.TP
.BR \-j ", " \-\-journal " \fITEXT\fR"
The journal.
.TP
.B \-\-no\-wrap
Keep line breaks.
.TP
.BI \-\-time\-zone " ZONE"
The zone.
.TP
.BR \-h ", " \-\-help
Help.
.SH EXIT STATUS
.TP
.B 2
Usage error.
"""


class ReadingOptionLists(unittest.TestCase):
    def test_help_entries_give_names_pairs_and_values_but_descriptions_give_none(self):
        options = options_agree.options_of_help(HELP)
        self.assertEqual(options.names, {"-j", "--journal", "--no-wrap", "--time-zone", "-h",
                                         "--help"})
        self.assertEqual(options.pairs, {("-j", "--journal"), ("-h", "--help")})
        self.assertEqual(options.valued, {"-j", "--journal", "--time-zone"})

    def test_manual_tags_outside_the_options_section_are_passed_over(self):
        manual = options_agree.options_of_manual(MANUAL)
        from_help = options_agree.options_of_help(HELP)
        self.assertEqual(manual.names, from_help.names)
        self.assertEqual(manual.pairs, from_help.pairs)
        self.assertEqual(manual.valued, from_help.valued)


class ReportingDisagreements(unittest.TestCase):
    def test_an_option_missing_on_either_side_is_named(self):
        reference = options_agree.options_of_help(HELP)
        manual = options_agree.options_of_manual(
            MANUAL.replace(".B \\-\\-no\\-wrap", ".B \\-\\-wrap"))
        problems = options_agree.disagreements(reference, manual, "the page")
        self.assertIn("--no-wrap: in --help, not in the page", problems)
        self.assertIn("--wrap: in the page, not in --help", problems)

    def test_a_value_or_a_pairing_on_one_side_only_is_named(self):
        reference = options_agree.options_of_help(HELP)
        manual = options_agree.options_of_manual(
            MANUAL.replace('" \\fITEXT\\fR"', "").replace(".BR \\-h \", \" \\-\\-help",
                                                         ".BR \\-\\-help \", \" \\-h \\-x"))
        problems = options_agree.disagreements(reference, manual, "the page")
        self.assertIn("--journal: takes a value in --help only", problems)
        self.assertIn("-h and --help are paired in one of --help and the page only", problems)


if __name__ == "__main__":
    unittest.main()
