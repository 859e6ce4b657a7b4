"""Native build: the texts follow the locale's codeset."""

import os
import subprocess

import texts
from support import PosixCase


class Encoding(PosixCase):
    def locale_env(self, charmap, name):
        folder = self.path("locale")
        os.makedirs(folder, exist_ok=True)
        # localedef exits 1 for mere warnings (Shift_JIS is not ASCII
        # compatible); the locale is written all the same.
        subprocess.run(["localedef", "-i", "ja_JP", "-f", charmap, os.path.join(folder, name)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not os.path.isdir(os.path.join(folder, name)):
            self.skipTest("localedef could not build %s here" % name)
        return {"LOCPATH": folder, "LC_ALL": name}

    def test_shift_jis_locale_gets_code_page_932_bytes(self):
        env = self.locale_env("SHIFT_JIS", "ja_JP.SJIS")
        expected = b"".join(line.encode("cp932") + b"\n" for line in texts.report_lines(2))
        result = self.run_tool("-x", env=env)
        self.assertEqual((result.rc, result.out), (2, expected))

    def test_utf8_locale_gets_utf8(self):
        env = self.locale_env("UTF-8", "ja_JP.UTF-8")
        expected = b"".join(line.encode("utf-8") + b"\n" for line in texts.report_lines(2))
        result = self.run_tool("-x", env=env)
        self.assertEqual((result.rc, result.out), (2, expected))
