"""The verbose trace: version line first, then one block per folder."""

import texts
import trace
from support import E2ECase, build

TREE = {
    "a.txt": None,
    "b.txt": None,
    "日本.txt": None,
    "empty": {},
    "new.dir": {"c.txt": None},
    "sub": {"d.txt": None, "inner": {"e.txt": None}},
}


def entries(tree, prefix=""):
    out = []
    for name, sub in tree.items():
        out.append(prefix + name + ("/" if sub is not None else ""))
        if sub:
            out += entries(sub, prefix + name + "/")
    return out


class TreeTrace(E2ECase):
    def setUp(self):
        super().setUp()
        build(self.path("src"), entries(TREE))
        self.src, self.dst = self.path("src"), self.path("dst")

    def expected(self, **kwargs):
        return [trace.expected(self.t, self.src, self.dst, TREE, **kwargs)]

    def test_missing_dest(self):
        # The chain makes the top folder, so only subfolders say "Create".
        result = self.run_tool("-v", self.a("src"), self.a("dst"))
        self.assertTrace(result, self.expected())

    def test_partly_existing_dest(self):
        build(self.dst, ["sub/", "empty/"])
        result = self.run_tool("-v", self.a("src"), self.a("dst"))
        self.assertTrace(result, self.expected(existing={"sub", "empty"}))

    def test_removed_dest_is_created_by_the_walk(self):
        build(self.dst, ["junk.txt", "sub/"])
        result = self.run_tool("-v", "-d", self.a("src"), self.a("dst"))
        self.assertTrace(result, self.expected(top_missing=True))

    def test_switch_spellings(self):
        cases = [("-V", True), ("--v", False), ("-vx", False)]
        if self.windows:
            cases += [("/v", True), ("/V", True)]
        for i, (switch, traced) in enumerate(cases):
            with self.subTest(switch=switch):
                dst = self.path("d%d" % i)
                result = self.run_tool(switch, self.a("src"), self.t.arg(dst))
                if traced:
                    self.assertTrace(result, [trace.expected(self.t, self.src, dst, TREE)])
                else:
                    self.assertQuiet(result)
                self.assertSameFile(self.path("src", "a.txt"), self.path("d%d" % i, "a.txt"))


class FileTrace(E2ECase):
    def setUp(self):
        super().setUp()
        build(self.tmp, ["src/a.txt", "src/b.txt", "src/日本.txt", "src/c.log", "dst/b2.txt"])

    def block(self, *files):
        block = trace.Block(self.t.shown(self.path("src")), self.t.shown(self.path("dst")))
        block.files = list(files)
        return [block]

    def test_file_mask_and_dest_name(self):
        sep = self.t.sep
        cases = [
            ([self.a("src", "a.txt"), self.a("dst")], ["a.txt"]),
            ([self.a("src", "a.txt"), self.a("dst", "b2.txt")], ["b2.txt"]),
            ([self.a("src") + sep + "*.txt", self.a("dst")], ["a.txt", "b.txt", "日本.txt"]),
            ([self.a("src") + sep + "*.none", self.a("dst")], []),
        ]
        for args, files in cases:
            with self.subTest(args=args):
                self.assertTrace(self.run_tool("-v", *args), self.block(*files))

    def test_operands_are_the_last_two_parameters(self):
        # "src dst -v": the last parameter is the Dest even when it looks like
        # a switch, and -v still traces.
        build(self.tmp, ["dst/f.txt"])
        result = self.run_tool(self.a("src"), self.a("dst"), "-v")
        if self.windows:
            # dst is the Source; src plays no part.
            expected = trace.expected(self.t, self.path("dst"), self.path("-v"),
                                      {"b2.txt": None, "f.txt": None})
            self.assertTrace(result, [expected])
            self.assertSameFile(self.path("dst", "f.txt"), self.path("-v", "f.txt"))
            return
        # On Linux every parameter before the last is a Source.
        self.assertEqual(result.rc, 0)
        self.assertTrue(result.out.startswith(self.expect_lines([texts.version_line(), ""])))
        self.assertSameFile(self.path("dst", "f.txt"), self.path("-v", "dst", "f.txt"))
        self.assertSameFile(self.path("src", "a.txt"), self.path("-v", "src", "a.txt"))
