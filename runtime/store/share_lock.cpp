// Share modes between openers on OFD locks; see share_lock.h.
//
// Lock bytes. SQLite locks a few hundred bytes at 1 GiB (its pending, reserved and shared
// bytes) with process-wide POSIX locks. Ours lie at kBase, 64 TiB, which no data file
// reaches and SQLite never locks, so the two kinds of lock never meet:
//   kGuard        held for the few microseconds an opener takes to announce its mode and
//                 check for conflicts: exclusively by an opener whose descriptor may
//                 write, shared by one that may only read (a read-only descriptor cannot
//                 take a write lock).
//   kHold         held exclusively by the instance that holds the file (LOCK): while it is
//                 held, every other OPEN reports the file locked.
//   kAccessRead   held shared by every instance that may read.
//   kAccessWrite  held shared by every instance that may write.
//   kDenyRead     held shared by every instance that denies others reading.
//   kDenyWrite    held shared by every instance that denies others writing.
// Invariant: while an instance is open, its descriptor holds exactly the shared locks of
// its mode. An opener, holding kGuard, takes its own shared locks, then asks the kernel
// (F_OFD_GETLK with a write lock, which ignores the asker's own locks) whether anyone
// else holds the bytes that conflict with its mode: kDenyWrite when it wants to write,
// kDenyRead when it wants to read, kAccessWrite when it denies writing, kAccessRead when
// it denies reading. A conflict: it drops its locks and is refused. Then it drops kGuard.
// Of two openers whose modes conflict, at most one is admitted: the exclusive guard
// orders them, and two read-only openers sharing the guard each announce before they
// look, so the later one to look sees the other.
// Because OFD locks belong to the open file description, a thread's descriptor conflicts
// with another thread's just as with another process's, and a dead process's locks go
// with its descriptors.
//
// Descriptors and SQLite's POSIX locks. Closing any descriptor of a file drops every POSIX
// lock the process holds on it, SQLite's included, even those of another connection in
// the middle of a transaction. So a descriptor is never closed while another connection
// of this process may have the file open: the registry counts, per file (device and
// inode), the share locks that have it open (instances, and CREATE, BUILDfile and reading
// a stored layout, which take one around their own connections), parks the descriptors
// of those that end meanwhile, and closes them all when the count drops to zero. A parked
// descriptor holds no locks (Release unlocks its bytes first), and the next share lock of
// the file takes it instead of opening another, so the process keeps at most as many
// descriptors of a file as it had share locks on it at once.
#include "runtime/store/share_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "runtime/sys/runtime_lock.h"

namespace qx {

namespace {

constexpr off_t kBase = off_t{1} << 46;
constexpr off_t kGuard = kBase + 0;
constexpr off_t kHold = kBase + 1;
constexpr off_t kAccessRead = kBase + 2;
constexpr off_t kAccessWrite = kBase + 3;
constexpr off_t kDenyRead = kBase + 4;
constexpr off_t kDenyWrite = kBase + 5;
constexpr off_t kSpan = 6;

struct FileEntry {
  int users = 0;
  std::vector<int> parked;
};

// Made on first use and never destroyed, so it outlives every instance closed at exit.
struct Registry {
  std::mutex mutex;
  std::map<std::pair<unsigned long long, unsigned long long>, FileEntry> files;
};
Registry& Reg() {
  static Registry* r = new Registry;
  return *r;
}

void AddUse(unsigned long long dev, unsigned long long ino) {
  std::lock_guard<std::mutex> g(Reg().mutex);
  ++Reg().files[{dev, ino}].users;
}

// Ends a use; `fd` (or -1) is the descriptor of the use that ends.
void EndUse(unsigned long long dev, unsigned long long ino, int fd) {
  std::vector<int> toClose;
  {
    std::lock_guard<std::mutex> g(Reg().mutex);
    auto& files = Reg().files;
    auto it = files.find({dev, ino});
    if (it == files.end()) {
      if (fd >= 0) toClose.push_back(fd);
    } else {
      if (fd >= 0) it->second.parked.push_back(fd);
      if (--it->second.users <= 0) {
        toClose.swap(it->second.parked);
        files.erase(it);
      }
    }
  }
  for (int d : toClose) ::close(d);
}

// Takes a parked descriptor of the file for a new use: one open for reading and writing,
// or with `readWrite` false one open for reading only. -1 when none is parked.
int TakeParked(unsigned long long dev, unsigned long long ino, bool readWrite) {
  std::lock_guard<std::mutex> g(Reg().mutex);
  auto it = Reg().files.find({dev, ino});
  if (it == Reg().files.end()) return -1;
  auto& parked = it->second.parked;
  for (size_t i = 0; i < parked.size(); ++i) {
    if (((::fcntl(parked[i], F_GETFL) & O_ACCMODE) == O_RDWR) != readWrite) continue;
    const int fd = parked[i];
    parked.erase(parked.begin() + static_cast<std::ptrdiff_t>(i));
    ++it->second.users;
    return fd;
  }
  return -1;
}

bool Lock(int fd, short type, off_t start, off_t len) {
  struct flock fl = {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = start;
  fl.l_len = len;
  return ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

// True when some other description holds a lock on the byte that conflicts with a write
// lock (that is, any lock at all).
bool Taken(int fd, off_t byte) {
  struct flock fl = {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = byte;
  fl.l_len = 1;
  if (::fcntl(fd, F_OFD_GETLK, &fl) != 0) return true;
  return fl.l_type != F_UNLCK;
}

using Clock = std::chrono::steady_clock;

// Sleeps a moment outside the runtime lock; false once `until` has passed.
bool WaitAMoment(Clock::time_point until) {
  WaitOutsideRuntime outside;
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return Clock::now() < until;
}

}  // namespace

bool ParseAccessMode(LONG mode, AccessMode* out) {
  if (mode < 0 || mode > 0xFF) return false;
  const int access = mode & 0x0F;
  const int share = (mode >> 4) & 0x0F;
  if (access > 2 || share > 4) return false;
  AccessMode m;
  m.read = access != 1;
  m.write = access != 0;
  m.denyRead = share <= 1 || share == 3;
  m.denyWrite = share <= 2;
  *out = m;
  return true;
}

ShareLock::~ShareLock() { Release(); }

ShareLock::Result ShareLock::Acquire(const std::string& path, const AccessMode& mode, double holdWaitSeconds,
                                     bool createNew) {
  Release();
  const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(holdWaitSeconds));
  for (int attempt = 0;; ++attempt) {
    const Result r = TryAcquire(path, mode, deadline, createNew);
    if (r != Result::kOk) return r;
    // The locks are on the file the descriptor names; the engine opens the file by its
    // path. A file replaced (renamed over) while this opener waited for its holder leaves
    // the locks on the old one, where they protect nothing: take them anew on the file
    // the path now names. Whoever replaces a data file (CREATE, a conversion) takes it
    // alone first, which it cannot while these locks are on it; so once the path still
    // names the locked file after they are taken, it stays so.
    struct stat now;
    if (::stat(path.c_str(), &now) == 0 && static_cast<unsigned long long>(now.st_dev) == dev_ &&
        static_cast<unsigned long long>(now.st_ino) == ino_)
      return Result::kOk;
    Release();
    if (createNew) {  // what the path names now is not the file made here
      error_ = EEXIST;
      return Result::kError;
    }
    if (attempt >= 2 && !WaitAMoment(deadline)) return Result::kHeld;
  }
}

ShareLock::Result ShareLock::TryAcquire(const std::string& path, const AccessMode& mode,
                                        std::chrono::steady_clock::time_point deadline, bool createNew) {
  int fd = -1;
  const Result opened = OpenDescriptor(path, mode, createNew, &fd);
  if (opened != Result::kOk) return opened;
  fd_ = fd;
  const bool writable = (::fcntl(fd_, F_GETFL) & O_ACCMODE) == O_RDWR;

  // The hold first: a held file is reported as locked whatever the modes say.
  while (Taken(fd_, kHold)) {
    if (!WaitAMoment(deadline)) {
      Release();
      return Result::kHeld;
    }
  }
  // The guard is held for microseconds by a live opener; a few seconds without it means
  // a stopped process, which we report as a lock. A descriptor open for reading only
  // cannot take a write lock: such openers share the guard among themselves (and are
  // kept out by, and keep out, every opener that can write).
  const auto guardDeadline = Clock::now() + std::chrono::seconds(5);
  while (!Lock(fd_, writable ? F_WRLCK : F_RDLCK, kGuard, 1)) {
    if (!WaitAMoment(guardDeadline)) {
      Release();
      return Result::kHeld;
    }
  }
  // Announce first, then look for a conflicting announcement: two read-only openers that
  // hold the guard together and conflict then see each other (both may be refused;
  // never are both admitted). Under the exclusive guard this is check-then-announce.
  bool ok = true;
  if (ok && mode.read) ok = Lock(fd_, F_RDLCK, kAccessRead, 1);
  if (ok && mode.write) ok = Lock(fd_, F_RDLCK, kAccessWrite, 1);
  if (ok && mode.denyRead) ok = Lock(fd_, F_RDLCK, kDenyRead, 1);
  if (ok && mode.denyWrite) ok = Lock(fd_, F_RDLCK, kDenyWrite, 1);
  ok = ok && !((mode.write && Taken(fd_, kDenyWrite)) || (mode.read && Taken(fd_, kDenyRead)) ||
               (mode.denyWrite && Taken(fd_, kAccessWrite)) || (mode.denyRead && Taken(fd_, kAccessRead)));
  Lock(fd_, F_UNLCK, kGuard, 1);
  if (!ok) {
    Release();
    return Result::kDenied;
  }
  return Result::kOk;
}

ShareLock::Result ShareLock::OpenDescriptor(const std::string& path, const AccessMode& mode, bool createNew,
                                            int* out) {
  struct stat st = {};
  int fd = -1;
  if (createNew) {
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  } else {
    if (::stat(path.c_str(), &st) != 0) {
      error_ = errno;
      return Result::kError;
    }
    if (!S_ISREG(st.st_mode)) {
      error_ = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
      return Result::kError;
    }
    // A descriptor parked by a share lock of this process that ended is reused when it
    // gives the access a new one would: open for writing when the file may be written.
    const bool mayWrite = ::faccessat(AT_FDCWD, path.c_str(), R_OK | W_OK, AT_EACCESS) == 0;
    if (mayWrite || !mode.write) fd = TakeParked(st.st_dev, st.st_ino, mayWrite);
    if (fd >= 0) {
      dev_ = st.st_dev;
      ino_ = st.st_ino;
      *out = fd;
      return Result::kOk;
    }
    fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && errno == EACCES && !mode.write) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  }
  if (fd < 0) {
    error_ = errno;
    return Result::kError;
  }
  // Registered at once, so that even on a failure below the descriptor is only closed
  // when the registry says it may be.
  struct stat opened;
  if (::fstat(fd, &opened) == 0) st = opened;  // the path may name another file by now
  dev_ = st.st_dev;
  ino_ = st.st_ino;
  AddUse(dev_, ino_);
  if (!S_ISREG(st.st_mode)) {
    error_ = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    EndUse(dev_, ino_, fd);
    return Result::kError;
  }
  if (mode.write && (::fcntl(fd, F_GETFL) & O_ACCMODE) != O_RDWR) {
    EndUse(dev_, ino_, fd);
    return Result::kDenied;
  }
  *out = fd;
  return Result::kOk;
}

ShareLock::Result ShareLock::Hold() {
  if (fd_ < 0) return Result::kError;
  if (holding_) return Result::kOk;
  // A write lock needs a descriptor open for writing; an opener that could only read the
  // file (no write permission) is refused rather than told someone else holds it.
  if ((::fcntl(fd_, F_GETFL) & O_ACCMODE) != O_RDWR) return Result::kDenied;
  if (!Lock(fd_, F_WRLCK, kHold, 1)) return Result::kHeld;
  holding_ = true;
  return Result::kOk;
}

void ShareLock::ReleaseHold() {
  if (fd_ >= 0 && holding_) Lock(fd_, F_UNLCK, kHold, 1);
  holding_ = false;
}

bool ShareLock::OthersOpen() const {
  return fd_ >= 0 && (Taken(fd_, kAccessRead) || Taken(fd_, kAccessWrite));
}

void ShareLock::Release() {
  if (fd_ < 0) return;
  Lock(fd_, F_UNLCK, kBase, kSpan);
  holding_ = false;
  EndUse(dev_, ino_, fd_);
  fd_ = -1;
}

}  // namespace qx
