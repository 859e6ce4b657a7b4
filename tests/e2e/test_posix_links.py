"""Native build: symbolic links are linked, never followed; the trash."""

import os
import stat

import trace
from support import PosixCase, build, content_of, listing, read, snapshot, write


class SymbolicLinks(PosixCase):
    def setUp(self):
        super().setUp()
        build(self.tmp, ["src/a.txt", "outside/x.txt", "src/sub/b.txt"])
        os.symlink("a.txt", self.path("src", "ln-file"))
        os.symlink(self.path("outside"), self.path("src", "ln-dir"))
        os.symlink("nowhere", self.path("src", "ln-broken"))
        self.outside = snapshot(self.path("outside"))

    def test_links_in_source_are_linked_not_followed(self):
        self.assertQuiet(self.run_tool(self.path("src"), self.path("dst")))
        for name in ("ln-file", "ln-dir", "ln-broken"):
            linked = self.path("dst", name)
            self.assertTrue(stat.S_ISLNK(os.lstat(linked).st_mode), name)
            self.assertSameFile(self.path("src", name), linked)
        self.assertEqual(listing(self.path("dst")), ["a.txt", "ln-broken", "ln-dir",
                                                     "ln-file", "sub"])
        self.assertEqual(snapshot(self.path("outside")), self.outside)

    def test_links_in_source_are_traced_as_files(self):
        result = self.run_tool("-v", self.path("src"), self.path("dst"))
        tree = {"a.txt": None, "ln-file": None, "ln-dir": None, "ln-broken": None,
                "sub": {"b.txt": None}}
        self.assertTrace(result, [trace.expected(self.t, self.path("src"),
                                                 self.path("dst"), tree)])

    def test_links_planted_in_dest_lead_nowhere(self):
        build(self.tmp, ["dst/", "victim/"])
        write(self.path("victim.txt"), b"victim\n")
        os.symlink(self.path("victim"), self.path("dst", "sub"))
        os.symlink(self.path("victim.txt"), self.path("dst", "a.txt"))
        result = self.run_tool(self.path("src"), self.path("dst"))
        self.assertIn(result.rc, (0, 11), self.t.decode(result.out))
        self.assertEqual(listing(self.path("victim")), [])
        self.assertEqual(read(self.path("victim.txt")), b"victim\n")
        self.assertEqual(os.stat(self.path("victim.txt")).st_nlink, 1)
        self.assertSameFile(self.path("src", "a.txt"), self.path("dst", "a.txt"))

    def test_removal_never_follows_links(self):
        for switch in ("-d", "-c"):
            with self.subTest(switch=switch):
                build(self.tmp, ["dst/old.txt", "xdg/"])
                os.symlink(self.path("outside"), self.path("dst", "ln-out"))
                env = {"XDG_DATA_HOME": self.path("xdg")}
                result = self.run_tool(switch, self.path("src"), self.path("dst"), env=env)
                self.assertQuiet(result)
                self.assertEqual(snapshot(self.path("outside")), self.outside)
                self.assertFalse(os.path.lexists(self.path("dst", "old.txt")))
                self.assertSameFile(self.path("src", "a.txt"), self.path("dst", "a.txt"))


class Trash(PosixCase):
    def test_dest_is_kept_when_trash_refuses(self):
        build(self.tmp, ["src/a.txt", "dst/old.txt", "xdg/Trash/files/", "xdg/Trash/info/"])
        self.make_immutable(self.path("xdg", "Trash", "files"))
        self.make_immutable(self.path("xdg", "Trash", "info"))
        result = self.run_tool("-c", self.path("src"), self.path("dst"),
                               env={"XDG_DATA_HOME": self.path("xdg")})
        self.assertFailures(result, [self.path("dst")])
        self.assertEqual(read(self.path("dst", "old.txt")), content_of("dst/old.txt"))
