"""Native build: very deep trees, odd names and names beyond the limit."""

import os

import texts
from support import PosixCase, build, listing, snapshot


DEPTH = 3000


def make_deep(root, depth, files_at):
    """A chain of folders named d, depth deep, built through descriptors."""
    fd = os.open(root, os.O_RDONLY | os.O_DIRECTORY)
    try:
        for level in range(1, depth + 1):
            os.mkdir("d", dir_fd=fd)
            child = os.open("d", os.O_RDONLY | os.O_DIRECTORY, dir_fd=fd)
            os.close(fd)
            fd = child
            if level in files_at:
                out = os.open("f.txt", os.O_WRONLY | os.O_CREAT, dir_fd=fd)
                os.write(out, b"level %d\n" % level)
                os.close(out)
    finally:
        os.close(fd)


def walk_deep(root, depth):
    """Inode of f.txt per level where one exists, and the deepest level reached."""
    found, reached = {}, 0
    fd = os.open(root, os.O_RDONLY | os.O_DIRECTORY)
    try:
        for level in range(1, depth + 1):
            try:
                child = os.open("d", os.O_RDONLY | os.O_DIRECTORY | os.O_NOFOLLOW, dir_fd=fd)
            except OSError:
                break
            os.close(fd)
            fd = child
            reached = level
            try:
                found[level] = os.stat("f.txt", dir_fd=fd, follow_symlinks=False).st_ino
            except FileNotFoundError:
                pass
    finally:
        os.close(fd)
    return found, reached


class DeepTree(PosixCase):
    def test_three_thousand_levels_link_completely(self):
        os.mkdir(self.path("src"))
        make_deep(self.path("src"), DEPTH, {1, DEPTH // 2, DEPTH})
        self.assertQuiet(self.run_tool(self.path("src"), self.path("dst")))
        source, _ = walk_deep(self.path("src"), DEPTH)
        linked, reached = walk_deep(self.path("dst"), DEPTH + 1)
        self.assertEqual(reached, DEPTH)
        self.assertEqual(linked, source)


ODD_NAMES = [b"with space.txt", b" lead", b"trail ", b"new\nline.txt", b"bad\xff\xfe.txt",
             b"\xe6\x97\xa5\xe6\x9c\xac.txt", b"-dash", b"star*.txt", b"dir\nx/in\xff.txt",
             b"sp ace/tab\there.txt"]


class OddNames(PosixCase):
    def setUp(self):
        super().setUp()
        self.src = os.fsencode(self.path("src"))
        self.dst = os.fsencode(self.path("dst"))
        build(self.src, ODD_NAMES)

    def test_tree_with_odd_names(self):
        self.assertQuiet(self.run_tool(self.src, self.dst))
        self.assertEqual(sorted(snapshot(self.dst)), sorted(snapshot(self.src)))
        for rel in ODD_NAMES:
            self.assertSameFile(os.path.join(self.src, rel), os.path.join(self.dst, rel))

    def test_odd_names_as_operands(self):
        os.mkdir(self.dst)
        for rel in (b"bad\xff\xfe.txt", b"new\nline.txt", b"with space.txt"):
            with self.subTest(name=rel):
                self.assertQuiet(self.run_tool(os.path.join(self.src, rel), self.dst))
                self.assertSameFile(os.path.join(self.src, rel), os.path.join(self.dst, rel))

    def test_question_shows_odd_name_bytes(self):
        dest = os.path.join(self.src, b"ask\xff\nme")
        result = self.run_tool(os.path.join(self.src, b"-dash"), dest, stdin=b"f")
        line = texts.question_line(os.fsdecode(dest))
        self.assertRun(result, 0, raw=self.t.lines([line]) + self.t.encode(texts.PROMPT))
        self.assertSameFile(os.path.join(self.src, b"-dash"), dest)


class NameTooLong(PosixCase):
    def test_dest_name_beyond_limit_is_a_failure(self):
        build(self.tmp, ["src/a.txt", "dst/"])
        dest = self.path("dst", "n" * 300)
        result = self.run_tool(self.path("src", "a.txt"), dest, stdin=b"f")
        asked = self.t.lines([texts.question_line(dest)]) + self.t.encode(texts.PROMPT)
        self.assertFailures(result, [dest], before=asked)
        self.assertEqual(listing(self.path("dst")), [])
