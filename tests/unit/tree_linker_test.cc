#include "general/tree_linker.h"

#include <gtest/gtest.h>

#include "tests/unit/fake_system.h"

namespace hardclone {
namespace {

class TreeLinkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Verbose = false;
    fs.AddFolder("C:\\s");
    fs.AddFolder("C:\\d");
  }
  void TearDown() override { Verbose = false; }

  int Link(const Text& source, const Text& dest, const Text& mask = "", const Text& name = "",
           bool recursive = true) {
    Console console(fs);
    LinkContext context{fs, console, "E: %s (%s)"};
    return LinkTree(context, source, dest, mask, name, recursive);
  }

  FakeSystem fs;
};

// The fake lists names in byte order, as Wine does.
TEST_F(TreeLinkerTest, RebuildsTheTreeDepthFirstInListingOrder) {
  fs.AddFile("C:\\s\\a.txt");
  fs.AddFolder("C:\\s\\b");
  fs.AddFile("C:\\s\\b\\x");
  fs.AddFolder("C:\\s\\b\\empty");
  fs.AddFile("C:\\s\\c");
  EXPECT_EQ(Link("C:\\s", "C:\\d"), 0);
  const std::vector<Text> expected = {
      "List C:\\s\\*.*",
      "Link C:\\d\\a.txt <- C:\\s\\a.txt",
      "CreateDirectory C:\\d\\b",
      "List C:\\s\\b\\*.*",
      "CreateDirectory C:\\d\\b\\empty",
      "List C:\\s\\b\\empty\\*.*",
      "Link C:\\d\\b\\x <- C:\\s\\b\\x",
      "Link C:\\d\\c <- C:\\s\\c",
  };
  EXPECT_EQ(fs.calls, expected);
  EXPECT_EQ(fs.IdOf("C:\\d\\b\\x"), fs.IdOf("C:\\s\\b\\x"));
  EXPECT_EQ(fs.output, "");
}

TEST_F(TreeLinkerTest, VerboseTraceNamesFoldersAndFiles) {
  Verbose = true;
  fs.AddFile("C:\\s\\a.txt");
  fs.AddFolder("C:\\s\\new.dir");
  fs.AddFile("C:\\s\\new.dir\\b");
  Link("C:\\s\\", "C:\\d\\");
  EXPECT_EQ(fs.output,
            "\r\nFrom: C:\\s\r\nTo  : C:\\d\r\n\r\n"
            "  a.txt\r\n"
            "\r\nFrom: C:\\s\\new.dir\r\nTo  : C:\\d\\new.dir\r\nCreate Directory -> new.dir\r\n\r\n"
            "  b\r\n");
}

TEST_F(TreeLinkerTest, DriveRootIsShownAsTheBareDrive) {
  Verbose = true;
  fs.AddFolder("C:\\");
  Link("C:\\", "C:\\d");
  EXPECT_EQ(fs.output.substr(0, 20), "\r\nFrom: C:\r\nTo  : C:");
}

TEST_F(TreeLinkerTest, FileModeLinksMatchesOnlyAndIgnoresFolders) {
  fs.AddFile("C:\\s\\a.txt");
  fs.AddFile("C:\\s\\b.doc");
  fs.AddFolder("C:\\s\\z.txt");
  EXPECT_EQ(Link("C:\\s", "C:\\d", "*.txt", "", false), 0);
  const std::vector<Text> expected = {"List C:\\s\\*.txt", "Link C:\\d\\a.txt <- C:\\s\\a.txt"};
  EXPECT_EQ(fs.calls, expected);
}

TEST_F(TreeLinkerTest, DestNameRenamesTheLink) {
  fs.AddFile("C:\\s\\a.txt");
  EXPECT_EQ(Link("C:\\s", "C:\\d", "a.txt", "b.txt", false), 0);
  EXPECT_EQ(fs.IdOf("C:\\d\\b.txt"), fs.IdOf("C:\\s\\a.txt"));
  EXPECT_FALSE(fs.Has("C:\\d\\a.txt"));
}

TEST_F(TreeLinkerTest, ExistingDestFileIsReplacedInOneStepNeverDeletedFirst) {
  fs.AddFile("C:\\s\\a");
  fs.AddFile("C:\\d\\a");  // a different file
  EXPECT_EQ(Link("C:\\s", "C:\\d"), 0);
  const std::vector<Text> expected = {"List C:\\s\\*.*", "Link C:\\d\\a <- C:\\s\\a",
                                      "Replace C:\\d\\a <- C:\\s\\a"};
  EXPECT_EQ(fs.calls, expected);
  EXPECT_EQ(fs.IdOf("C:\\d\\a"), fs.IdOf("C:\\s\\a"));
}

TEST_F(TreeLinkerTest, NameAlreadyLinkedToTheSourceIsLeftAlone) {
  fs.AddFile("C:\\s\\a");
  fs.AddFile("C:\\d\\a", "C:\\s\\a");
  EXPECT_EQ(Link("C:\\s", "C:\\d"), 0);
  const std::vector<Text> expected = {"List C:\\s\\*.*", "Link C:\\d\\a <- C:\\s\\a"};
  EXPECT_EQ(fs.calls, expected);
}

TEST_F(TreeLinkerTest, ExistingDestComparedByListedIdsLinksOnlyWhatDiffers) {
  fs.listsIds = true;
  fs.AddFile("C:\\s\\same");
  fs.AddFile("C:\\s\\other");
  fs.AddFile("C:\\s\\missing");
  fs.AddFile("C:\\d\\same", "C:\\s\\same");
  fs.AddFile("C:\\d\\other");
  EXPECT_EQ(Link("C:\\s", "C:\\d"), 0);
  const std::vector<Text> expected = {"List C:\\s\\*.*", "ListIds C:\\d\\",
                                      "Link C:\\d\\missing <- C:\\s\\missing",
                                      "Replace C:\\d\\other <- C:\\s\\other"};
  EXPECT_EQ(fs.calls, expected);
  EXPECT_EQ(fs.IdOf("C:\\d\\other"), fs.IdOf("C:\\s\\other"));
}

TEST_F(TreeLinkerTest, FailuresAreReportedCountedAndTheWalkGoesOn) {
  fs.AddFile("C:\\s\\a");
  fs.AddFile("C:\\s\\b");
  fs.AddFile("C:\\d\\b");
  fs.AddFile("C:\\s\\c");
  fs.failures["C:\\d\\a"] = 1142;  // too many links
  fs.failures["C:\\d\\b"] = 5;     // replacement refused
  EXPECT_EQ(Link("C:\\s", "C:\\d"), 2);
  EXPECT_EQ(fs.output, "E: C:\\d\\a (reason 1142)\r\nE: C:\\d\\b (reason 5)\r\n");
  EXPECT_FALSE(fs.Has("C:\\d\\a"));
  EXPECT_NE(fs.IdOf("C:\\d\\b"), fs.IdOf("C:\\s\\b"));  // the old file stays
  EXPECT_EQ(fs.IdOf("C:\\d\\c"), fs.IdOf("C:\\s\\c"));
}

TEST_F(TreeLinkerTest, SourceFileThatVanishesLeavesTheOldDestFile) {
  fs.AddFile("C:\\s\\a");
  fs.AddFile("C:\\d\\a");
  const std::uint64_t old = fs.IdOf("C:\\d\\a");
  fs.vanishing.push_back("C:\\s\\a");
  EXPECT_EQ(Link("C:\\s", "C:\\d"), 1);
  EXPECT_EQ(fs.IdOf("C:\\d\\a"), old);
  EXPECT_EQ(fs.output, "E: C:\\d\\a (reason 3)\r\n");
}

TEST_F(TreeLinkerTest, FolderThatCannotBeMadeFailsWithEveryFileBelowIt) {
  Verbose = true;
  fs.AddFolder("C:\\s\\sub");
  fs.AddFile("C:\\s\\sub\\x");
  fs.failures["C:\\d\\sub"] = 206;
  EXPECT_EQ(Link("C:\\s", "C:\\d"), 2);
  EXPECT_NE(fs.output.find("Create Directory -> sub\r\nE: C:\\d\\sub (reason 206)\r\n\r\n  x\r\n"
                           "E: C:\\d\\sub\\x (reason 206)\r\n"),
            Text::npos)
      << fs.output;
}

TEST_F(TreeLinkerTest, MissingSourceFolderIsAFailure) {
  EXPECT_EQ(Link("C:\\gone", "C:\\d"), 1);
  EXPECT_EQ(fs.output, "E: C:\\gone (reason 3)\r\n");
}

TEST_F(TreeLinkerTest, NeverDescendsIntoTheDestFolder) {
  fs.AddFile("C:\\s\\a");
  fs.AddFolder("C:\\s\\snap");
  EXPECT_EQ(Link("C:\\s", "C:\\s\\snap"), 0);
  EXPECT_TRUE(fs.Has("C:\\s\\snap\\a"));
  EXPECT_FALSE(fs.Has("C:\\s\\snap\\snap"));
}

}  // namespace
}  // namespace hardclone
