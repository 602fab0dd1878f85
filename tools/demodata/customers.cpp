// The demonstration customers and the generator of large files; see customers.h.
#include "tools/demodata/customers.h"

#include <climits>

#include "runtime/text/day_numbers.h"

namespace qx::demodata {

namespace {

struct Row {
  LONG cusid;
  const char* name;
  const char* suburb;
  const char* phone;
  int year, month, day;  // 0, 0, 0: no date
  const char* address;
  const char* newField;
};

// Widths in the files: NAME, SUBURB, PHONE and NEWFIELD 20, ADDRESS 40. A few values
// fill their field exactly; none is longer.
constexpr Row kRows[] = {
    {1, "Smith", "Richmond", "03 9428 1111", 1998, 3, 14, "12 Church Street", "first customer"},
    {2, "SMITH", "Hawthorn", "03 9818 2222", 2001, 11, 2, "4/88 Glenferrie Road", ""},
    {3, "smith", "Kew", "", 1801, 1, 1, "1 High Street", ""},
    {4, "Jones", "Carlton", "0412 345 678", 1955, 6, 30, "77 Lygon Street", "green"},
    {5, "Jones", "Carlton", "0412 345 678", 1955, 6, 30, "77 Lygon Street", "green"},
    {6, "O'Brien", "Fitzroy", "(03) 9417 0000", 1899, 12, 31, "", ""},
    {7, "", "Brunswick", "03 9380 1234", 2010, 1, 1, "3 Sydney Road", ""},
    {0, "Zero Id", "", "", 0, 0, 0, "", ""},
    {-1, "Negative", "Footscray", "", 2000, 2, 29, "", "leap day"},
    {INT32_MIN, "Lowest Id", "Altona", "03 9398 0001", 1900, 2, 28, "1 Pier Street", ""},
    {INT32_MAX, "Highest Id", "Altona", "03 9398 0002", 1900, 3, 1, "2 Pier Street", ""},
    {12, "van der Berg", "Toorak", "03 9826 5555", 1969, 7, 20, "8 Orrong Road", "moon"},
    {13, "Van Der Berg", "toorak", "03 9826 5556", 2038, 1, 19, "8 Orrong Road", "MOON"},
    {14, "MacDonald", "Prahran", "1800 FLOWERS", 1850, 5, 5, "101 Chapel Street", ""},
    {15, "Macdonald", "PRAHRAN", "1800 flowers", 2100, 12, 31, "101 Chapel Street", ""},
    {16, "McDonald", "St Kilda", "03 9534 7777", 9999, 12, 31, "Unit 7, 20 Acland Street", "last day"},
    {17, "Bartholomew-Smythe J", "Camberwell", "03 9882 9999", 1945, 8, 15,
     "Apartment 1204, 1000 Burwood Highway Rd.", "exactly twenty chars"},
    {18, "a", "z", "1", 1801, 1, 2, "a", "a"},
    {19, "Z", "A", "9", 9999, 12, 30, "z", "z"},
    {20, "Nguyen", "Springvale", "03 9546 1010", 1975, 4, 30, "55 Buckingham Avenue", ""},
    {20, "Ng", "Springvale", "03 9546 1011", 1975, 4, 30, "57 Buckingham Avenue", ""},
    {21, "Ngata", "Dandenong", "", 1988, 2, 29, "", "second 20"},
    {0, "", "", "", 0, 0, 0, "", ""},
    {22, "  Leading Blanks", "  Suburb", "  123", 1812, 6, 18, "  9 Space Lane", "  note"},
    {23, "Semi;Colon, Comma", "Mid dle", "03-9999-0000", 1914, 7, 28, "Level 3; 5 Semi Lane", "a;b,c"},
    {24, "Wilson", "Richmond", "03 9428 1111", 2024, 2, 29, "12 Church Street", ""},
    {25, "wilson", "richmond", "03 9428 1112", 1801, 3, 1, "12 CHURCH STREET", ""},
    {-100, "Refund Account", "Melbourne", "", 1999, 12, 31, "GPO Box 1", "negative id"},
    {26, "Brown", "Essendon", "03 9379 4444", 2000, 1, 1, "40 Mount Alexander Road", ""},
    {27, "Brown", "Essendon", "03 9379 4444", 2000, 1, 1, "40 Mount Alexander Road", "twin"},
    {28, "Patel", "", "0400 000 000", 1876, 3, 10, "", ""},
    {29, "Zhang", "Box Hill", "", 0, 0, 0, "1 Station Street", ""},
    {30, "Evans", "Geelong", "03 5222 3333", 1901, 1, 1, "2 Malop Street", ""},
    {31, "EVANS", "GEELONG", "03 5222 3334", 2099, 12, 31, "3 Malop Street", ""},
    {32, "Taylor", "Ballarat", "03 5333 1212", 1851, 8, 1, "Sturt Street", "gold"},
    {33, "Young", "Bendigo", "03 5444 0000", 1969, 12, 31, "Pall Mall", ""},
};

uint64_t Mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

const char* const kSuburbs[] = {"Richmond", "Hawthorn", "Kew",     "Carlton",  "Fitzroy", "Brunswick",
                                "Toorak",   "Prahran",  "St Kilda", "Geelong", "Ballarat", "Bendigo"};
const char* const kStreets[] = {"Church Street", "High Street", "Sydney Road", "Chapel Street", "Pier Street"};

}  // namespace

const std::vector<Customer>& DemoCustomers() {
  static const std::vector<Customer> customers = [] {
    std::vector<Customer> out;
    for (const Row& r : kRows) {
      Customer c;
      c.cusid = r.cusid;
      c.name = r.name;
      c.suburb = r.suburb;
      c.phone = r.phone;
      c.startDate = r.year == 0 ? 0 : RtDayNumber(r.year, r.month, r.day);
      c.address = r.address;
      c.newField = r.newField;
      out.push_back(std::move(c));
    }
    return out;
  }();
  return customers;
}

Customer GeneratedCustomer(uint64_t i) {
  uint64_t x = Mix(i);
  Customer c;
  c.cusid = static_cast<LONG>(i % 1000 == 999 ? 0 : i + 1);
  std::string name;
  for (int k = 0; k < 7; ++k) {
    // Mostly capitalised, every fourth name upper case, so case-folded duplicates occur.
    const bool upper = k == 0 || (i % 4 == 0);
    name.push_back(static_cast<char>((upper ? 'A' : 'a') + x % 26));
    x /= 26;
  }
  c.name = name + " " + std::to_string(i % 97);
  c.suburb = i % 11 == 0 ? "" : kSuburbs[x % 12];
  x /= 12;
  c.phone = i % 7 == 0 ? "" : "03 9" + std::to_string(100 + x % 900) + " " + std::to_string(1000 + (x / 900) % 9000);
  x /= 900 * 9000;
  c.startDate = i % 13 == 0 ? 0 : static_cast<LONG>(kFirstDayNumber + x % (kLastDayNumber - kFirstDayNumber + 1));
  c.address = std::to_string(1 + i % 300) + " " + kStreets[i % 5];
  c.newField = i % 5 == 0 ? "" : "note " + std::to_string(i % 13);
  return c;
}

}  // namespace qx::demodata
