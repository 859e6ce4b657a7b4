"""Native build: Source and Dest on different mounts cannot be linked."""

import os

from support import PosixCase, build, listing


class FileSystems(PosixCase):
    def setUp(self):
        super().setUp()
        build(self.tmp, ["src/a.txt", "real/src/a.txt"])

    def test_other_mounted_file_system_gives_5(self):
        self.mount_tmpfs(self.path("mnt"))
        build(self.path("mnt"), ["src/a.txt"])
        cases = [
            [self.path("src"), self.path("mnt", "dst")],
            [self.path("src"), self.path("mnt", "x", "y")],
            [self.path("src", "a.txt"), self.path("mnt")],
            [self.path("mnt", "src"), self.path("dst")],
        ]
        for args in cases:
            with self.subTest(args=args):
                self.assertReport(self.run_tool(*args), 5)
        self.assertEqual(listing(self.path("mnt")), ["src"])
        self.assertFalse(os.path.exists(self.path("dst")))

    def test_same_file_system_mounted_twice_gives_5(self):
        self.bind_mount(self.path("real"), self.path("bind"))
        cases = [[self.path("bind", "src"), self.path("real", "dst")],
                 [self.path("real", "src"), self.path("bind", "dst")]]
        for args in cases:
            with self.subTest(args=args):
                self.assertReport(self.run_tool(*args), 5)
        self.assertEqual(listing(self.path("real")), ["src"])
