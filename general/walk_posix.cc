// The walk on POSIX works through directory descriptors: links and folders
// are made relative to an open folder, so no path is resolved again for each
// file, and O_NOFOLLOW below the roots keeps a planted symbolic link from
// sending anything outside the trees.
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "general/system_posix.h"

namespace hardclone {

namespace {

constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

struct LinuxDirent64 {
  ino64_t d_ino;
  off64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
  char d_name[1];
};

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

FileId IdOf(const struct stat& st) { return FileId{st.st_dev, st.st_ino, true}; }

}  // namespace

void PosixSystem::Track(Folder& folder, int fd) {
  folder.handle = fd;
  openFolders_.push_back(&folder);
  if (openFolders_.size() <= maxOpenFolders_) return;
  // Park the shallowest folder that is not a root; the close of its child
  // brings it back through "..".
  for (Folder* open : openFolders_) {
    if (open->parent == nullptr || open->handle < 0) continue;
    struct stat st;
    if (fstat(open->handle, &st) == 0) open->id = IdOf(st);
    close(open->handle);
    open->handle = -1;
    openFolders_.erase(std::find(openFolders_.begin(), openFolders_.end(), open));
    return;
  }
}

void PosixSystem::Close(Folder& folder) {
  if (folder.handle < 0) return;
  Folder* parent = folder.parent;
  if (parent != nullptr && parent->handle < 0 && parent->error == 0) {
    int fd = openat(folder.handle, "..", kDirFlags | O_NOFOLLOW);
    struct stat st;
    if (fd >= 0 && fstat(fd, &st) == 0 && SameFile(IdOf(st), parent->id)) {
      Track(*parent, fd);
    } else {
      // The tree was moved under the walk: the rest of the parent fails.
      if (fd >= 0) close(fd);
      parent->error = ESTALE;
    }
  }
  auto it = std::find(openFolders_.rbegin(), openFolders_.rend(), &folder);
  if (it != openFolders_.rend()) openFolders_.erase(std::next(it).base());
  close(folder.handle);
  folder.handle = -1;
}

ErrorCode PosixSystem::OpenSource(Folder& folder) {
  int fd;
  if (folder.parent == nullptr) {
    fd = open(folder.Path().c_str(), kDirFlags);
    struct stat st;
    if (fd >= 0 && fstat(fd, &st) == 0) folder.id = IdOf(st);
  } else {
    if (folder.parent->handle < 0) return folder.error = folder.parent->error ? folder.parent->error : EBADF;
    fd = openat(folder.parent->handle, folder.name.c_str(), kDirFlags | O_NOFOLLOW);
  }
  if (fd < 0) return folder.error = errno;
  Track(folder, fd);
  return 0;
}

ErrorCode PosixSystem::OpenDest(Folder& folder) {
  const bool root = folder.parent == nullptr;
  if (!root && folder.parent->handle < 0) {
    return folder.error = folder.parent->error ? folder.parent->error : EBADF;
  }
  const int at = root ? AT_FDCWD : folder.parent->handle;
  const Text name = root ? folder.Path() : folder.name;
  const int flags = kDirFlags | (root ? 0 : O_NOFOLLOW);
  int fd = -1;
  // A folder the parent's listing showed is opened at once; any other is
  // made first, so a fresh tree costs one call per folder here.
  if (folder.existed) fd = openat(at, name.c_str(), flags);
  if (fd < 0) {
    if (mkdirat(at, name.c_str(), 0777) == 0) {
      folder.created = true;
    } else if (errno != EEXIST) {
      return folder.error = errno;
    }
    fd = openat(at, name.c_str(), flags);
    // ELOOP: a symbolic link stands where the folder belongs.
    if (fd < 0) return folder.error = (errno == ELOOP ? ENOTDIR : errno);
  }
  struct stat st;
  // The root's id keeps the walk out of Dest; an existing folder's lets its
  // listing be compared with the Source's.
  if ((root || (!folder.created && !folder.existed)) && fstat(fd, &st) == 0) folder.id = IdOf(st);
  Track(folder, fd);
  return 0;
}

// Every entry but "." and "..": the listing is read whole before the caller
// descends, so one buffer serves every folder.
ErrorCode PosixSystem::ReadEntries(Folder& folder, std::vector<DirEntry>& entries,
                                   const Text& mask) {
  for (;;) {
    long got = syscall(SYS_getdents64, folder.handle, listing_.data(), listing_.size());
    if (got < 0) return errno;
    if (got == 0) return 0;
    for (long at = 0; at < got;) {
      auto* d = reinterpret_cast<LinuxDirent64*>(listing_.data() + at);
      at += d->d_reclen;
      if (IsDotOrDotDot(d->d_name)) continue;
      if (!mask.empty() && fnmatch(mask.c_str(), d->d_name, 0) != 0) continue;
      DirEntry entry;
      entry.name = d->d_name;
      entry.id = FileId{folder.id.volume, d->d_ino, folder.id.known};
      unsigned char type = d->d_type;
      if (type == DT_UNKNOWN) {
        struct stat st;
        if (fstatat(folder.handle, d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)) {
          type = DT_DIR;
        }
      }
      entry.kind = type == DT_DIR ? EntryKind::folder : EntryKind::file;
      entries.push_back(std::move(entry));
    }
  }
}

ErrorCode PosixSystem::List(Folder& folder, const Text& mask, std::vector<DirEntry>& entries) {
  if (folder.handle < 0) return folder.error ? folder.error : EBADF;
  if (mask.empty() || HasWildcard(mask)) return ReadEntries(folder, entries, mask);
  // A plain name: that one entry, without listing the folder.
  struct stat st;
  if (fstatat(folder.handle, mask.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return errno;
  entries.push_back(DirEntry{mask, S_ISDIR(st.st_mode) ? EntryKind::folder : EntryKind::file,
                             IdOf(st)});
  return 0;
}

bool PosixSystem::ListIds(Folder& folder, std::vector<DirEntry>& entries) {
  return folder.handle >= 0 && ReadEntries(folder, entries, Text()) == 0;
}

FileId PosixSystem::IdentifyIn(Folder& folder, const Text& name) {
  struct stat st;
  if (folder.handle >= 0 && fstatat(folder.handle, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
    return IdOf(st);
  }
  return FileId();
}

ErrorCode PosixSystem::Link(Folder& source, const Text& name, Folder& dest, const Text& destName) {
  if (dest.handle < 0) return dest.error ? dest.error : EBADF;
  if (source.handle < 0) return source.error ? source.error : EBADF;
  // No AT_SYMLINK_FOLLOW: a symbolic link gets a second name of its own.
  if (linkat(source.handle, name.c_str(), dest.handle, destName.c_str(), 0) == 0) return 0;
  return errno;
}

ErrorCode PosixSystem::ReplaceWithLink(Folder& source, const Text& name, Folder& dest,
                                       const Text& destName) {
  if (dest.handle < 0) return dest.error ? dest.error : EBADF;
  const Text stem = ".hardclone-" + std::to_string(getpid()) + "-";
  Text temp;
  int error = EEXIST;
  for (int tries = 0; tries < 100 && error == EEXIST; ++tries) {
    temp = stem + std::to_string(tempCounter_++);
    error = linkat(source.handle, name.c_str(), dest.handle, temp.c_str(), 0) == 0 ? 0 : errno;
  }
  if (error != 0) return error;
  if (renameat(dest.handle, temp.c_str(), dest.handle, destName.c_str()) != 0) error = errno;
  // Also after success: rename does nothing when both names already were
  // the same file, and the temporary name must not stay behind.
  unlinkat(dest.handle, temp.c_str(), 0);
  return error;
}

bool PosixSystem::IsExistsError(ErrorCode error) const { return error == EEXIST; }

}  // namespace hardclone
