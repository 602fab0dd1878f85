// A new content for a file, written beside the file and put in its place in one step.
// Internal to runtime/sys (RtCopyFile, the INI writer): a reader or a crash sees the
// target either wholly as it was or wholly new, never half written, and a failure leaves
// the target as it was and no temporary file behind.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace qx {

class ReplacementFile {
 public:
  // `target` is the host path the content is meant for; nothing is touched yet.
  explicit ReplacementFile(std::string target);
  // Removes the temporary file unless Commit() succeeded.
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Creates the temporary file in the target's directory with permission bits `mode`.
  // Returns 0, or the errno of the failure.
  int Open(mode_t mode);

  // The temporary file's descriptor (valid after a successful Open).
  int fd() const { return fd_; }

  // Appends bytes. Returns 0, or the errno of the failure.
  int Write(std::string_view bytes);

  // Flushes the content to disk and renames the temporary file over the target, then
  // flushes the directory. Returns 0, or the errno of the failure (the target is then
  // unchanged).
  int Commit();

 private:
  std::string target_;
  std::string temp_;
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace qx
