"""Links made for a file, a mask and a folder tree, checked from Linux."""

import os

import support
from support import E2ECase, build, listing, read, write


class FileSource(E2ECase):
    def setUp(self):
        super().setUp()
        build(self.tmp, ["src/a.txt", "src/b.txt", "src/ab.txt", "src/c.log",
                         "src/sub/d.txt", "dst/"])

    def test_file_into_existing_folder(self):
        self.assertQuiet(self.run_tool(self.a("src", "a.txt"), self.a("dst")))
        self.assertSameFile(self.path("src", "a.txt"), self.path("dst", "a.txt"))
        self.assertEqual(os.stat(self.path("src", "a.txt")).st_nlink, 2)
        self.assertEqual(listing(self.path("dst")), ["a.txt"])

    def test_existing_dest_file_is_replaced(self):
        # Dest named as a file, and Dest holding a file of the link's name.
        for dest_args, name in ((["dst", "other.txt"], "other.txt"), (["dst"], "a.txt")):
            with self.subTest(dest=dest_args):
                old = self.path("dst", name)
                write(old, b"old dest data\n")
                keep = self.path("keep-" + name)
                os.link(old, keep)  # a second name of the old file
                result = self.run_tool(self.a("src", "a.txt"), self.a(*dest_args))
                self.assertQuiet(result)
                self.assertSameFile(self.path("src", "a.txt"), old)
                self.assertEqual(read(keep), b"old dest data\n")
                self.assertEqual(os.stat(keep).st_nlink, 1)
                self.assertEqual(listing(self.path("dst")), [name])
                os.unlink(old)

    def test_masks_link_matching_files_only(self):
        upper = ["a.txt", "ab.txt", "b.txt"] if self.windows else []
        cases = [
            ("*.txt", ["a.txt", "ab.txt", "b.txt"]),
            ("?.txt", ["a.txt", "b.txt"]),
            ("*", ["a.txt", "ab.txt", "b.txt", "c.log"]),  # folders are skipped
            ("*.TXT", upper),  # the platform's case rule
            ("*.none", []),
        ]
        for i, (mask, names) in enumerate(cases):
            with self.subTest(mask=mask):
                dest = "m%d" % i  # missing: a mask always goes into a folder
                result = self.run_tool(self.a("src") + self.t.sep + mask, self.a(dest))
                self.assertQuiet(result)
                self.assertEqual(listing(self.path(dest)), names)
                self.assertLinkedTree(self.path("src"), self.path(dest), names)

    def test_dest_folder_written_with_trailing_delimiter(self):
        for source, name in ((self.a("src", "a.txt"), "a.txt"),
                             (self.a("src") + self.t.sep + "*.log", "c.log")):
            with self.subTest(source=source):
                result = self.run_tool(source, self.a("dst") + self.t.sep)
                self.assertQuiet(result)
                self.assertSameFile(self.path("src", name), self.path("dst", name))

    def test_dest_omitted_links_into_current_folder(self):
        os.mkdir(self.path("here"))
        cases = [(self.a("src", "a.txt"), ["a.txt"]),
                 (self.a("src") + self.t.sep + "*.log", ["a.txt", "c.log"])]
        for source, names in cases:
            with self.subTest(source=source):
                self.assertQuiet(self.run_tool(source, cwd=self.path("here")))
                self.assertEqual(listing(self.path("here")), names)
                self.assertLinkedTree(self.path("src"), self.path("here"), names)

    def test_relative_operands_start_at_current_folder(self):
        source = self.t.join("src", "sub", "d.txt")
        self.assertQuiet(self.run_tool(source, "dst", cwd=self.tmp))
        self.assertSameFile(self.path("src", "sub", "d.txt"), self.path("dst", "d.txt"))

    def test_second_name_in_same_folder(self):
        target = self.path("src", "copy.txt")
        write(target, b"to be replaced\n")
        self.assertQuiet(self.run_tool(self.a("src", "a.txt"), self.a("src", "copy.txt")))
        self.assertSameFile(self.path("src", "a.txt"), target)


TREE = ["a.txt", "with space.txt", "日本語.txt", ".hidden", "sub/b.txt",
        "sub/deeper/c.txt", "empty/", "資料/d.txt"]
TREE_FILES = [rel for rel in TREE if not rel.endswith("/")]
TREE_DIRS = ["sub", "sub/deeper", "empty", "資料"]


class FolderSource(E2ECase):
    def setUp(self):
        super().setUp()
        build(self.path("src"), TREE)

    def assertRebuilt(self, dst):
        self.assertLinkedTree(self.path("src"), dst, TREE_FILES)
        for rel in TREE_DIRS:
            path = os.path.join(dst, rel)
            self.assertTrue(os.path.isdir(path) and not os.path.islink(path), rel)
            self.assertNotEqual(os.stat(path).st_ino, os.stat(self.path("src", rel)).st_ino)
        for rel in TREE_FILES:
            self.assertEqual(os.stat(os.path.join(dst, rel)).st_nlink, 2, rel)

    def test_tree_is_rebuilt_under_missing_dest_chain(self):
        self.assertQuiet(self.run_tool(self.a("src"), self.a("dst", "x", "y")))
        dst = self.path("dst", "x", "y")
        self.assertRebuilt(dst)
        self.assertEqual(support.snapshot(dst).keys(), support.snapshot(self.path("src")).keys())

    def test_existing_dest_keeps_other_content(self):
        build(self.path("dst"), ["old.txt", "sub/old2.txt", "other/"])
        self.assertQuiet(self.run_tool(self.a("src"), self.a("dst")))
        self.assertRebuilt(self.path("dst"))
        for rel in ["old.txt", "sub/old2.txt"]:
            self.assertEqual(read(self.path("dst", rel)), support.content_of(rel))
        self.assertTrue(os.path.isdir(self.path("dst", "other")))

    def test_dest_omitted_rebuilds_in_current_folder(self):
        os.mkdir(self.path("here"))
        self.assertQuiet(self.run_tool(self.a("src"), cwd=self.path("here")))
        self.assertRebuilt(self.path("here"))


class AttributeFilter(E2ECase):
    """Files and folders with the system attribute are not seen by the walk."""

    def set_attributes(self, rel, value):
        os.setxattr(self.path("src", rel), "user.DOSATTRIB", b"0x%x" % value)

    def test_system_entries_are_skipped_hidden_ones_linked(self):
        self.only_on("windows", "Linux has no system attribute; every entry is taken")
        build(self.path("src"), ["plain.txt", "hidden.txt", "sys.txt", "sysdir/x.txt",
                                 "hiddir/y.txt", ".dot.txt"])
        self.set_attributes("hidden.txt", 0x2)
        self.set_attributes("sys.txt", 0x4)
        self.set_attributes("sysdir", 0x4)
        self.set_attributes("hiddir", 0x2)
        seen = {rel: self.t.attributes(self.path("src", rel))
                for rel in ("hidden.txt", "sys.txt", "sysdir")}
        if "H" not in seen["hidden.txt"] or "S" not in seen["sys.txt"] + seen["sysdir"]:
            self.skipTest("Wine did not read the attributes back: %r" % seen)
        self.assertQuiet(self.run_tool(self.a("src"), self.a("dst")))
        self.assertEqual(listing(self.path("dst")), [".dot.txt", "hidden.txt", "hiddir", "plain.txt"])
        self.assertLinkedTree(self.path("src"), self.path("dst"),
                              ["plain.txt", "hidden.txt", ".dot.txt", "hiddir/y.txt"])
