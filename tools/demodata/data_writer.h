// Writing data files of customers, and describing a data file (layout and record count).
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string_view>

#include "runtime/store/file.h"
#include "tools/demodata/customers.h"

namespace qx::demodata {

// Sets `record` (layout.length() bytes) from the customer: first every field to zero or
// blanks, then each field whose name after its prefix is CUSID, NAME, SUBURB, PHONE,
// STARTDATE, ADDRESS or NEWFIELD to the customer's value (LONG fields numbers, STRING
// fields text cut or padded to the width). Other fields stay zero or blank.
void FillRecord(const RecordLayout& layout, const Customer& customer, unsigned char* record);

// Makes a new data file of `decl` (CREATE: a file of that name is replaced) and fills it
// with `count` records, record i holding customer(i), in record order. Uses the bulk path
// (APPEND, then BUILDfile), so the keys are whole when it returns; the file is closed.
// Returns 0, or the store's code of the step that failed (its error state kept).
LONG WriteDataFile(FileDecl& decl, uint64_t count, const std::function<Customer(uint64_t)>& customer);

// Writes to `out` the stored layout of the data file `name` (deciphered with `owner` when
// that is not empty): whether it is encrypted, its fields with type, width and offset,
// its keys with components and attributes, and its record count. Returns 0, or the
// store's code when the file cannot be read (nothing is written then).
LONG DescribeDataFile(std::string_view name, std::string_view owner, std::ostream& out);

}  // namespace qx::demodata
