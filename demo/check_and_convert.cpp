// The check and conversion of one data file; see check_and_convert.h.
#include "demo/check_and_convert.h"

#include <sys/stat.h>

#include <string>

#include "demo/data_files.h"
#include "runtime/store/file.h"
#include "runtime/sys/directories.h"
#include "runtime/sys/error_state.h"
#include "runtime/sys/files.h"
#include "runtime/sys/paths.h"
#include "runtime/sys/run.h"
#include "runtime/text/strings.h"
#include "runtime/win/windows.h"

namespace qx {
namespace {

// The work files RECFIX may leave beside the data file, after the example file, in the
// order they are removed.
constexpr const char* kWorkFileExtensions[] = {".tpe", ".tp1", ".tp2", ".tp3", ".tp4", ".tp5",
                                               ".tp6", ".tp7", ".tp8", ".tp9", ".tp$"};

// The RECFIX command line: data file and example file, each followed by "?" and the owner
// password (nothing after the "?" for a file without one).
std::string RecfixCommandLine(const ConversionVariables& v) {
  std::string line = "RECFIX ";
  line += RtClip(v.FileNameText);
  line += "?";
  line += RtClip(v.OwnerText);
  line += " /K /E:";
  line += RtClip(v.BaseNameText);
  line += ".tpe";
  line += "?";
  line += RtClip(v.OwnerText);
  line += " /A";
  return line;
}

bool IsSymbolicLink(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

}  // namespace

void CheckAndConvertFile(FileDecl& file, const ConversionVariables& v) {
  OPEN(file, 0x22);
  const LONG opened = RtErrorCode();
  if (opened != kInvalidRecordDeclaration && opened != kFileSystemError && opened != kInvalidDataFile) {
    if (opened == kNoError) CLOSE(file);
    return;
  }

  // The names of this conversion. The declared name is read afresh for each assignment.
  v.OwnerText = GET_PROPERTY(file, kPropOwner);
  if (RtInString(GET_PROPERTY(file, kPropFileName), ".", 1, 1) != 0) {
    v.FileNameText = GET_PROPERTY(file, kPropFileName);
    const LONG dot = RtInString(v.FileNameText, ".", 1, 1);
    v.BaseNameText = v.FileNameText.view().substr(0, static_cast<size_t>(dot - 1));
  } else {
    v.FileNameText = GET_PROPERTY(file, kPropFileName) + ".tps";  // cut to 255 characters
    v.BaseNameText = GET_PROPERTY(file, kPropFileName);
  }
  v.TempDirName = "VHtemp";
  const std::string workingDir = RtFullPath(RtShortPath("")) + "\\";
  if (workingDir.size() + RtClip(v.TempDirName).size() > v.TempDirPath.kCapacity) {
    // TempDirPath (and, for a still longer path, CurrentDir) would cut it: a directory
    // under the cut name would be made here or above, entered or not, and removed at the
    // end of the pass, though it may be a user's own. Leave the file as it is.
    return;
  }
  v.CurrentDir = workingDir;
  v.TempDirPath = RtClip(v.CurrentDir) + RtClip(v.TempDirName);
  RtCreateDirectory(v.TempDirPath.view());  // fails without effect when VHtemp exists
  v.ConversionDone = 1;

  const std::string base = RtClip(v.BaseNameText);
  const std::string example = base + ".tpe";

  // In the temporary directory: an empty file of the declared layout, renamed to the
  // example file's name and copied up into the working directory.
  // A VHtemp that is a symbolic link leads elsewhere: the CREATE below would replace a
  // data file of the same name there. Only a real directory of our own is entered.
  if (IsSymbolicLink(RtHostPath(RtClip(v.CurrentDir) + RtClip(v.TempDirName)))) return;
  RtSetPath(RtClip(v.CurrentDir) + RtClip(v.TempDirName));
  if (RtErrorCode() != kNoError) {
    // Still in the working directory: a CREATE here would put an empty file in place of
    // the data file itself. Leave the file as it is; its next OPEN reports 47 again.
    return;
  }
  CREATE(file);
  const std::string created =
      RtInString(v.FileNameText, ".", 1, 1) != 0 ? RtClip(v.FileNameText) : base + ".tps";
  RtRenameFile(created, example);
  RtCopyFile(example, RtClip(v.CurrentDir) + example);
  RtRemoveFile(example);

  // Back in the working directory: RECFIX rebuilds the data file after the example.
  RtSetPath(RtClip(v.CurrentDir));
  RtRun(RecfixCommandLine(v), true);

  RtOpenWindow(KeyWindow);
  RtDisplay(0, 0);
  for (const char* extension : kWorkFileExtensions) RtRemoveFile(base + extension);
  if (&file == &Encrypt) RenumberEncryptSysId();
  RtCloseWindow(KeyWindow);
}

void RenumberEncryptSysId() {
  OPEN(Encrypt, 0x22);
  // One transaction for the whole numbering (see the header); only one this call began
  // is committed.
  LOGOUT(2, Encrypt);
  const bool framed = RtErrorCode() == kNoError;
  LONG counter = 0;
  SETfile(Encrypt);
  for (;;) {
    NEXT(Encrypt);
    if (RtErrorCode() != kNoError) break;
    counter += 1;
    ENC().SYSID = counter;
    PUT(Encrypt);
  }
  if (framed) COMMIT();
  CLOSE(Encrypt);
}

}  // namespace qx
