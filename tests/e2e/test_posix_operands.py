"""Native build: operands as a Linux shell passes them, masks, names."""

from support import PosixCase, build, listing


class Operands(PosixCase):
    def setUp(self):
        super().setUp()
        build(self.tmp, ["src/a.txt", "src/b.txt", "src/c.log", "src/.hidden",
                         "src/sub/d.txt", "dst/", "here/"])

    def test_leading_slash_is_a_path_not_a_switch(self):
        # Alone, as the Source before an absolute Dest, and as Dest.
        self.assertQuiet(self.run_tool(self.path("src", "a.txt"), cwd=self.path("here")))
        self.assertSameFile(self.path("src", "a.txt"), self.path("here", "a.txt"))
        self.assertQuiet(self.run_tool(self.path("src"), self.path("tree")))
        self.assertSameFile(self.path("src", "sub", "d.txt"), self.path("tree", "sub", "d.txt"))

    def test_shell_expanded_sources_go_into_one_folder(self):
        for dest in ("dst", "missing"):
            with self.subTest(dest=dest):
                args = [self.path("src", "a.txt"), self.path("src", "b.txt"),
                        self.path("src", "sub"), self.path(dest)]
                self.assertQuiet(self.run_tool(*args))
                self.assertEqual(listing(self.path(dest)), ["a.txt", "b.txt", "sub"])
                self.assertLinkedTree(self.path("src"), self.path(dest),
                                      ["a.txt", "b.txt", "sub/d.txt"])

    def test_many_expanded_sources(self):
        # More than the 99 parameters a Windows command line may use.
        names = ["f%03d.txt" % i for i in range(150)]
        build(self.path("many"), names)
        args = [self.path("many", n) for n in names] + [self.path("dst")]
        self.assertQuiet(self.run_tool("-h", *args))
        self.assertEqual(listing(self.path("dst")), names)
        self.assertLinkedTree(self.path("many"), self.path("dst"), names)

    def test_every_source_is_checked_before_any_work(self):
        cases = [
            (4, [self.path("src", "a.txt"), self.path("src", "none.txt"), self.path("dst")]),
            (3, [self.path("src", "a.txt"), self.path("gone", "*.txt"), self.path("dst")]),
        ]
        for code, args in cases:
            with self.subTest(code=code):
                self.assertReport(self.run_tool(*args), code)
                self.assertEqual(listing(self.path("dst")), [])

    def test_masks_are_case_sensitive_and_star_matches_leading_dot(self):
        cases = [("*", [".hidden", "a.txt", "b.txt", "c.log"]), ("*.TXT", []),
                 (".*", [".hidden"]), ("[ab]*.txt", ["a.txt", "b.txt"])]
        for i, (mask, names) in enumerate(cases):
            with self.subTest(mask=mask):
                dest = self.path("m%d" % i)
                self.assertQuiet(self.run_tool(self.path("src") + "/" + mask, dest))
                self.assertEqual(listing(dest), names)
                self.assertLinkedTree(self.path("src"), dest, names)

    def test_names_differing_in_case_are_different(self):
        self.assertQuiet(self.run_tool(self.path("src"), self.path("SRC")))
        self.assertSameFile(self.path("src", "a.txt"), self.path("SRC", "a.txt"))
