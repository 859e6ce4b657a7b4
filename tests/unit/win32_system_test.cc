// The Win32 services themselves; this file is built into the Windows unit
// tests only, which run under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include "general/system_win32.h"

namespace hardclone {
namespace {

TEST(Win32SystemTest, ComparisonKeyIsUpperCaseTrimmed) {
  Win32System system;
  EXPECT_EQ(system.ComparisonKey(" c:\\Data\\x \t"), "C:\\DATA\\X");
  EXPECT_EQ(system.ComparisonKey(""), "");
  if (GetACP() == 932) {
    // The second byte of a double-byte character is never folded.
    EXPECT_EQ(system.ComparisonKey("c:\\\x83\x61"), "C:\\\x83\x61");
  }
}

TEST(Win32SystemTest, SwitchLettersCompareIgnoringCase) {
  Win32System system;
  EXPECT_TRUE(system.EqualIgnoringCase("V", "v"));
  EXPECT_FALSE(system.EqualIgnoringCase("vx", "v"));
  EXPECT_FALSE(system.EqualIgnoringCase("", "v"));
}

TEST(Win32SystemTest, ServicesAnswerForTheSystemDrive) {
  Win32System system;
  EXPECT_TRUE(system.IsWindowsNT());
  char windows[MAX_PATH];
  ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
  const Text drive = Text(windows, 2);
  EXPECT_TRUE(IsNtfsVolume(drive + "\\no such folder\\file:stream"));
  EXPECT_FALSE(IsNtfsVolume("Q:\\"));  // no such drive: same as not NTFS
  EXPECT_EQ(system.FullPath(drive + "\\a\\..\\b"), drive + "\\b");
  EXPECT_EQ(system.FullPath(Text(300, 'x')), "");  // beyond the limit: never cut
  EXPECT_EQ(system.ExpandEnvironment(""), "");
  EXPECT_EQ(system.ExpandEnvironment("plain"), "plain");
  EXPECT_EQ(system.ExpandEnvironment("%HARDCLONE_NO_SUCH_NAME%"), "%HARDCLONE_NO_SUCH_NAME%");
  SetEnvironmentVariableA("HARDCLONE_TEST", "value");
  EXPECT_EQ(system.ExpandEnvironment("a%HARDCLONE_TEST%b"), "avalueb");
}

}  // namespace
}  // namespace hardclone
