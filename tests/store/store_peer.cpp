// The second process of the store's two-process tests. Usage: store_peer <file name>.
// Reads one command a line from standard input, runs it on a Standrd-shaped declaration
// of that file and answers one line: the error code, then any result text.
//   open <mode hex>  close  logout <seconds>  commit  rollback  watch
//   add <cusid> <name>  first (SETfile + NEXT; answers cusid and name)  put <name>
//   reget <position>  position  exit
#include <iostream>
#include <sstream>
#include <string>

#include "runtime/store/store.h"

namespace {

struct StandrdRecord {
  qx::LONG CUSID;
  qx::STRING<20> NAME;
  qx::STRING<20> SUBURB;
};

qx::KeyDef DupOptNocase(const char* name, const char* field) {
  qx::KeyDef k;
  k.name = name;
  k.components = {field};
  k.dup = k.opt = k.nocase = true;
  return k;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: store_peer <file name>\n";
    return 2;
  }
  using namespace qx;
  FileAttributes attrs;
  attrs.create = true;
  FileDecl file("Standrd", FileName(argv[1]), "STD", "", attrs,
                LayoutOf<StandrdRecord>()
                    .Field("STD:CUSID", &StandrdRecord::CUSID)
                    .Field("STD:NAME", &StandrdRecord::NAME)
                    .Field("STD:SUBURB", &StandrdRecord::SUBURB),
                {DupOptNocase("STD:ByName", "STD:NAME"), DupOptNocase("STD:ByID", "STD:CUSID")});
  auto& rec = file.Record<StandrdRecord>();
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream in(line);
    std::string cmd, a, b;
    in >> cmd >> a >> b;
    std::string result;
    if (cmd == "open") OPEN(file, std::stol(a, nullptr, 16));
    else if (cmd == "close") CLOSE(file);
    else if (cmd == "logout") LOGOUT(std::stol(a), file);
    else if (cmd == "commit") COMMIT();
    else if (cmd == "rollback") ROLLBACK();
    else if (cmd == "watch") WATCH(file);
    else if (cmd == "add") {
      rec.CUSID = std::stol(a);
      rec.NAME = b;
      rec.SUBURB = "";
      ADD(file);
    } else if (cmd == "first") {
      SETfile(file);
      NEXT(file);
      result = std::to_string(rec.CUSID) + " " + std::string(rec.NAME.clipped());
    } else if (cmd == "put") {
      rec.NAME = a;
      PUT(file);
    } else if (cmd == "reget") REGETfile(file, a);
    else if (cmd == "position") result = POSITIONfile(file);
    else if (cmd == "exit") return 0;
    else {
      std::cout << "-1 unknown command" << std::endl;
      continue;
    }
    std::cout << RtErrorCode() << (result.empty() ? "" : " " + result) << std::endl;
  }
  return 0;
}
