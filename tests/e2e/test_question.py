"""The file-or-folder question for a Dest that cannot be classified."""

import os

import texts
from support import E2ECase, build, listing

FILE, FOLDER, CANCEL = "file", "folder", "cancel"


class Question(E2ECase):
    def setUp(self):
        super().setUp()
        build(self.tmp, ["src/a.txt", "dst/"])

    def asked(self, dest_path, backspaces=0):
        """Output up to the answer: the question line, the prompt, backspaces."""
        line = texts.question_line(self.t.shown(dest_path))
        return (self.t.lines([line]) + self.t.encode(texts.PROMPT)
                + self.t.encode(texts.BACKSPACE * backspaces))

    def assertOutcome(self, result, dest_path, outcome, backspaces=0):
        asked = self.asked(dest_path, backspaces)
        if outcome == CANCEL:
            self.assertRun(result, texts.CANCEL_EXIT,
                           raw=asked + self.t.lines([texts.CANCELLED]))
            self.assertFalse(os.path.lexists(dest_path))
            return
        self.assertRun(result, 0, raw=asked)
        linked = dest_path if outcome == FILE else os.path.join(dest_path, "a.txt")
        self.assertSameFile(self.path("src", "a.txt"), linked)
        if outcome == FOLDER:
            self.assertEqual(listing(dest_path), ["a.txt"])

    def test_answers(self):
        eol = self.t.eol
        cases = [
            (b"F", FILE, 0),
            (b"f", FILE, 0),
            (b"D", FOLDER, 0),
            (b"d\n", FOLDER, 0),
            (b"C", CANCEL, 0),
            (b"c", CANCEL, 0),
            (b"", CANCEL, 0),  # end of input
            (b"\x1a", CANCEL, 0),  # Ctrl-Z
            (b"x" + eol + b"f", FILE, 1 + len(eol)),  # a typed line: x, then its line end
            (b"?! d", FOLDER, 3),
            (b"xy", CANCEL, 2),  # other characters, then end of input
        ]
        for i, (answer, outcome, backspaces) in enumerate(cases):
            with self.subTest(answer=answer):
                dest = self.path("dst", "new%d" % i)
                result = self.run_tool(self.a("src", "a.txt"), self.t.arg(dest), stdin=answer)
                self.assertOutcome(result, dest, outcome, backspaces)

    def test_question_shows_full_path(self):
        # Relative, and written with a trailing delimiter that is removed first.
        cases = [("rel", ["rel"]), ("dst" + self.t.sep + "sl" + self.t.sep, ["dst", "sl"])]
        for dest_arg, parts in cases:
            with self.subTest(dest=dest_arg):
                result = self.run_tool(self.a("src", "a.txt"), dest_arg, stdin=b"d",
                                       cwd=self.tmp)
                self.assertOutcome(result, self.path(*parts), FOLDER)

    def test_dest_ending_in_double_byte_character(self):
        # In code page 932 "表" ends in byte 0x5C, which is not a delimiter.
        dest = self.path("dst", "一覧表")
        result = self.run_tool(self.a("src", "a.txt"), self.t.arg(dest), stdin=b"f")
        self.assertOutcome(result, dest, FILE)

    def test_verbose_answer_then_trace(self):
        dest = self.path("dst", "new")
        result = self.run_tool("-v", self.a("src", "a.txt"), self.t.arg(dest), stdin=b"F")
        rest = [texts.version_line(), "",
                "From: " + self.t.shown(self.path("src")),
                "To  : " + self.t.shown(self.path("dst")), "", "  new"]
        self.assertRun(result, 0, raw=self.asked(dest) + self.t.lines(rest))
        self.assertSameFile(self.path("src", "a.txt"), dest)
