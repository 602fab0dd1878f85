// Fixtures for the tests of the four data files and their conversion: data files in the
// layouts the demonstration data had before today's declarations, the customers they hold,
// reading any data file back field by field; and the directory helpers of tests/support.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "runtime/store/file.h"
#include "tests/support/files.h"

namespace qx::testing {

// One customer, every field any of the layouts has. Texts without trailing blanks.
struct Customer {
  LONG cusid = 0;
  std::string name, suburb, phone;
  LONG startdate = 0;  // day number
  std::string address, newfield;
  LONG sysid = 0;
  bool operator==(const Customer&) const = default;
};

// A handful of varied customers: mixed-case and duplicate names, blank fields, a record
// that is all blank but its suburb, dates at both ends of the calendar, negative and zero
// numbers, a name with UTF-8 letters, texts that fill their whole width.
const std::vector<Customer>& SampleCustomers();

// The old layouts of the demonstration files.
//   kStandrd   STD: CUSID NAME SUBURB PHONE STARTDATE ADDRESS(40); 5 keys
//   kEncrypt   ENC: CUSID NAME SUBURB PHONE STARTDATE; 4 keys; enciphered under "xk"
//   kVeryLong  VLN: today's six fields; 8 keys
//   kVarname   VAR: today's three fields; 3 keys
enum class OldFile { kStandrd, kEncrypt, kVeryLong, kVarname };
constexpr OldFile kAllOldFiles[] = {OldFile::kStandrd, OldFile::kEncrypt, OldFile::kVeryLong, OldFile::kVarname};

// The name the demonstration directory gives the file ("Standrd.TPS", "Encrypt.TPS",
// "VeryLong.TPS", "variable.tps"): the programs find them without regard to case.
std::string DemoFileName(OldFile kind);

// A declaration of the old layout for the file at `path` (tools/demodata's).
std::unique_ptr<FileDecl> OldDecl(OldFile kind, const std::string& path);

// Writes a new file of the old layout at `path` holding `customers` in record order.
// Returns the first failing store code, 0 on success.
LONG WriteOldFile(OldFile kind, const std::string& path, const std::vector<Customer>& customers);
// The same with `count` generated customers, written in bulk.
LONG WriteGeneratedOldFile(OldFile kind, const std::string& path, int count);
// The generated customer number i (0-based) of WriteGeneratedOldFile.
Customer GeneratedCustomer(int i);

// Writes a file of declaration `decl` (whose name is resolved against the current
// directory) holding `customers`: CREATE, then ADD each. 0 or the first failing code.
LONG WriteFile(FileDecl& decl, const std::vector<Customer>& customers);

// Opens `decl` (mode 22h) and reads every record in record order into `out`; closes it
// again. Returns OPEN's code (nothing read unless 0).
LONG ReadFile(FileDecl& decl, std::vector<Customer>* out);

// The customer in the calling thread's record buffer of `decl`.
Customer BufferedCustomer(FileDecl& decl);

// What a customer becomes in `layout`: the fields the layout has, texts cut to their width;
// every other field zero or empty.
Customer Project(const Customer& c, const RecordLayout& layout);

}  // namespace qx::testing
