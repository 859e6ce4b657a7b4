#include <gtest/gtest.h>

#include "app/run.h"
#include "app/texts.h"
#include "general/tree_linker.h"
#include "tests/unit/fake_system.h"

namespace hardclone {
namespace {

Text UsageScreen() {
  Text text = "hardclone version1.00\r\n";
  for (const char* line : UsageLines()) text += Format(line, {"hardclone"}) + "\r\n";
  return text;
}

Text ReportOf(int code) { return Text(MessageOf(code)) + "\r\n\r\n" + UsageScreen(); }

class FrontEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.AddFolder("C:\\");
    fs.AddFolder("C:\\work");
    fs.AddFolder("C:\\s");
    fs.AddFile("C:\\s\\a.txt");
    fs.AddFolder("C:\\s\\sub");
    fs.AddFile("C:\\s\\sub\\b.txt");
    fs.AddFolder("D:\\");
  }
  void TearDown() override { Verbose = false; }

  int Run(const Text& parameters, const Text& input = "") {
    fs.commandLine = "C:\\tools\\hardclone.exe " + parameters;
    fs.input = input;
    return hardclone::Run(fs);
  }

  FakeSystem fs;
};

TEST_F(FrontEndTest, UsageScreenAlone) {
  for (const char* params : {"", "-h", "/?", "-H"}) {
    fs.output.clear();
    EXPECT_EQ(Run(params), 99) << params;
    EXPECT_EQ(fs.output, UsageScreen()) << params;
  }
  EXPECT_EQ(UsageLines().size(), 12u);
  EXPECT_EQ(Format(UsageLines()[0], {"x"}), "使用法: x [オプション]\u2025\u2025 Source [Dest]");
}

struct CodeCase {
  Text params;
  int code;
};

TEST_F(FrontEndTest, ReportsEachRejectedRequest) {
  fs.AddFile("C:\\work\\here.txt");
  const CodeCase cases[] = {
      {"-v", 2},
      {"-v -c", 4},  // "-c" is taken as the Source path
      {"C:\\missing\\*.txt", 3},
      {"C:\\s\\nothing.txt", 4},
      {"C:\\s\\a*\\x.txt", 4},  // a wildcard in the folder part is no mask
      {"C:\\s D:\\d", 5},
      {"C:\\s c:\\S\\", 8},
      {"C:\\s\\a.txt C:\\s", 9},
      {"C:\\work\\here.txt", 9},  // Dest omitted, the file lies in the current folder
      {"C:\\s\\*.txt \"C:\\S \"", 9},
      {"-d C:\\s\\sub C:\\s", 10},
      {"-c C:\\s C:\\s\\sub", 10},
  };
  for (const CodeCase& c : cases) {
    fs.output.clear();
    fs.calls.clear();
    EXPECT_EQ(Run(c.params), c.code) << c.params;
    EXPECT_EQ(fs.output, ReportOf(c.code)) << c.params;
    EXPECT_TRUE(fs.calls.empty()) << c.params;
  }
  EXPECT_TRUE(fs.Has("C:\\s\\sub\\b.txt"));
}

TEST_F(FrontEndTest, SystemAndVolumeChecks) {
  fs.windowsNT = false;
  EXPECT_EQ(Run("C:\\s C:\\d"), 7);
  EXPECT_EQ(fs.output, ReportOf(7));
  fs.windowsNT = true;
  fs.ntfs = false;
  fs.output.clear();
  EXPECT_EQ(Run("C:\\s C:\\d"), 6);
  EXPECT_EQ(fs.output, ReportOf(6));
}

TEST_F(FrontEndTest, UsageSwitchIsIgnoredWhenTheOperandsAreGood) {
  EXPECT_EQ(Run("-h C:\\s C:\\d"), 0);
  EXPECT_EQ(fs.output, "");
  EXPECT_EQ(fs.IdOf("C:\\d\\sub\\b.txt"), fs.IdOf("C:\\s\\sub\\b.txt"));
}

TEST_F(FrontEndTest, HundredParametersReportCodeTwoOrUsage) {
  Text params;
  for (int i = 0; i < 100; ++i) params += " C:\\s";
  EXPECT_EQ(Run(params), 2);
  fs.output.clear();
  EXPECT_EQ(Run("-h" + params), 99);
  EXPECT_EQ(fs.output, UsageScreen());
}

TEST_F(FrontEndTest, VerboseRunStartsWithTheVersionLineAndMakesTheDestChain) {
  EXPECT_EQ(Run("-v C:\\s\\a*.txt C:\\x\\y"), 0);
  EXPECT_EQ(fs.output.rfind("hardclone version1.00\r\n\r\nFrom: C:\\s\r\nTo  : C:\\x\\y\r\n\r\n  a.txt\r\n", 0), 0u)
      << fs.output;
  EXPECT_EQ(fs.IdOf("C:\\x\\y\\a.txt"), fs.IdOf("C:\\s\\a.txt"));
}

TEST_F(FrontEndTest, FileSourceWithDestOmittedLinksIntoTheCurrentFolder) {
  EXPECT_EQ(Run("C:\\s\\a.txt"), 0);
  EXPECT_EQ(fs.IdOf("C:\\work\\a.txt"), fs.IdOf("C:\\s\\a.txt"));
}

TEST_F(FrontEndTest, EnvironmentReferencesAreExpanded) {
  fs.environment["TOP"] = "C:\\s";
  EXPECT_EQ(Run("%TOP%\\a.txt C:\\s\\copy.txt", "f"), 0);
  EXPECT_EQ(fs.IdOf("C:\\s\\copy.txt"), fs.IdOf("C:\\s\\a.txt"));
}

TEST_F(FrontEndTest, QuestionAnswersFileFolderOrCancel) {
  auto question = [](const Text& dest) {
    return "対象 " + dest + " はファイルですか？ディレクトリですか？\r\nそれともキャンセルしますか？(F/D/C):";
  };
  EXPECT_EQ(Run("C:\\s\\a.txt C:\\new", "x\r\nf"), 0);
  EXPECT_EQ(fs.output, question("C:\\new") + "\b\b\b");
  EXPECT_EQ(fs.IdOf("C:\\new"), fs.IdOf("C:\\s\\a.txt"));

  fs.output.clear();
  EXPECT_EQ(Run("C:\\s\\a.txt C:\\new2", "D"), 0);
  EXPECT_EQ(fs.IdOf("C:\\new2\\a.txt"), fs.IdOf("C:\\s\\a.txt"));

  for (const Text& input : {Text(""), Text("c"), Text("\x1a"), Text("q")}) {
    fs.output.clear();
    fs.calls.clear();
    EXPECT_EQ(Run("C:\\s\\a.txt C:\\new3", input), -1);
    const Text backspaces = input == "q" ? "\b" : "";
    EXPECT_EQ(fs.output, question("C:\\new3") + backspaces + "処理はキャンセルされました。\r\n");
    EXPECT_TRUE(fs.calls.empty());
  }
}

TEST_F(FrontEndTest, DestEndingInADoubleByteCharacterIsNoFolderByItsLastByte) {
  const Text hyou = "\x95\x5C";
  EXPECT_EQ(Run("C:\\s\\a.txt C:\\" + hyou, "f"), 0);
  EXPECT_EQ(fs.IdOf("C:\\" + hyou), fs.IdOf("C:\\s\\a.txt"));
  EXPECT_NE(fs.output.find("(F/D/C):"), Text::npos);
}

TEST_F(FrontEndTest, ClearingSwitchesRemoveAnExistingDestFolderFirst) {
  const std::pair<Text, Text> cases[] = {
      {"-c", "Recycle C:\\d"}, {"-d", "Delete C:\\d"}, {"-d /C", "Recycle C:\\d"}};
  for (const auto& c : cases) {
    fs.AddFolder("C:\\d");
    fs.AddFile("C:\\d\\old");
    fs.calls.clear();
    EXPECT_EQ(Run(c.first + " C:\\s C:\\d"), 0) << c.first;
    ASSERT_FALSE(fs.calls.empty());
    EXPECT_EQ(fs.calls[0], c.second);
    EXPECT_FALSE(fs.Has("C:\\d\\old"));
    EXPECT_TRUE(fs.Has("C:\\d\\sub\\b.txt"));
  }
  // A file Source never removes an existing Dest.
  fs.AddFile("C:\\d\\old");
  EXPECT_EQ(Run("-c C:\\s\\a.txt C:\\d"), 0);
  EXPECT_TRUE(fs.Has("C:\\d\\old"));
}

TEST_F(FrontEndTest, FailedItemsEndTheRunWithCodeEleven) {
  fs.failures["C:\\d\\a.txt"] = 5;
  EXPECT_EQ(Run("C:\\s C:\\d"), 11);
  EXPECT_EQ(fs.output, "エラー: C:\\d\\a.txt (reason 5)\r\n1 件の処理に失敗しました。\r\n");
  EXPECT_EQ(fs.IdOf("C:\\d\\sub\\b.txt"), fs.IdOf("C:\\s\\sub\\b.txt"));
}

}  // namespace
}  // namespace hardclone

namespace hardclone {
namespace {

class PosixFrontEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.style = PathStyle::posix;
    fs.currentDirectory = "/w";
    fs.AddFolder("/");
    fs.AddFolder("/w");
    fs.AddFolder("/s");
    fs.AddFile("/s/a");
    fs.AddFolder("/s/sub");
    fs.AddFile("/s/sub/b");
  }
  void TearDown() override { Verbose = false; }

  FakeSystem fs;
};

TEST_F(PosixFrontEndTest, ShortNamesBelowTheRootAreMadeLikeAnyFolder) {
  fs.arguments = {"/s", "/x/y"};  // "/s" is a path here, not a switch
  EXPECT_EQ(hardclone::Run(fs), 0);
  EXPECT_EQ(fs.calls[0], "MakeDirectory /x");
  EXPECT_EQ(fs.calls[1], "MakeDirectory /x/y");
  EXPECT_EQ(fs.IdOf("/x/y/sub/b"), fs.IdOf("/s/sub/b"));
}

TEST_F(PosixFrontEndTest, SeveralSourcesAllGoIntoDestAsAFolder) {
  fs.arguments = {"-v", "/s/a", "", "/s", "/d"};
  EXPECT_EQ(hardclone::Run(fs), 0);
  EXPECT_EQ(fs.IdOf("/d/a"), fs.IdOf("/s/a"));
  EXPECT_EQ(fs.IdOf("/d/s/sub/b"), fs.IdOf("/s/sub/b"));
  EXPECT_EQ(fs.output.rfind("hardclone version1.00\r\n\r\nFrom: /s\r\nTo  : /d\r\n", 0), 0u);
}

TEST_F(PosixFrontEndTest, EverySourceIsCheckedBeforeAnyWork) {
  fs.arguments = {"/s/a", "/s/missing", "/d"};
  EXPECT_EQ(hardclone::Run(fs), 4);
  EXPECT_TRUE(fs.calls.empty());
  EXPECT_FALSE(fs.Has("/d"));
}

}  // namespace
}  // namespace hardclone
