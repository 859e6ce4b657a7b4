"""The two builds the suite runs against, and how each one is started.

Tests speak in Linux paths and Unicode texts; a target turns them into the
arguments the tool receives and the bytes it is expected to print.
"""

import collections
import os
import shutil
import subprocess
import tempfile

RUN_TIMEOUT = 120  # a guard against a hung tool, not a measured limit

Result = collections.namedtuple("Result", "rc out err")

_current = None


def current():
    if _current is None:
        raise RuntimeError("no target: start the suite through run_e2e.py")
    return _current


def select(target):
    global _current
    _current = target


class SetupError(Exception):
    pass


def remove_tree(path):
    """Remove a test folder; rm copes with trees deeper than Python's recursion."""
    if os.path.lexists(path):
        subprocess.run(["rm", "-rf", "--one-file-system", "--", path], check=False)


class Target:
    name = None
    sep = None
    eol = None
    exe_suffix = ""
    checks_stderr = False

    def __init__(self, binary):
        self.binary = os.path.abspath(binary)
        self.root = None
        self.work_root = None

    # -- texts ---------------------------------------------------------
    def encode(self, text):
        raise NotImplementedError

    def decode(self, data):
        raise NotImplementedError

    def lines(self, lines):
        return b"".join(self.encode(line) + self.eol for line in lines)

    # -- paths ---------------------------------------------------------
    def arg(self, path):
        """The argument naming a Linux path, as the tool's user writes it."""
        raise NotImplementedError

    def shown(self, path):
        """A full path as the tool prints it."""
        return self.arg(path)

    def join(self, *parts):
        """Join argument texts with the tool's delimiter."""
        return self.sep.join(parts)

    # -- processes -----------------------------------------------------
    def base_env(self):
        raise NotImplementedError

    def command(self, binary):
        raise NotImplementedError

    def run(self, args, stdin=b"", cwd=None, env=None, binary=None):
        full_env = self.base_env()
        for key, value in (env or {}).items():
            if value is None:
                full_env.pop(key, None)
            else:
                full_env[key] = value
        proc = subprocess.run(
            self.command(binary or self.binary) + list(args),
            input=stdin,
            stdout=subprocess.PIPE,
            stderr=subprocess.PIPE,
            cwd=cwd or self.work_root,
            env=full_env,
            timeout=RUN_TIMEOUT,
        )
        return Result(proc.returncode, proc.stdout, proc.stderr)

    def copy_binary(self, folder, name):
        """A copy of the tool under another program name; returns its path."""
        path = os.path.join(folder, name + self.exe_suffix)
        shutil.copy2(self.binary, path)
        return path

    # -- life cycle ----------------------------------------------------
    def setup(self):
        if not os.path.isfile(self.binary):
            raise SetupError("binary not found: %s" % self.binary)
        self.root = tempfile.mkdtemp(prefix="hc-e2e-")
        self.work_root = os.path.join(self.root, "w")
        # A private home on the tests' file system: the trash of a file is
        # the home trash only when both lie on one file system.
        self.home = os.path.join(self.root, "home")
        self.xdg_data_home = os.path.join(self.home, "share")
        for folder in (self.work_root, self.home, self.xdg_data_home):
            os.mkdir(folder)

    def teardown(self):
        if self.root:
            remove_tree(self.root)


class PosixTarget(Target):
    name = "posix"
    sep = "/"
    eol = b"\n"
    checks_stderr = True

    def encode(self, text):
        if isinstance(text, bytes):
            return text
        return text.encode("utf-8", "surrogateescape")

    def decode(self, data):
        return data.decode("utf-8", "surrogateescape")

    def arg(self, path):
        return path

    def join(self, *parts):
        if any(isinstance(p, bytes) for p in parts):
            return b"/".join(os.fsencode(p) for p in parts)
        return "/".join(parts)

    def base_env(self):
        env = dict(os.environ)
        env.update({"LC_ALL": "C.UTF-8", "HOME": self.home,
                    "XDG_DATA_HOME": self.xdg_data_home})
        return env

    def command(self, binary):
        return [binary]


class WindowsTarget(Target):
    """hardclone.exe under Wine, with a private prefix and one wineserver.

    Folders are reached through drive Z: (the Linux root). Drive M: is a
    CD-type drive over a private folder, so its volume is not NTFS. A copy
    of the tool named hcwin98.exe is told by the registry that it runs on
    Windows 98, which reaches the not-NT outcome.
    """

    name = "windows"
    sep = "\\"
    eol = b"\r\n"
    exe_suffix = ".exe"
    old_os_program = "hcwin98"

    def encode(self, text):
        return text.encode("cp932")

    def decode(self, data):
        return data.decode("cp932", "replace")

    def arg(self, path):
        if isinstance(path, bytes):
            raise ValueError("the Windows build takes text paths only")
        return "Z:" + path.replace("/", "\\")

    def cd_arg(self, relative):
        """Argument for a path under the CD-type drive M:."""
        return "M:\\" + relative.replace("/", "\\")

    def base_env(self):
        env = dict(os.environ)
        for key in ("DISPLAY", "WAYLAND_DISPLAY", "LANG", "LANGUAGE"):
            env.pop(key, None)
        env.update({
            "WINEPREFIX": self.prefix,
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "LC_ALL": "ja_JP.UTF-8",
            "LOCPATH": self.locale_dir,
            "HOME": self.home,
            "XDG_DATA_HOME": self.xdg_data_home,
        })
        return env

    def command(self, binary):
        return ["wine", binary]

    def wine(self, *args, check=True, capture=False):
        """Run a Wine command of the set-up. Output goes to /dev/null unless
        captured: a wineserver it starts would hold a pipe open for good."""
        out = subprocess.PIPE if capture else subprocess.DEVNULL
        proc = subprocess.run(
            list(args), env=self.base_env(), cwd=self.root,
            stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL,
            timeout=RUN_TIMEOUT)
        if check and proc.returncode != 0:
            raise SetupError("%s failed with exit code %d" % (" ".join(args), proc.returncode))
        return proc

    def attributes(self, path):
        """Attribute letters Wine reports for a path (for example "AS")."""
        out = self.wine("wine", "cmd", "/c", "attrib", self.arg(path), capture=True).stdout
        text = out.decode("cp932", "replace")
        return text.split("Z:")[0].replace(" ", "")

    def setup(self):
        for tool in ("wine", "wineserver", "wineboot", "localedef"):
            if shutil.which(tool) is None:
                raise SetupError("%s is not installed" % tool)
        super().setup()
        self.prefix = os.path.join(self.root, "prefix")
        self.locale_dir = os.path.join(self.root, "locale")
        self.cd_root = os.path.join(self.root, "cdrom")
        self.program_dir = os.path.join(self.root, "bin")
        for folder in (self.locale_dir, self.cd_root, self.program_dir):
            os.mkdir(folder)
        self._build_locale()
        self.wine("wineboot", "-i")
        self._add_cd_drive()
        self.wine("wine", "reg", "add",
                  "HKCU\\Software\\Wine\\AppDefaults\\%s.exe" % self.old_os_program,
                  "/v", "Version", "/d", "win98", "/f")
        self.old_os_binary = self.copy_binary(self.program_dir, self.old_os_program)
        # Drive changes are read when the server starts: let the set-up
        # server save the registry and exit, then keep one for the suite.
        self.wine("wineserver", "-w")
        self.wine("wineserver", "-p")
        # The first program starts Wine's own services, which keep the
        # standard handles they inherit: start them here without pipes.
        self.wine("wine", "cmd", "/c", "exit")

    def _build_locale(self):
        proc = subprocess.run(
            ["localedef", "-i", "ja_JP", "-f", "UTF-8",
             os.path.join(self.locale_dir, "ja_JP.UTF-8")],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        # localedef exits 1 for warnings only; the locale is still written
        if not os.path.isdir(os.path.join(self.locale_dir, "ja_JP.UTF-8")):
            raise SetupError("localedef failed: %s" % proc.stderr.decode(errors="replace"))

    def _add_cd_drive(self):
        os.symlink(self.cd_root, os.path.join(self.prefix, "dosdevices", "m:"))
        self.wine("wine", "reg", "add", "HKLM\\Software\\Wine\\Drives",
                  "/v", "m:", "/d", "cdrom", "/f")

    def teardown(self):
        if getattr(self, "prefix", None) and os.path.isdir(self.prefix):
            self.wine("wineserver", "-k", check=False)
        super().teardown()


def make(name, binary):
    return {"posix": PosixTarget, "windows": WindowsTarget}[name](binary)
