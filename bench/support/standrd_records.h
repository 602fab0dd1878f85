// The generated Standrd records of the benchmarks that fill a file of today's Standrd
// layout.
#pragma once

#include <cstdint>
#include <string>

#include "demo/data_files.h"

namespace qx::bench {

// Record i: a mixed-case name from a pseudo-random number, so that the name order differs
// from record order and has a few duplicates.
inline void MakeStandrdRecord(uint64_t i, StandrdRecord* r) {
  uint64_t x = i * 0x9E3779B97F4A7C15ull;
  x ^= x >> 29;
  char name[8];
  for (int k = 0; k < 7; ++k) {
    name[k] = static_cast<char>((k == 0 ? 'A' : 'a') + x % 26);
    x /= 26;
  }
  name[7] = 0;
  r->CUSID = static_cast<LONG>(i + 1);
  r->NAME = std::string(name) + " " + std::to_string(i % 97);
  r->SUBURB = "Suburb " + std::to_string(i % 500);
}

}  // namespace qx::bench
