// The customers the demonstration files hold: a fixed set of a few dozen varied records
// (mixed-case and duplicate names, blank fields, dates across centuries, negative and
// zero numbers), and generated customers for files of any size.
//
// A customer carries every field any of the files' layouts has, under the field's name
// without its prefix; a file takes the fields its layout names (see FillRecord).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/text/types.h"

namespace qx::demodata {

struct Customer {
  LONG cusid = 0;
  std::string name;
  std::string suburb;
  std::string phone;
  LONG startDate = 0;  // a day number (1 January 1801 is day 4), or 0 for no date
  std::string address;
  std::string newField;
};

// The demonstration customers, in record order; the same list every time.
const std::vector<Customer>& DemoCustomers();

// Customer `i` (from 0) of a generated file: a pure function of `i`, so two files of
// the same size hold the same records. Names are mixed case with duplicates, some
// fields blank, dates spread over 1801 to 9999.
Customer GeneratedCustomer(uint64_t i);

}  // namespace qx::demodata
