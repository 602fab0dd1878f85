// Share modes and the file hold between openers, on open-file-description (OFD) locks.
//
// Every open instance of a data file owns one ShareLock: a descriptor of its own on the
// file, through which it announces its access and what it denies others. The locks sit on
// byte ranges far beyond anything SQLite locks or stores (see share_lock.cpp), they are
// tied to the descriptor rather than the process, so two threads of one process conflict
// exactly as two processes do, and the kernel drops them when the process dies.
#pragma once

#include <chrono>
#include <string>

#include "runtime/text/types.h"

namespace qx {

// Access mode of OPEN: low nibble 0 read, 1 write, 2 read and write; high nibble what
// others are denied: 0 and 1 everything, 2 writing, 3 reading, 4 nothing.
struct AccessMode {
  bool read = true;
  bool write = false;
  bool denyRead = false;
  bool denyWrite = false;
};
// False for a mode outside those nibbles.
bool ParseAccessMode(LONG mode, AccessMode* out);

class ShareLock {
 public:
  enum class Result { kOk, kHeld, kDenied, kError };

  ShareLock() = default;
  ~ShareLock();
  ShareLock(const ShareLock&) = delete;
  ShareLock& operator=(const ShareLock&) = delete;

  // Opens a descriptor on `path` (or reuses one this process parked) and takes the share
  // locks of `mode` on the file that `path` names once they are taken. Waits up to
  // `holdWaitSeconds` (releasing the runtime lock) while another opener holds the file
  // (kHeld when it still does), kDenied when the mode conflicts with another opener's,
  // kError with errno in `error()` when the file cannot be opened. With `createNew` the
  // file is made (it must not exist: else kError with EEXIST), so that no other opener
  // can have it before these locks are on it.
  Result Acquire(const std::string& path, const AccessMode& mode, double holdWaitSeconds, bool createNew = false);
  // Takes the file hold: every other OPEN of the file then finds it locked. kHeld when
  // another opener holds it.
  Result Hold();
  void ReleaseHold();
  bool holding() const { return holding_; }
  // True when any other opener announces access (read or write) to the file.
  bool OthersOpen() const;
  // Drops every lock and hands the descriptor to the process registry, which keeps it
  // for the next share lock of the file and closes it once no share lock of this process
  // has the file open any more.
  void Release();
  int error() const { return error_; }
  bool acquired() const { return fd_ >= 0; }
  // The descriptor (for reading the file's header; never to be closed by the caller).
  int fd() const { return fd_; }

 private:
  // One attempt of Acquire on the file the path names now.
  Result TryAcquire(const std::string& path, const AccessMode& mode, std::chrono::steady_clock::time_point deadline,
                    bool createNew);
  // A registered descriptor on the file `path` names (made anew with `createNew`), for
  // `mode`; sets dev_ and ino_.
  Result OpenDescriptor(const std::string& path, const AccessMode& mode, bool createNew, int* fd);

  int fd_ = -1;
  int error_ = 0;
  bool holding_ = false;
  unsigned long long dev_ = 0, ino_ = 0;
};

}  // namespace qx
