// What the end-to-end tests of both programs put into a working directory and check of
// the data files a program leaves behind: the four declarations with the old layouts
// their files come from, the old files written, a converted file read back, the code OPEN
// gives a file, and how often an event occurs among a directory watch's events.
#pragma once

#include <string>
#include <vector>

#include "runtime/store/file.h"
#include "tests/demo_files/fixtures.h"

namespace qx::testing {

// The four declarations with the old layouts their demonstration files come from.
struct DataFile {
  FileDecl* decl;
  OldFile old;
};
extern const DataFile kDataFiles[4];

// Writes the four old-layout files into `dir` under their demonstration names, each
// holding `customers`.
void WriteOldFiles(const std::string& dir, const std::vector<Customer>& customers);

// The bytes of an old-layout Standrd file of the sample customers (or of `generated`
// generated customers), to be put into a program's working directory before it starts.
std::string OldStandrdBytes(int generated = 0);

// Expects the file of `decl` in `dir` to open under its declaration and hold `customers`
// in record order, with every value a field of both layouts had; for Encrypt, ENC:SYSID
// 1, 2, 3 ... in record order.
void ExpectConverted(const std::string& dir, FileDecl& decl, const std::vector<Customer>& customers);

// The code OPEN gives the file of `decl` in `dir` (the instance is closed again).
LONG OpenCode(const std::string& dir, FileDecl& decl);

// How often `event` ("+VHtemp", "-VHtemp") occurs among a watch's events.
int Occurrences(const std::vector<std::string>& events, const std::string& event);

}  // namespace qx::testing
