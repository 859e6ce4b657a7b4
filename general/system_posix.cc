#include "general/system_posix.h"

#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <strings.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>

namespace hardclone {

namespace {

bool IsShiftJisCodeset(const char* codeset) {
  static const char* const names[] = {"SHIFT_JIS", "SHIFT-JIS", "SJIS", "CP932", "WINDOWS-31J",
                                      "MS_KANJI", "CSSHIFTJIS", "SHIFT_JISX0213"};
  for (const char* name : names) {
    if (strcasecmp(codeset, name) == 0) return true;
  }
  return false;
}

// How many folders the walk may hold open, leaving room for the rest of
// the process.
std::size_t FolderDescriptorBudget() {
  struct rlimit limit;
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 8;
  if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > 280) return 256;
  return limit.rlim_cur > 32 ? limit.rlim_cur - 24 : 8;
}

}  // namespace

PosixSystem::PosixSystem(int argc, char** argv) : listing_(64 * 1024) {
  setlocale(LC_ALL, "");
  shiftJis_ = IsShiftJisCodeset(nl_langinfo(CODESET));
  rules_ = PathRules{PathStyle::posix, shiftJis_ ? IsCp932LeadByte : NoLeadBytes};
  programPath_ = argc > 0 && argv[0] != nullptr ? argv[0] : "hardclone";
  for (int i = 1; i < argc; ++i) arguments_.push_back(argv[i]);
  maxOpenFolders_ = FolderDescriptorBudget();
}

System& PlatformSystem(int argc, char** argv) {
  static PosixSystem system(argc, argv);
  return system;
}

void PosixSystem::Write(const char* bytes, std::size_t size) {
  while (size > 0) {
    ssize_t done = write(STDOUT_FILENO, bytes, size);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return;
    bytes += done;
    size -= static_cast<std::size_t>(done);
  }
}

bool PosixSystem::ReadChar(char& c) {
  for (;;) {
    ssize_t got = read(STDIN_FILENO, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    return got == 1;
  }
}

Text PosixSystem::Localize(const Text& utf8) {
  if (!shiftJis_) return utf8;
  iconv_t convert = iconv_open("CP932", "UTF-8");
  if (convert == reinterpret_cast<iconv_t>(-1)) return utf8;
  Text out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* at = &out[0];
  size_t outLeft = out.size();
  size_t done = iconv(convert, &in, &inLeft, &at, &outLeft);
  iconv_close(convert);
  if (done == static_cast<size_t>(-1)) return utf8;
  out.resize(out.size() - outLeft);
  return out;
}

Text PosixSystem::Reason(ErrorCode error) {
  if (error == kTrashFailed) return trashReason_;
  return std::strerror(error);
}

Text PosixSystem::CurrentDirectory() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return Text();
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

// %NAME% as Windows expands it: a defined name is replaced, anything else
// stays as written.
Text PosixSystem::ExpandEnvironment(const Text& text) {
  Text result;
  size_t i = 0;
  while (i < text.size()) {
    size_t open = text.find('%', i);
    if (open == Text::npos) break;
    size_t close = text.find('%', open + 1);
    if (close == Text::npos) break;
    result += text.substr(i, open - i);
    const Text name = text.substr(open + 1, close - open - 1);
    const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
    result += value != nullptr ? Text(value) : text.substr(open, close - open + 1);
    i = close + 1;
  }
  return result + text.substr(i);
}

Text PosixSystem::FullPath(const Text& path) {
  if (path.empty()) return Text();
  return LexicalFullPath(path, path[0] == '/' ? Text("/") : CurrentDirectory());
}

Text PosixSystem::RealPath(const Text& path) {
  char* real = realpath(path.c_str(), nullptr);
  if (real == nullptr) return Text();
  Text result = real;
  std::free(real);
  return result;
}

bool PosixSystem::DirectoryExists(const Text& path) {
  struct stat st;
  return !HasWildcard(path) && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A symbolic link counts as a file: it is linked itself, never followed.
bool PosixSystem::FileExists(const Text& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool PosixSystem::MakeDirectory(const Text& path) { return mkdir(path.c_str(), 0777) == 0; }

FileId PosixSystem::Identify(const Text& path) {
  struct stat st;
  FileId id;
  if (stat(path.c_str(), &st) == 0) id = FileId{st.st_dev, st.st_ino, true};
  return id;
}

bool PosixSystem::EqualIgnoringCase(const Text& a, const Text& b) {
  return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

namespace {

// The mount a path lies on: the mount id where statx gives it (one file
// system mounted twice still refuses links across), else the device.
bool MountOf(const Text& path, std::uint64_t& mount) {
#ifdef STATX_MNT_ID
  struct statx sx;
  if (statx(AT_FDCWD, path.c_str(), 0, STATX_MNT_ID, &sx) == 0 && (sx.stx_mask & STATX_MNT_ID)) {
    mount = sx.stx_mnt_id;
    return true;
  }
#endif
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return false;
  mount = st.st_dev;
  return true;
}

}  // namespace

bool PosixSystem::SameVolume(const Text& sourceDir, const Text& destDir) {
  std::uint64_t source = 0;
  std::uint64_t dest = 0;
  if (!MountOf(sourceDir, source)) return false;
  // Dest may not exist yet: its nearest existing folder decides.
  Text path = destDir;
  while (!MountOf(path, dest)) {
    Text up = WithoutTrailingDelimiter(rules_, DirectoryPart(rules_, path));
    if (up.empty() || up == path) return false;
    path = up;
  }
  return source == dest;
}

bool PosixSystem::CanHoldLinks(const Text& path) {
  struct statfs fs;
  if (statfs(path.c_str(), &fs) != 0) return false;
  switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x4d44:      // FAT family
    case 0x2011bab0:  // exFAT
    case 0x9660:      // ISO 9660
      return false;
    default:
      return true;
  }
}

}  // namespace hardclone
