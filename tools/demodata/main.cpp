// qx_demodata: writes old-layout data files and describes data files.
//
//   qx_demodata demo <directory>
//       the demonstration set of the reset, in the old layouts: Encrypt.TPS (enciphered
//       under "xk"), Standrd.TPS, Var.TPS and VeryLong.TPS, each with the demonstration
//       customers; the directory is made when missing
//   qx_demodata file <kind> <file> [<records>]
//       one file of an old layout (kind standrd, encrypt, verylong or var): the
//       demonstration customers, or that many generated ones
//   qx_demodata show <file> [<owner>]
//       the file's stored layout and its record count
//
// Exit code 0, or 1 when a file cannot be written or read, 2 for a wrong command line.
#include <filesystem>
#include <iostream>
#include <string>

#include "runtime/sys/error_state.h"
#include "tools/demodata/data_writer.h"
#include "tools/demodata/old_layouts.h"

namespace {

using namespace qx;
using namespace qx::demodata;

constexpr const char kUsage[] =
    "usage: qx_demodata demo <directory>\n"
    "       qx_demodata file standrd|encrypt|verylong|var <file> [<records>]\n"
    "       qx_demodata show <file> [<owner>]\n";

int Usage() {
  std::cerr << kUsage;
  return 2;
}

std::string ErrorText() {
  std::string t = "error " + std::to_string(RtErrorCode()) + " \"" + std::string(RtErrorTextFor(RtErrorCode())) + "\"";
  const std::string detail = RtPushFileErrorText();
  if (!detail.empty()) t += " (" + detail + ")";
  return t;
}

// Writes one old-layout file; `records` 0 means the demonstration customers.
bool Write(OldFile kind, const std::string& path, uint64_t records) {
  auto decl = MakeOldDecl(kind, path);
  const LONG code =
      records == 0 ? WriteDataFile(*decl, DemoCustomers().size(), [](uint64_t i) { return DemoCustomers()[i]; })
                   : WriteDataFile(*decl, records, GeneratedCustomer);
  if (code != 0) {
    std::cerr << "qx_demodata: " << path << ": " << ErrorText() << "\n";
    return false;
  }
  return true;
}

bool ParseCount(const std::string& text, uint64_t* out) {
  if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  *out = std::stoull(text);
  return *out > 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string verb = argv[1];
  if (verb == "demo" && argc == 3) {
    const std::string dir = argv[2];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
      std::cerr << "qx_demodata: " << dir << ": " << ec.message() << "\n";
      return 1;
    }
    for (OldFile kind : {OldFile::kEncrypt, OldFile::kStandrd, OldFile::kVar, OldFile::kVeryLong}) {
      if (!Write(kind, dir + "/" + std::string(DemoFileName(kind)), 0)) return 1;
    }
    return 0;
  }
  if (verb == "file" && (argc == 4 || argc == 5)) {
    const auto kind = OldFileFromName(argv[2]);
    uint64_t records = 0;
    if (!kind || (argc == 5 && !ParseCount(argv[4], &records))) return Usage();
    return Write(*kind, argv[3], records) ? 0 : 1;
  }
  if (verb == "show" && (argc == 3 || argc == 4)) {
    if (DescribeDataFile(argv[2], argc == 4 ? argv[3] : "", std::cout) != 0) {
      std::cerr << "qx_demodata: " << argv[2] << ": " << ErrorText() << "\n";
      return 1;
    }
    return 0;
  }
  return Usage();
}
