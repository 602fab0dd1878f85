// The conversion of one data file; see conversion.h.
#include "recfix/conversion.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "recfix/file_names.h"
#include "recfix/record_mapping.h"
#include "recfix/stored_decl.h"
#include "runtime/store/store.h"
#include "runtime/sys/paths.h"

namespace qx::recfix {

namespace {

// The current error state as text: "error 32 "File Is Already Locked" (another opener
// holds the file locked)".
std::string ErrorText() {
  const LONG code = RtErrorCode();
  std::string t = "error " + std::to_string(code);
  const std::string_view text = RtErrorTextFor(code);
  if (!text.empty()) t += " \"" + std::string(text) + "\"";
  const std::string detail = RtPushFileErrorText();
  if (!detail.empty()) t += " (" + detail + ")";
  return t;
}

// What a failed reading of a stored layout most likely means.
std::string Hint(LONG code, const std::string& owner) {
  switch (code) {
    case kFileNotFound: return ": there is no such file";
    case kPathNotFound: return ": its directory does not exist";
    case kAccessDenied: return ": the owner password is wrong, or another program denies reading it";
    case kInvalidDataFile:
      return owner.empty() ? ": it is not a data file (an enciphered one needs its owner password after \"?\")"
                           : ": it is not a data file";
    case kFileIsLocked: return ": another program holds it locked";
    default: return {};
  }
}

std::string Errno(const char* what, const std::string& path, int err) {
  return std::string(what) + " " + path + ": " + std::strerror(err);
}

// Flushes a file or directory to disk. Returns 0 or errno.
int Sync(const std::string& path, bool directory) {
  const int fd = ::open(path.c_str(), (directory ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
  if (fd < 0) return errno;
  const int rc = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  return rc;
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

class Conversion {
 public:
  Conversion(const Arguments& args, const std::atomic<bool>& stop) : args_(args), stop_(stop) {}
  ~Conversion() { DiscardWorkFile(); }

  Outcome Run() {
    if (ReadLayouts() && HoldDataFile() && BuildWorkFile() && ReplaceDataFile()) out_.converted = true;
    DiscardWorkFile();
    if (data_) CLOSE(*data_);
    return std::move(out_);
  }

 private:
  bool Fail(std::string what) {
    out_.error = args_.dataFile + ": " + what;
    return false;
  }
  // True, with the failure set, once a stop was requested.
  bool Stopped() {
    if (!stop_.load(std::memory_order_relaxed)) return false;
    Fail("stopped before the data file was replaced; it is unchanged");
    return true;
  }

  bool ReadLayouts() {
    if (ReadStoredLayout(args_.exampleFile, args_.exampleOwner, &example_) != 0) {
      const LONG code = RtErrorCode();
      return Fail("the example file " + args_.exampleFile + " cannot be read: " + ErrorText() +
                  Hint(code, args_.exampleOwner));
    }
    if (ReadStoredLayout(args_.dataFile, args_.dataOwner, &old_) != 0) {
      const LONG code = RtErrorCode();
      return Fail("the data file cannot be read: " + ErrorText() + Hint(code, args_.dataOwner));
    }
    return true;
  }

  // Opens the data file under its own layout, for reading only while denying others
  // everything, and holds it. Record order needs no key, so a data file whose key data
  // must be rebuilt opens too and is read as it is: the keys are built only in the new
  // file, and the data file is never written.
  bool HoldDataFile() {
    data_ = MakeStoredDecl(args_.dataFile, args_.dataOwner, old_);
    OPENrecords(*data_, 0x10);
    if (RtErrorCode() != 0) {
      const LONG code = RtErrorCode();
      std::string why = "the data file cannot be opened: " + ErrorText();
      if (code == kFileIsLocked) why += ": another program holds it locked";
      else if (code == kAccessDenied) why += ": another program has it open";
      return Fail(why);
    }
    LOCK(*data_);
    if (RtErrorCode() != 0) return Fail("the data file cannot be held: " + ErrorText());
    // A data file that is a symbolic link is replaced where the link leads, so the link
    // stays and goes on naming the converted file.
    const std::string named = RtResolvePath(StoreNameOf(args_.dataFile));
    char* real = ::realpath(named.c_str(), nullptr);
    if (!real) return Fail(Errno("cannot resolve", named, errno));
    dataPath_ = real;
    ::free(real);
    return true;
  }

  // The work file lies beside the file it replaces, so the rename stays in one directory.
  // It is a scratch file (its journal kept in memory): until it replaces the data file it
  // is worth nothing, so a kill leaves only the work file itself, under a name the caller
  // clears; CREATE replaces one a killed run left.
  bool BuildWorkFile() {
    const std::string workName = WorkFileFor(args_.dataFile, args_.exampleFile, DirectoryOf(dataPath_));
    if (workName.empty()) return Fail("no work file name is free beside it");
    if (!example_.encrypted && !args_.exampleOwner.empty())
      out_.notes.push_back("the example file is not enciphered, so neither is the new file; the owner password "
                           "after the example file is not used");
    work_ = MakeStoredDecl(workName, args_.exampleOwner, example_, true);
    CREATE(*work_);
    if (RtErrorCode() != 0) return Fail("the work file " + workName + " cannot be made: " + ErrorText());
    workPath_ = RtResolvePath(work_->StoreName());
    OPEN(*work_, 0x12);
    if (RtErrorCode() != 0) return Fail("the work file " + workName + " cannot be opened: " + ErrorText());
    LOCK(*work_);
    if (RtErrorCode() != 0) return Fail("the work file " + workName + " cannot be held: " + ErrorText());
    LOGOUT(10, *work_);
    if (RtErrorCode() != 0) return Fail("the work file " + workName + " cannot take a transaction: " + ErrorText());
    inTransaction_ = true;

    RecordMapping mapping(old_.layout, example_.layout);
    for (const std::string& n : mapping.unconvertible()) out_.notes.push_back(n + "; it is left empty");
    const unsigned char* from = data_->RecordBuffer();
    unsigned char* to = work_->RecordBuffer();
    SEND(*data_, "QUICKSCAN=on");
    SETfile(*data_);
    for (;;) {
      if (Stopped()) return false;
      NEXT(*data_);
      if (RtErrorCode() == kRecordNotAvailable) break;
      if (RtErrorCode() != 0) return Fail("record " + std::to_string(out_.records + 1) + " cannot be read: " + ErrorText());
      mapping.Apply(from, to);
      APPEND(*work_);
      if (RtErrorCode() != 0)
        return Fail("record " + std::to_string(out_.records + 1) + " cannot be written: " + ErrorText());
      ++out_.records;
    }
    for (const std::string& n : mapping.Losses()) out_.notes.push_back(n);
    COMMIT();
    inTransaction_ = false;
    if (RtErrorCode() != 0) return Fail("the new records cannot be committed: " + ErrorText());
    if (Stopped()) return false;
    BUILDfile(*work_);
    if (RtErrorCode() != 0) return Fail("the keys of the new file cannot be built: " + ErrorText());
    CLOSE(*work_);
    // The finished file must open under the example's declaration before it may replace
    // the data file.
    OPEN(*work_, 0x10);
    if (RtErrorCode() != 0) return Fail("the new file does not open: " + ErrorText());
    CLOSE(*work_);
    return true;
  }

  bool ReplaceDataFile() {
    if (Stopped()) return false;
    struct stat st;
    if (::stat(dataPath_.c_str(), &st) == 0) {
      // The old file's owner and group where this process may give them (the group alone
      // when the owner may not be changed), then its permissions: a change of owner can
      // clear the set-id bits.
      if (::chown(workPath_.c_str(), st.st_uid, st.st_gid) != 0 &&
          ::chown(workPath_.c_str(), static_cast<uid_t>(-1), st.st_gid) != 0) {
        // Neither is permitted: the new file keeps this process's owner and group.
      }
      ::chmod(workPath_.c_str(), st.st_mode & 07777);
    }
    if (const int e = Sync(workPath_, false)) return Fail(Errno("cannot flush", workPath_, e));
    // No writer can be at work on the data file while it is held, and the engine rolled
    // any interrupted transaction back when the file was first read; a journal still
    // beside it is a dead one, which must not meet the new file under the same name.
    if (::unlink((dataPath_ + "-journal").c_str()) != 0 && errno != ENOENT)
      return Fail(Errno("cannot remove the stale journal", dataPath_ + "-journal", errno));
    if (::rename(workPath_.c_str(), dataPath_.c_str()) != 0)
      return Fail(Errno("cannot rename the new file onto", dataPath_, errno));
    workPath_.clear();
    // The rename is durable once the directory is; the new file is in place either way.
    Sync(DirectoryOf(dataPath_), true);
    return true;
  }

  // Undoes the work file unless it replaced the data file.
  void DiscardWorkFile() {
    if (inTransaction_) {
      ROLLBACK();
      inTransaction_ = false;
    }
    if (work_) {
      CLOSE(*work_);
      work_.reset();
    }
    if (!workPath_.empty()) {
      ::unlink(workPath_.c_str());
      workPath_.clear();
    }
  }

  const Arguments& args_;
  const std::atomic<bool>& stop_;
  Outcome out_;
  StoredLayout example_, old_;
  std::unique_ptr<FileDecl> data_, work_;
  std::string dataPath_, workPath_;
  bool inTransaction_ = false;
};

}  // namespace

Outcome ConvertDataFile(const Arguments& args, const std::atomic<bool>& stop) {
  Conversion c(args, stop);
  return c.Run();
}

}  // namespace qx::recfix
