"""Nothing lost: aliases of the Source, Dest inside it, honest failures."""

import errno
import os

import trace
from support import (E2ECase, build, content_of, listing, read, snapshot, write)

SOURCE = ["a.txt", "sub/b.txt", "sub/inner/c.txt"]


class Aliases(E2ECase):
    """Each case must leave every Source file in place with its content."""

    def setUp(self):
        super().setUp()
        build(self.path("parent", "src"), SOURCE)
        build(self.tmp, ["xdg/"])
        os.symlink(self.path("parent", "src"), self.path("alias"))
        os.symlink(self.path("parent"), self.path("parent-alias"))
        self.before = snapshot(self.path("parent"))

    def a_src(self, *parts):
        return self.a("parent", "src", *parts)

    def test_refused_aliases(self):
        cases = [
            (8, [self.a_src(), self.a("alias")]),
            (8, ["-d", self.a_src(), self.a("alias")]),
            (8, ["-c", self.a_src(), self.a("alias")]),
            (8, [self.a("alias"), self.a_src()]),
            (9, [self.a_src("a.txt"), self.a("alias")]),
            (9, [self.a_src("a.txt"), self.a("alias", "a.txt")]),
            (10, ["-d", self.a_src(), self.a("parent")]),
            (10, ["-c", self.a_src(), self.a("parent")]),
            (10, ["-d", self.a_src(), self.a_src("sub")]),
            (10, ["-c", self.a_src(), self.a_src("sub", "inner")]),
            (10, ["-d", self.a_src(), self.a("parent-alias")]),
        ]
        if self.windows:
            cases += [
                (8, ["-d", self.a_src(), self.a("PARENT", "Src")]),
                (9, [self.a_src("a.txt"), self.a("parent", "SRC", "A.TXT")]),
                (10, ["-d", self.a_src(), self.a("Parent")]),
            ]
        env = {"XDG_DATA_HOME": self.path("xdg")}
        for code, args in cases:
            with self.subTest(code=code, args=args):
                self.assertReport(self.run_tool(*args, env=env), code)
                self.assertEqual(snapshot(self.path("parent")), self.before)
                self.assertFalse(os.path.exists(self.path("xdg", "Trash", "files")))

    def test_dest_already_second_name_of_source_file(self):
        build(self.tmp, ["dst/"])
        os.link(self.path("parent", "src", "a.txt"), self.path("dst", "a.txt"))
        for args in ([self.a_src("a.txt"), self.a("dst")],
                     [self.a_src("a.txt"), self.a("dst", "a.txt")],
                     [self.a_src(), self.a("dst")]):
            with self.subTest(args=args):
                self.assertQuiet(self.run_tool(*args))
                self.assertSameFile(self.path("parent", "src", "a.txt"), self.path("dst", "a.txt"))
                self.assertEqual(os.stat(self.path("dst", "a.txt")).st_nlink, 2)
                self.assertEqual(snapshot(self.path("parent")), self.before)
        self.assertEqual(listing(self.path("dst")), ["a.txt", "sub"])


class DestInsideSource(E2ECase):
    def test_one_copy_without_nesting(self):
        build(self.path("src"), SOURCE)
        before = snapshot(self.path("src"))
        for run in (1, 2):  # the second run meets the existing copy
            with self.subTest(run=run):
                self.assertQuiet(self.run_tool(self.a("src"), self.a("src", "snap")))
                copy = snapshot(self.path("src", "snap"))
                self.assertEqual(sorted(copy), sorted(before))
                self.assertLinkedTree(self.path("src"), self.path("src", "snap"),
                                      [rel for rel in SOURCE])
                after = snapshot(self.path("src"))
                self.assertEqual({k: v for k, v in after.items() if not k.startswith("snap")},
                                 before)


class Rerun(E2ECase):
    def test_second_run_changes_nothing(self):
        build(self.path("src"), SOURCE)
        self.assertQuiet(self.run_tool(self.a("src"), self.a("dst")))
        first = snapshot(self.path("dst"))
        self.assertQuiet(self.run_tool(self.a("src"), self.a("dst")))
        self.assertEqual(snapshot(self.path("dst")), first)
        for rel in SOURCE:
            self.assertEqual(os.stat(self.path("src", rel)).st_nlink, 2)
        # The trace of a third run finds every folder present.
        result = self.run_tool("-v", self.a("src"), self.a("dst"))
        tree = {"a.txt": None, "sub": {"b.txt": None, "inner": {"c.txt": None}}}
        expected = trace.expected(self.t, self.path("src"), self.path("dst"), tree,
                                  existing={"sub", "sub/inner"})
        self.assertTrace(result, [expected])
        self.assertEqual(snapshot(self.path("dst")), first)


class Failures(E2ECase):
    """After validation a failed item is reported, and an old Dest file survives."""

    OLD = b"old dest data\n"

    def setUp(self):
        super().setUp()
        build(self.tmp, ["src/a.txt"])
        write(self.path("dst", "a.txt"), self.OLD)
        self.old_ino = os.stat(self.path("dst", "a.txt")).st_ino

    def assertOldDestKept(self, names=("a.txt",)):
        old = self.path("dst", "a.txt")
        self.assertEqual((read(old), os.stat(old).st_ino), (self.OLD, self.old_ino))
        self.assertEqual(listing(self.path("dst")), sorted(names))

    def run_tree(self):
        return self.run_tool(self.a("src"), self.a("dst"))

    def test_dest_folder_that_refuses_changes(self):
        build(self.tmp, ["src/b.txt"])
        self.make_immutable(self.path("dst"))
        result = self.run_tree()
        self.assertFailures(result, [self.path("dst", "a.txt"), self.path("dst", "b.txt")])
        self.assertOldDestKept()

    def test_folder_where_a_file_goes(self):
        os.unlink(self.path("dst", "a.txt"))
        build(self.tmp, ["dst/a.txt/x.txt", "src/b.txt"])
        result = self.run_tree()
        self.assertFailures(result, [self.path("dst", "a.txt")])
        self.assertEqual(read(self.path("dst", "a.txt", "x.txt")), content_of("dst/a.txt/x.txt"))
        self.assertSameFile(self.path("src", "b.txt"), self.path("dst", "b.txt"))
        self.assertEqual(listing(self.path("dst")), ["a.txt", "b.txt"])

    def test_source_file_that_cannot_be_linked(self):
        self.make_immutable(self.path("src", "a.txt"))
        result = self.run_tree()
        self.assertFailures(result, [self.path("dst", "a.txt")])
        self.assertOldDestKept()
        self.assertEqual(read(self.path("src", "a.txt")), content_of("src/a.txt"))

    def test_link_count_at_its_limit(self):
        spare = self.path("spare")
        os.mkdir(spare)
        source = self.path("src", "a.txt")
        for i in range(70000):
            try:
                os.link(source, os.path.join(spare, str(i)))
            except OSError as e:
                if e.errno != errno.EMLINK:
                    raise
                break
        else:
            self.skipTest("this file system allows more than 70000 links to a file")
        result = self.run_tree()
        self.assertFailures(result, [self.path("dst", "a.txt")])
        self.assertOldDestKept()

    def test_read_only_dest_file_stays(self):
        self.only_on("windows", "on Linux the folder's permissions decide, not the file's")
        os.chmod(self.path("dst", "a.txt"), 0o444)
        self.assertIn("R", self.t.attributes(self.path("dst", "a.txt")))
        result = self.run_tree()
        self.assertFailures(result, [self.path("dst", "a.txt")])
        self.assertOldDestKept()

    def test_dest_path_beyond_length_limit(self):
        """A full path over 259 characters is never cut short.

        Windows refuses such a path in its ANSI services, which the tool
        reports as a failure; Wine accepts it, and then the link must carry
        its whole name.
        """
        self.only_on("windows", "the native limits are tested with a long name in test_posix_names")
        name = "f" * 25 + ".txt"
        build(self.tmp, ["long/" + name])
        dest = self.path("d" * (240 - len(self.t.shown(self.tmp)) - 1))
        self.assertEqual(len(self.t.shown(os.path.join(dest, name))), 270)
        result = self.run_tool(self.a("long"), self.t.arg(dest))
        if result.rc == 0:
            self.assertQuiet(result)
            self.assertEqual(listing(dest), [name])
            self.assertSameFile(self.path("long", name), os.path.join(dest, name))
        else:
            self.assertFailures(result, [os.path.join(dest, name)])
            self.assertEqual(listing(dest), [])

