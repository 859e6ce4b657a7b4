"""%NAME% references in the operands."""

from support import E2ECase, build


class Expansion(E2ECase):
    def setUp(self):
        super().setUp()
        build(self.tmp, ["src/a.txt", "src/sub/b.txt", "dst/", "lit/%HC_E2E_UNDEFINED%"])

    def test_defined_names_are_replaced(self):
        env = {"HC_E2E_SRC": self.a("src"), "HC_E2E_DIR": self.t.arg(self.tmp),
               "HC_E2E_NAME": "a.txt"}
        cases = [
            (["%HC_E2E_SRC%", self.t.join("%HC_E2E_DIR%", "tree")],
             "src/sub/b.txt", "tree/sub/b.txt"),
            ([self.t.join("%HC_E2E_DIR%", "src", "%HC_E2E_NAME%"), self.t.join("%HC_E2E_DIR%", "dst")],
             "src/a.txt", "dst/a.txt"),
        ]
        for args, source, linked in cases:
            with self.subTest(args=args):
                self.assertQuiet(self.run_tool(*args, env=env))
                self.assertSameFile(self.path(*source.split("/")), self.path(*linked.split("/")))

    def test_undefined_reference_stays_as_written(self):
        result = self.run_tool("%HC_E2E_UNDEFINED%", self.a("dst"), cwd=self.path("lit"),
                               env={"HC_E2E_UNDEFINED": None})
        self.assertQuiet(result)
        self.assertSameFile(self.path("lit", "%HC_E2E_UNDEFINED%"),
                            self.path("dst", "%HC_E2E_UNDEFINED%"))
