"""Reports: message, empty line, version line, usage screen, exit code."""

import os

import support
import targets
from support import E2ECase, build


class UsageScreen(E2ECase):
    def test_usage_alone_gives_99(self):
        cases = [[], ["-h"], ["-H"], ["-?"]]
        if self.windows:
            cases += [["/?"], ["/h"], ["/H"]]
        for args in cases:
            with self.subTest(args=args):
                self.assertReport(self.run_tool(*args), 99)

    def test_program_name_comes_from_the_executable(self):
        # The name part without its extension: "my.tool.exe" shows "my.tool".
        name = "my.tool" if self.windows else "hc_copy"
        binary = self.copy_binary(name)
        self.assertReport(self.run_tool("-h", binary=binary), 99, program=name)
        self.assertReport(self.run_tool("-v", binary=binary), 2, program=name)


class Messages(E2ECase):
    def setUp(self):
        super().setUp()
        build(self.tmp, ["src/a.txt", "src/sub/b.txt"])

    def test_each_code_prints_its_report(self):
        sep = self.t.sep
        cases = [
            (2, ["-v"]),
            (2, ["-x"]),
            (3, [self.a("missing") + sep + "*.txt"]),
            (4, [self.a("nothing.txt")]),
            (4, [self.a("src", "nothing.txt"), self.a("dst")]),
            (4, ["-v", "-c"]),  # -c is the Source, taken as a path
            (8, [self.a("src"), self.a("src")]),
            (8, [self.a("src"), self.a("src") + sep]),
            (8, [self.a("src"), self.a("src") + sep + "."]),
            (8, [self.a("src"), self.t.join(self.a("src", "sub"), "..")]),
            (9, [self.a("src", "a.txt"), self.t.join(self.a("src", "sub"), "..", "a.txt")]),
            (9, [self.a("src", "a.txt"), self.a("src")]),
            (9, [self.a("src", "a.txt"), self.a("src", "a.txt")]),
        ]
        if self.windows:
            cases += [(2, ["/v"]), (8, [self.a("src"), self.a("SRC")])]
        for code, args in cases:
            with self.subTest(code=code, args=args):
                before = support.snapshot(self.tmp)
                self.assertReport(self.run_tool(*args), code)
                self.assertEqual(support.snapshot(self.tmp), before)

    def test_file_source_in_current_folder_without_dest_gives_9(self):
        result = self.run_tool(self.a("src", "a.txt"), cwd=self.path("src"))
        self.assertReport(result, 9)
        self.assertEqual(os.stat(self.path("src", "a.txt")).st_nlink, 1)

    def test_wildcard_in_folder_part_is_no_wildcard(self):
        sep = self.t.sep
        self.assertReport(self.run_tool(self.a("s*c") + sep + "a.txt", self.a("dst")), 4)
        self.assertFalse(os.path.exists(self.path("dst")))


class ParameterCount(E2ECase):
    def setUp(self):
        super().setUp()
        build(self.tmp, ["src/a.txt"])

    def test_hundred_parameters_take_no_operand(self):
        self.only_on("windows", "on Linux every parameter before the last is a "
                     "Source, however many the shell expands (see test_posix_operands)")
        cases = [
            (2, ["x"] * 100),
            (2, ["x"] * 150),
            (99, ["-h"] + ["x"] * 99),
            (99, ["x"] * 99 + ["-?"]),
        ]
        for code, args in cases:
            with self.subTest(code=code, count=len(args), first=args[0], last=args[-1]):
                self.assertReport(self.run_tool(*args), code)

    def test_ninety_nine_parameters_still_work(self):
        args = ["-c"] * 97 + [self.a("src"), self.a("dst")]
        self.assertQuiet(self.run_tool(*args))
        self.assertSameFile(self.path("src", "a.txt"), self.path("dst", "a.txt"))

    def test_empty_parameters_do_not_count(self):
        result = self.run_tool("", self.a("src"), "", self.a("dst"), "")
        self.assertQuiet(result)
        self.assertSameFile(self.path("src", "a.txt"), self.path("dst", "a.txt"))

    def test_usage_switch_with_valid_operands_is_ignored(self):
        self.assertQuiet(self.run_tool("-h", self.a("src"), self.a("dst")))
        self.assertSameFile(self.path("src", "a.txt"), self.path("dst", "a.txt"))


class PlatformChecks(E2ECase):
    def test_different_drives_give_5(self):
        self.only_on("windows", "drive letters; the native case is in test_posix_mounts")
        build(self.tmp, ["src/a.txt"])
        self.assertReport(self.run_tool(self.a("src"), "C:\\hc-e2e-dest"), 5)
        drive_c = os.path.join(self.t.prefix, "drive_c", "hc-e2e-dest")
        self.assertFalse(os.path.exists(drive_c))

    def test_drive_letters_compare_ignoring_case(self):
        self.only_on("windows", "drive letters")
        build(self.tmp, ["src/a.txt"])
        self.assertQuiet(self.run_tool("z" + self.a("src")[1:], self.a("dst")))
        self.assertSameFile(self.path("src", "a.txt"), self.path("dst", "a.txt"))

    def test_volume_that_is_not_ntfs_gives_6(self):
        if self.posix:
            self.skipTest("needs a mounted FAT or exFAT volume, which the suite "
                          "cannot make here (the kernel has no FAT driver)")
        folder = os.path.basename(self.tmp)
        build(os.path.join(self.t.cd_root, folder), ["src/a.txt"])
        self.addCleanup(targets.remove_tree, os.path.join(self.t.cd_root, folder))
        src = self.t.cd_arg(folder + "/src")
        dst = self.t.cd_arg(folder + "/dst")
        self.assertReport(self.run_tool(src, dst), 6)
        self.assertFalse(os.path.exists(os.path.join(self.t.cd_root, folder, "dst")))

    def test_system_outside_nt_family_gives_7_before_anything_else(self):
        self.only_on("windows", "the native build always counts as NT family")
        build(self.tmp, ["src/a.txt"])
        program = self.t.old_os_program
        for args in ([], ["-h"], [self.a("src"), self.a("dst")]):
            with self.subTest(args=args):
                result = self.run_tool(*args, binary=self.t.old_os_binary)
                self.assertReport(result, 7, program=program)
        self.assertFalse(os.path.exists(self.path("dst")))
