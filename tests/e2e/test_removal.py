"""Clearing an existing Dest first: -c into the trash, -d permanently."""

import os

import targets
from support import E2ECase, build, content_of, listing, read, snapshot


class Removal(E2ECase):
    def setUp(self):
        super().setUp()
        build(self.tmp, ["src/a.txt", "src/sub/b.txt"])
        self.env = {"XDG_DATA_HOME": self.path("xdg")}

    def reset_folders(self):
        """Fresh Dest and trash for each case of a table."""
        for name in ("dst", "xdg", "kept"):
            targets.remove_tree(self.path(name))
        build(self.tmp, ["dst/old.txt", "dst/sub/old2.txt", "xdg/"])

    def run_with(self, *switches):
        return self.run_tool(*switches, self.a("src"), self.a("dst"), env=self.env)

    def assertRebuiltFromSourceOnly(self):
        self.assertEqual(sorted(snapshot(self.path("dst"))), ["a.txt", "sub", "sub/b.txt"])
        self.assertSameFile(self.path("src", "a.txt"), self.path("dst", "a.txt"))
        self.assertSameFile(self.path("src", "sub", "b.txt"), self.path("dst", "sub", "b.txt"))

    def assertTrashed(self):
        trashed = self.path("xdg", "Trash", "files", "dst")
        self.assertEqual(read(os.path.join(trashed, "old.txt")), content_of("dst/old.txt"))
        self.assertEqual(read(os.path.join(trashed, "sub", "old2.txt")),
                         content_of("dst/sub/old2.txt"))
        self.assertTrue(os.path.isfile(self.path("xdg", "Trash", "info", "dst.trashinfo")))

    def trash_is_empty(self):
        files = self.path("xdg", "Trash", "files")
        return not os.path.isdir(files) or listing(files) == []

    def test_c_moves_dest_into_trash(self):
        # c wins over d, in any order and letter case.
        for switches in (["-c"], ["-c", "-d"], ["-d", "-C"]):
            with self.subTest(switches=switches):
                self.reset_folders()
                self.assertQuiet(self.run_with(*switches))
                self.assertRebuiltFromSourceOnly()
                self.assertTrashed()

    def test_d_removes_dest_permanently(self):
        for switches in (["-d"], ["-D"]):
            with self.subTest(switches=switches):
                self.reset_folders()
                self.assertQuiet(self.run_with(*switches))
                self.assertRebuiltFromSourceOnly()
                self.assertTrue(self.trash_is_empty())

    def test_file_source_never_removes_dest(self):
        for source in (self.a("src", "a.txt"), self.a("src") + self.t.sep + "*.txt"):
            with self.subTest(source=source):
                self.reset_folders()
                result = self.run_tool("-d", source, self.a("dst"), env=self.env)
                self.assertQuiet(result)
                self.assertEqual(sorted(snapshot(self.path("dst"))),
                                 ["a.txt", "old.txt", "sub", "sub/old2.txt"])
                self.assertSameFile(self.path("src", "a.txt"), self.path("dst", "a.txt"))

    def test_missing_dest_is_just_made(self):
        for switches in (["-c"], ["-d"]):
            with self.subTest(switches=switches):
                self.reset_folders()
                os.rename(self.path("dst"), self.path("kept"))
                self.assertQuiet(self.run_with(*switches))
                self.assertRebuiltFromSourceOnly()
                self.assertTrue(self.trash_is_empty())
                self.assertEqual(read(self.path("kept", "old.txt")), content_of("dst/old.txt"))
