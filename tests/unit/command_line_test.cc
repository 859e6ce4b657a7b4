#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/report.h"
#include "tests/unit/fake_system.h"

namespace hardclone {
namespace {

using List = std::vector<Text>;

TEST(CommandLineTest, SplitsByBlanksAndControlsWithQuotesToggling) {
  const std::pair<Text, List> cases[] = {
      {"prog a b", {"a", "b"}},
      {"\"C:\\Program Files\\prog.exe\" a", {"a"}},
      {"prog \"a b\"c d", {"a bc", "d"}},
      {"prog a\"\"b", {"ab"}},
      {"prog \"X:\\\"", {"X:\\"}},
      {"prog \"\" a \"\"", {"a"}},
      {"prog\ta\x01" "b\r\nc", {"a", "b", "c"}},
      {"prog \"a\tb\"", {"a\tb"}},
      {"prog", {}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.first), c.second) << c.first;
}

TEST(CommandLineTest, SwitchTestLooksAtEveryParameter) {
  FakeSystem fs;
  const List params = {"-V", "/c", "src", "-vx", "--d", "/?"};
  EXPECT_TRUE(HasSwitch(fs, params, "v"));
  EXPECT_TRUE(HasSwitch(fs, params, "c"));
  EXPECT_TRUE(HasSwitch(fs, params, "?"));
  EXPECT_FALSE(HasSwitch(fs, params, "d"));
  EXPECT_FALSE(HasSwitch(fs, params, "h"));
  EXPECT_FALSE(LooksLikeSwitch(PathStyle::posix, "/data"));
  EXPECT_TRUE(LooksLikeSwitch(PathStyle::windows, "/data"));
}

struct SelectCase {
  PathStyle style;
  List params;
  int code;
  List sources;
  Text dest;
};

TEST(CommandLineTest, SelectsOperandsFromTheEnd) {
  const PathStyle W = PathStyle::windows;
  const PathStyle P = PathStyle::posix;
  const SelectCase cases[] = {
      {W, {}, 1, {}, ""},
      {W, {"-v"}, 2, {}, ""},
      {W, {"/v"}, 2, {}, ""},
      {W, {"src"}, 0, {"src"}, ""},
      {W, {"src", "dst"}, 0, {"src"}, "dst"},
      {W, {"-v", "src"}, 0, {"src"}, ""},
      {W, {"a", "b", "src", "dst"}, 0, {"src"}, "dst"},
      {W, {"src", "dst", "-v"}, 0, {"dst"}, "-v"},
      {W, {"-v", "-c"}, 0, {"-c"}, ""},
      {W, {"/data", "x"}, 0, {"x"}, ""},
      {P, {"/data/a", "/data/b"}, 0, {"/data/a"}, "/data/b"},
      {P, {"-v", "a", "b", "c", "dst"}, 0, {"a", "b", "c"}, "dst"},
      {P, {"-v"}, 2, {}, ""},
      {P, {"-v", "src"}, 0, {"src"}, ""},
  };
  for (const SelectCase& c : cases) {
    Operands o = SelectOperands(c.style, c.params);
    SCOPED_TRACE(testing::PrintToString(c.params));
    EXPECT_EQ(o.code, c.code);
    EXPECT_EQ(o.sources, c.sources);
    EXPECT_EQ(o.dest, c.dest);
    EXPECT_EQ(o.destGiven, !c.dest.empty());
  }
}

TEST(CommandLineTest, HundredParametersTakeNoOperandOnWindowsOnly) {
  List params(99, "f");
  EXPECT_EQ(SelectOperands(PathStyle::windows, params).code, 0);
  params.push_back("f");
  EXPECT_EQ(SelectOperands(PathStyle::windows, params).code, 2);
  // On POSIX a shell-expanded mask easily gives that many files.
  EXPECT_EQ(SelectOperands(PathStyle::posix, params).sources.size(), 99u);
}

TEST(CommandLineTest, CodeConversion) {
  EXPECT_EQ(ConvertCode(1, false), 99);
  EXPECT_EQ(ConvertCode(1, true), 99);
  EXPECT_EQ(ConvertCode(2, false), 2);
  EXPECT_EQ(ConvertCode(2, true), 99);
  EXPECT_EQ(ConvertCode(4, true), 4);
  EXPECT_EQ(ConvertCode(9, true), 9);
}

TEST(TextTest, FormatFillsSlotsInOrderWithoutRescanning) {
  EXPECT_EQ(Format("E: %s (%s)", {"C:\\100%s", "why"}), "E: C:\\100%s (why)");
  EXPECT_EQ(Format("%d items", {"3"}), "3 items");
  EXPECT_EQ(Format("100% %s", {"x"}), "100% x");
  EXPECT_EQ(TrimBlanks(" \t A b\r\n"), "A b");
  EXPECT_EQ(TrimBlanks("   "), "");
}

}  // namespace
}  // namespace hardclone
