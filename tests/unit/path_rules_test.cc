#include "general/path_rules.h"

#include <gtest/gtest.h>

namespace hardclone {
namespace {

const PathRules kWin{PathStyle::windows, IsCp932LeadByte};
const PathRules kPosix{PathStyle::posix, NoLeadBytes};

// 表 and ソ end in 0x5C under code page 932: a second byte, not a delimiter.
const Text kHyou = "\x95\x5C";
const Text kSo = "\x83\x5C";

struct PartCase {
  Text path;
  Text directory;
  Text name;
  Text drive;
};

TEST(PathRulesTest, WindowsParts) {
  const PartCase cases[] = {
      {"C:\\a\\b.txt", "C:\\a\\", "b.txt", "C:"},
      {"C:x", "C:", "x", "C:"},
      {"C:\\", "C:\\", "", "C:"},
      {"name", "", "name", ""},
      {"", "", "", ""},
      {"a/b", "", "a/b", ""},
      {"\\\\server\\share\\dir\\f", "\\\\server\\share\\dir\\", "f", "\\\\server\\share"},
      {"\\\\server\\share", "\\\\server\\", "share", "\\\\server\\share"},
      {"\\\\server\\", "\\\\server\\", "", "\\\\server"},
      {"C:\\" + kHyou, "C:\\", kHyou, "C:"},
      {"C:\\" + kHyou + "\\x", "C:\\" + kHyou + "\\", "x", "C:"},
      {"C:\\a\x81\x81\\b", "C:\\a\x81\x81\\", "b", "C:"},  // even run: 0x5C stands alone
  };
  for (const PartCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(DirectoryPart(kWin, c.path), c.directory);
    EXPECT_EQ(NamePart(kWin, c.path), c.name);
    EXPECT_EQ(DrivePart(kWin, c.path), c.drive);
  }
}

TEST(PathRulesTest, PosixParts) {
  const PartCase cases[] = {
      {"/a/b.txt", "/a/", "b.txt", ""},
      {"/", "/", "", ""},
      {"a\\b", "", "a\\b", ""},
      {"C:x", "", "C:x", ""},
  };
  for (const PartCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(DirectoryPart(kPosix, c.path), c.directory);
    EXPECT_EQ(NamePart(kPosix, c.path), c.name);
    EXPECT_EQ(DrivePart(kPosix, c.path), c.drive);
  }
}

struct DelimiterCase {
  PathRules rules;
  Text path;
  Text with;
  Text without;
  bool ends;
};

TEST(PathRulesTest, TrailingDelimiters) {
  const DelimiterCase cases[] = {
      {kWin, "C:\\a", "C:\\a\\", "C:\\a", false},
      {kWin, "C:\\", "C:\\", "C:", true},
      {kWin, "C:\\a\\\\", "C:\\a\\\\", "C:\\a\\", true},
      {kWin, "", "\\", "", false},
      {kWin, "C:\\" + kSo, "C:\\" + kSo + "\\", "C:\\" + kSo, false},
      {kPosix, "/a", "/a/", "/a", false},
      {kPosix, "/a/", "/a/", "/a", true},
      {kPosix, "/", "/", "/", true},
  };
  for (const DelimiterCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(WithTrailingDelimiter(c.rules, c.path), c.with);
    EXPECT_EQ(WithoutTrailingDelimiter(c.rules, c.path), c.without);
    EXPECT_EQ(EndsWithDelimiter(c.rules, c.path), c.ends);
  }
}

TEST(PathRulesTest, NameWithoutExtension) {
  const std::pair<Text, Text> cases[] = {
      {"C:\\dir.x\\tool.exe", "C:\\dir.x\\tool"},
      {"a.b.c", "a.b"},
      {"C:\\x.y\\z", "C:\\x.y\\z"},
      {"C:x.y", "C:x"},
      {"D:.z", "D:"},
      {"plain", "plain"},
  };
  for (const auto& c : cases) EXPECT_EQ(NameWithoutExtension(kWin, c.first), c.second) << c.first;
  EXPECT_EQ(NameWithoutExtension(kPosix, "/a.b/tool"), "/a.b/tool");
}

TEST(PathRulesTest, CutAtLaterColon) {
  const std::pair<Text, Text> cases[] = {
      {"C:\\dir\\file:stream", "C:\\dir\\file"},
      {"abc:d", "abc"},
      {"ab:c", "ab:c"},
      {"C:\\dir", "C:\\dir"},
      {"C:", "C:"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CutAtLaterColon(c.first), c.second) << c.first;
}

TEST(PathRulesTest, LexicalFullPath) {
  const std::pair<Text, Text> cases[] = {
      {"a/../b", "/x/b"},
      {"/..", "/"},
      {"/", "/"},
      {".", "/x"},
      {"..", "/"},
      {"//a//b/./c/", "/a/b/c"},
      {"/a/b/../../..", "/"},
      {"sub dir/f", "/x/sub dir/f"},
  };
  for (const auto& c : cases) EXPECT_EQ(LexicalFullPath(c.first, "/x"), c.second) << c.first;
}

TEST(PathRulesTest, JoinPath) {
  EXPECT_EQ(JoinPath(kWin, "C:\\", "a"), "C:\\a");
  EXPECT_EQ(JoinPath(kWin, "C:\\d", "a"), "C:\\d\\a");
  EXPECT_EQ(JoinPath(kPosix, "/", "a"), "/a");
}

}  // namespace
}  // namespace hardclone
