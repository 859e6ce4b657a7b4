#include "general/system_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace hardclone {

namespace {

bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

const PathRules kRules{PathStyle::windows, IsAnsiLeadByte};

}  // namespace

System& PlatformSystem(int, char**) {
  static Win32System system;
  return system;
}

PathRules Win32System::Rules() const { return kRules; }

Text Win32System::CommandLine() {
  const char* line = GetCommandLineA();
  return line != nullptr ? line : "";
}

Text Win32System::ProgramPath() {
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return Text();
    if (n < buffer.size()) return Text(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

void Win32System::Write(const char* bytes, std::size_t size) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(out, bytes, static_cast<DWORD>(size), &written, nullptr) || written == 0) return;
    bytes += written;
    size -= written;
  }
}

bool Win32System::ReadChar(char& c) {
  DWORD got = 0;
  return ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &got, nullptr) && got == 1;
}

// The texts are kept in UTF-8; the console gets code page 932 bytes,
// whatever the system's ANSI code page.
Text Win32System::Localize(const Text& utf8) {
  if (utf8.empty()) return utf8;
  int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::vector<wchar_t> buffer(static_cast<size_t>(wide) + 1);
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), buffer.data(), wide);
  int bytes = WideCharToMultiByte(932, 0, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return utf8;
  Text out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(932, 0, buffer.data(), wide, &out[0], bytes, nullptr, nullptr);
  return out;
}

Text Win32System::Reason(ErrorCode error) {
  char* message = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(error), 0,
                           reinterpret_cast<char*>(&message), 0, nullptr);
  Text text = n > 0 && message != nullptr ? Text(message, n) : "error " + std::to_string(error);
  if (message != nullptr) LocalFree(message);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) text.pop_back();
  return text;
}

bool Win32System::IsWindowsNT() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = 148;
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

Text Win32System::CurrentDirectory() {
  std::vector<char> buffer(261, '\0');
  DWORD needed = GetCurrentDirectoryA(261, buffer.data());
  if (needed > 261) {
    // Longer than the classic buffer: take it whole rather than cut it.
    buffer.assign(needed + 1, '\0');
    GetCurrentDirectoryA(needed + 1, buffer.data());
  }
  return buffer.data();
}

Text Win32System::ExpandEnvironment(const Text& text) {
  DWORD n = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (n == 0) return Text();
  std::vector<char> buffer(2 * static_cast<size_t>(n), '\0');
  ExpandEnvironmentStringsA(text.c_str(), buffer.data(), 2 * n);
  return buffer.data();
}

Text Win32System::FullPath(const Text& path) {
  char buffer[MAX_PATH];
  DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
  if (n == 0 || n >= MAX_PATH) return Text();  // at most 259 characters, never cut
  return Text(buffer, n);
}

namespace {

// A bare drive "X:" would name the drive's current folder; its root is meant.
Text AsOpenable(const Text& path) {
  return (path.size() == 2 && path[1] == ':') ? path + "\\" : path;
}

HANDLE OpenForQuery(const Text& path, DWORD extraFlags) {
  return CreateFileA(AsOpenable(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | extraFlags, nullptr);
}

FileId IdOfHandle(HANDLE handle) {
  FileId id;
  BY_HANDLE_FILE_INFORMATION info;
  if (handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &info)) {
    id = FileId{info.dwVolumeSerialNumber,
                (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow, true};
  }
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  return id;
}

}  // namespace

Text Win32System::RealPath(const Text& path) {
  HANDLE handle = OpenForQuery(path, 0);
  if (handle == INVALID_HANDLE_VALUE) return Text();
  char buffer[32768];
  DWORD n = GetFinalPathNameByHandleA(handle, buffer, sizeof buffer, FILE_NAME_NORMALIZED);
  CloseHandle(handle);
  if (n == 0 || n >= sizeof buffer) return Text();
  Text real(buffer, n);
  if (real.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + real.substr(8);
  if (real.rfind("\\\\?\\", 0) == 0) return real.substr(4);
  return real;
}

bool Win32System::DirectoryExists(const Text& path) {
  if (HasWildcard(path)) return false;
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32System::FileExists(const Text& path) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(path.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32System::MakeDirectory(const Text& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

FileId Win32System::Identify(const Text& path) { return IdOfHandle(OpenForQuery(path, 0)); }

bool Win32System::EqualIgnoringCase(const Text& a, const Text& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

Text Win32System::ComparisonKey(const Text& text) {
  Text key = text;
  if (!key.empty()) CharUpperBuffA(&key[0], static_cast<DWORD>(key.size()));
  return TrimBlanks(key);
}

bool Win32System::SameVolume(const Text& sourceDir, const Text& destDir) {
  return EqualIgnoringCase(DrivePart(kRules, sourceDir), DrivePart(kRules, destDir));
}

bool IsNtfsVolume(const Text& path) {
  char root[260] = {};
  const Text drive = WithTrailingDelimiter(kRules, DrivePart(kRules, CutAtLaterColon(path)));
  if (drive.size() >= sizeof root) return false;
  drive.copy(root, drive.size());
  char fileSystem[260] = {};
  DWORD maxComponent = 0;
  DWORD flags = 0;
  if (!GetVolumeInformationA(root, nullptr, 0, nullptr, &maxComponent, &flags, fileSystem, 260)) {
    return false;
  }
  return Text(fileSystem) == "NTFS";
}

int ShellFileOperation(unsigned operation, const Text& from, const Text& to, unsigned flags) {
  const Text fromList = from + Text(2, '\0');
  const Text toList = to + Text(2, '\0');
  SHFILEOPSTRUCTA op = {};
  op.hwnd = nullptr;
  op.wFunc = operation;
  op.pFrom = fromList.c_str();
  op.pTo = toList.c_str();
  WORD fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  if (operation != FO_DELETE) fFlags |= FOF_NOCONFIRMMKDIR;
  op.fFlags = static_cast<FILEOP_FLAGS>(fFlags | (flags & 0xFFFF));
  op.fAnyOperationsAborted = FALSE;
  op.hNameMappings = nullptr;
  op.lpszProgressTitle = nullptr;
  return SHFileOperationA(&op);
}

ErrorCode Win32System::RemoveTree(const Text& path, RemoveMode mode) {
  const unsigned flags = mode == RemoveMode::recycleBin ? FOF_ALLOWUNDO : 0;
  int result = ShellFileOperation(FO_DELETE, path, Text(), flags);
  if (result != 0) return result;
  // The shell can report success for a request it did not carry out.
  return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES ? 0 : ERROR_ACCESS_DENIED;
}

}  // namespace hardclone
