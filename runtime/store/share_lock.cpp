// Share modes between openers on OFD locks; see share_lock.h.
//
// Lock bytes. SQLite locks a few hundred bytes at 1 GiB (its pending, reserved and shared
// bytes) with process-wide POSIX locks. Ours lie at kBase, 64 TiB, which no data file
// reaches and SQLite never locks, so the two kinds of lock never meet:
//   kGuard        held exclusively for the few microseconds an opener takes to check and
//                 announce its mode; makes check-then-announce atomic between openers.
//   kHold         held exclusively by the instance that holds the file (LOCK): while it is
//                 held, every other OPEN reports the file locked.
//   kAccessRead   held shared by every instance that may read.
//   kAccessWrite  held shared by every instance that may write.
//   kDenyRead     held shared by every instance that denies others reading.
//   kDenyWrite    held shared by every instance that denies others writing.
// Invariant: while an instance is open, its descriptor holds exactly the shared locks of
// its mode. An opener, holding kGuard, asks the kernel (F_OFD_GETLK with a write lock)
// whether anyone holds the bytes that conflict with its mode: kDenyWrite when it wants to
// write, kDenyRead when it wants to read, kAccessWrite when it denies writing, kAccessRead
// when it denies reading. No conflict: it takes its own shared locks, then drops kGuard.
// Because OFD locks belong to the open file description, a thread's descriptor conflicts
// with another thread's just as with another process's, and a dead process's locks go
// with its descriptors.
//
// Descriptors and SQLite's POSIX locks. Closing any descriptor of a file drops every POSIX
// lock the process holds on it, SQLite's included, even those of another connection in
// the middle of a transaction. So an instance's descriptor is never closed while another
// connection of this process may have the file open: the registry counts, per file
// (device and inode), the instances and other users that have it open, parks the
// descriptors of instances that close meanwhile, and closes them all when the count drops
// to zero. A parked descriptor holds no locks: Release unlocks its bytes first.
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

ShareLock::Result ShareLock::Acquire(const std::string& path, const AccessMode& mode,
                                     double holdWaitSeconds) {
  Release();
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0 && errno == EACCES && !mode.write) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error_ = errno;
    return Result::kError;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error_ = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(fd);
    return Result::kError;
  }
  const bool writable = (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDWR;
  if (mode.write && !writable) {
    ::close(fd);
    return Result::kDenied;
  }
  dev_ = st.st_dev;
  ino_ = st.st_ino;
  AddUse(dev_, ino_);
  fd_ = fd;

  const auto deadline = Clock::now() + std::chrono::duration<double>(holdWaitSeconds);
  auto wait = [&](auto until) {
    WaitOutsideRuntime outside;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return Clock::now() < until;
  };
  // The hold first: a held file is reported as locked whatever the modes say.
  while (Taken(fd_, kHold)) {
    if (!wait(deadline)) {
      Release();
      return Result::kHeld;
    }
  }
  // The guard is held for microseconds by a live opener; a few seconds without it means
  // a stopped process, which we report as a lock.
  const auto guardDeadline = Clock::now() + std::chrono::seconds(5);
  if (writable) {
    while (!Lock(fd_, F_WRLCK, kGuard, 1)) {
      if (!wait(guardDeadline)) {
        Release();
        return Result::kHeld;
      }
    }
  }
  const bool conflict = (mode.write && Taken(fd_, kDenyWrite)) || (mode.read && Taken(fd_, kDenyRead)) ||
                        (mode.denyWrite && Taken(fd_, kAccessWrite)) ||
                        (mode.denyRead && Taken(fd_, kAccessRead));
  bool ok = !conflict;
  if (ok && mode.read) ok = Lock(fd_, F_RDLCK, kAccessRead, 1);
  if (ok && mode.write) ok = Lock(fd_, F_RDLCK, kAccessWrite, 1);
  if (ok && mode.denyRead) ok = Lock(fd_, F_RDLCK, kDenyRead, 1);
  if (ok && mode.denyWrite) ok = Lock(fd_, F_RDLCK, kDenyWrite, 1);
  if (writable) Lock(fd_, F_UNLCK, kGuard, 1);
  if (!ok) {
    Release();
    return Result::kDenied;
  }
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

FileUse::FileUse(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) {
    dev_ = st.st_dev;
    ino_ = st.st_ino;
    AddUse(dev_, ino_);
    registered_ = true;
  }
}

FileUse::~FileUse() {
  if (registered_) EndUse(dev_, ino_, -1);
}

}  // namespace qx
