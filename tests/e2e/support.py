"""Base test case and file-system helpers shared by the test modules."""

import os
import stat
import subprocess
import tempfile
import unittest

import targets
import texts
import trace


def content_of(rel):
    """Each fixture file holds its own relative name, so contents differ."""
    return ("content of %s\n" % os.fsdecode(rel)).encode("utf-8", "surrogateescape")


def build(root, entries):
    """Make folders (names ending in "/") and files under root."""
    for rel in entries:
        path = os.path.join(root, rel)
        if rel.endswith("/" if isinstance(rel, str) else b"/"):
            os.makedirs(path, exist_ok=True)
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(content_of(rel))


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode())


def read(path):
    with open(path, "rb") as f:
        return f.read()


def snapshot(root):
    """Every entry below root: files with content and inode, folders, links."""
    found = {}
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, root)
            st = os.lstat(path)
            if stat.S_ISLNK(st.st_mode):
                found[rel] = ("link", os.readlink(path))
            elif stat.S_ISDIR(st.st_mode):
                found[rel] = ("dir",)
            else:
                found[rel] = ("file", read(path), st.st_ino)
    return found


def listing(folder):
    return sorted(os.listdir(folder))


def try_command(args):
    """Run a helper command; returns an error text, or None when it worked."""
    try:
        proc = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    except OSError as e:
        return str(e)
    if proc.returncode != 0:
        return proc.stderr.decode(errors="replace").strip() or "exit %d" % proc.returncode
    return None


class E2ECase(unittest.TestCase):
    maxDiff = None

    @classmethod
    def setUpClass(cls):
        cls.t = targets.current()

    def setUp(self):
        self.tmp = tempfile.mkdtemp(dir=self.t.work_root)
        self.addCleanup(targets.remove_tree, self.tmp)

    # -- target helpers ------------------------------------------------
    @property
    def windows(self):
        return self.t.name == "windows"

    @property
    def posix(self):
        return self.t.name == "posix"

    def only_on(self, name, reason):
        if self.t.name != name:
            self.skipTest("%s only: %s" % (name, reason))

    def path(self, *parts):
        return os.path.join(self.tmp, *parts)

    def a(self, *parts):
        """The tool's argument for a path below this test's folder."""
        return self.t.arg(self.path(*parts))

    def run_tool(self, *args, stdin=b"", cwd=None, env=None, binary=None):
        result = self.t.run(args, stdin=stdin, cwd=cwd or self.tmp, env=env, binary=binary)
        if self.t.checks_stderr:
            self.assertEqual(result.err, b"", "the tool wrote to standard error")
        return result

    def expect_lines(self, lines):
        return self.t.lines(lines)

    # -- assertions ----------------------------------------------------
    def assertRun(self, result, rc, lines=None, raw=None):
        """Exit code and the exact standard output (lines, or raw bytes)."""
        expected = raw if raw is not None else self.expect_lines(lines or [])
        self.assertEqual((result.rc, result.out), (rc, expected))

    def assertReport(self, result, code, program=texts.PROGRAM):
        rc = code & 0xFF
        self.assertRun(result, rc, texts.report_lines(code, program))

    def assertQuiet(self, result):
        """A successful run without -v prints nothing."""
        self.assertRun(result, 0, [])

    def assertSameFile(self, a, b):
        sa, sb = os.lstat(a), os.lstat(b)
        self.assertEqual((sa.st_dev, sa.st_ino), (sb.st_dev, sb.st_ino),
                         "%r and %r are not one file" % (a, b))

    def assertLinkedTree(self, src, dst, files):
        for rel in files:
            self.assertSameFile(os.path.join(src, rel), os.path.join(dst, rel))

    def assertFailures(self, result, paths, before=b""):
        """Exit 11, one error line per failed path, then the count line.

        The reason text is the system's and is not compared; the order of
        the error lines is the listing order, which Linux leaves open.
        """
        self.assertEqual(result.rc, 11, self.t.decode(result.out))
        self.assertTrue(result.out.startswith(before), self.t.decode(result.out))
        body = result.out[len(before):]
        self.assertTrue(body.endswith(self.t.eol), self.t.decode(result.out))
        lines = self.t.decode(body).split(self.t.decode(self.t.eol))[:-1]
        self.assertEqual(lines[-1:], [texts.FAILED_COUNT % len(paths)])
        for line in lines[:-1]:
            self.assertTrue(line.startswith(texts.ERROR_PREFIX) and line.endswith(")"),
                            "not an error line: %r" % line)
        shown = [line[len(texts.ERROR_PREFIX):] for line in lines[:-1]]
        wanted = [self.t.decode(self.t.encode(self.t.shown(p))) for p in paths]
        self.assertEqual(len(shown), len(wanted), lines)
        for want in wanted:
            self.assertTrue(any(s.startswith(want + " (") for s in shown),
                            "no error line for %r in %r" % (want, lines))

    def assertTrace(self, result, blocks, head=None, rc=0):
        """Version line (or head) followed by the trace of the given walks."""
        head = [texts.version_line()] if head is None else head
        if self.windows:
            lines = head + [line for block in blocks for line in block.lines()]
            self.assertRun(result, rc, lines)
            return
        self.assertEqual(result.rc, rc, self.t.decode(result.out))
        lines = trace_lines(self.t, result.out)
        self.assertEqual(lines[:len(head)], head)
        error = trace.mismatch(lines[len(head):], blocks)
        if error:
            self.fail("%s in the trace:\n%s" % (error, "\n".join(lines)))

    # -- fixtures with clean-up ----------------------------------------
    def make_immutable(self, path):
        """chattr +i, undone at clean-up; skips when the file system refuses."""
        error = try_command(["chattr", "+i", path])
        if error:
            self.skipTest("chattr +i is not possible here (%s)" % error)
        self.addCleanup(try_command, ["chattr", "-i", path])

    def mount_tmpfs(self, path):
        os.makedirs(path, exist_ok=True)
        error = try_command(["mount", "-t", "tmpfs", "-o", "size=4m", "hc-e2e", path])
        if error:
            self.skipTest("cannot mount a tmpfs here (%s)" % error)
        self.addCleanup(try_command, ["umount", "-l", path])

    def bind_mount(self, source, path):
        os.makedirs(path, exist_ok=True)
        error = try_command(["mount", "--bind", source, path])
        if error:
            self.skipTest("cannot bind-mount here (%s)" % error)
        self.addCleanup(try_command, ["umount", "-l", path])

    def copy_binary(self, name):
        folder = self.path("bin")
        os.makedirs(folder, exist_ok=True)
        return self.t.copy_binary(folder, name)


class PosixCase(E2ECase):
    def setUp(self):
        if self.t.name != "posix":
            self.skipTest("native build only: Linux paths, symbolic links and mounts")
        super().setUp()


def trace_lines(target, data):
    """Decoded lines of an output that must end with a line end."""
    text = target.decode(data)
    eol = target.decode(target.eol)
    if text and not text.endswith(eol):
        raise AssertionError("output does not end with a line end: %r" % text)
    return text.split(eol)[:-1] if text else []
