// The four declarations as the store sees them: the files they make, their properties,
// and the order and content of every key.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "demo/data_files.h"
#include "runtime/store/stored_layout.h"
#include "runtime/sys/error_state.h"
#include "runtime/text/strings.h"
#include "tests/demo_files/fixtures.h"

namespace qx {
namespace {

using testing::Customer;
using testing::ScopedChdir;
using testing::TempDir;

TEST(DataFiles, CreateMakesAnEmptyFileThatOpensUnderTheDeclaration) {
  struct Case {
    FileDecl* file;
    const char* diskName;
    const char* owner;
    const char* declaredName;
    size_t recordLength;
  } cases[] = {
      {&Standrd, "STANDRD.TPS", "", "STANDRD", 44},
      {&Encrypt, "ENCRYPT.TPS", "xk", "ENCRYPT", 72},
      {&VeryLongName, "VERYLONG.TPS", "", "VERYLONG", 88},
      {&Varname, "variable.tps", "", "variable.tps", 44},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file->label());
    TempDir dir;
    ScopedChdir in(dir.path());
    EXPECT_EQ(GET_PROPERTY(*c.file, kPropOwner), c.owner);
    EXPECT_EQ(GET_PROPERTY(*c.file, kPropFileName), c.declaredName) << "without the blanks of VarnameFileName";
    EXPECT_EQ(c.file->layout().length(), c.recordLength);

    CREATE(*c.file);
    ASSERT_EQ(RtErrorCode(), 0);
    EXPECT_EQ(testing::Names(dir.path()), std::vector<std::string>{c.diskName});
    OPEN(*c.file, 0x22);
    ASSERT_EQ(RtErrorCode(), 0) << RtPushFileErrorText();
    SETfile(*c.file);
    NEXT(*c.file);
    EXPECT_EQ(RtErrorCode(), kRecordNotAvailable) << "no records";
    CLOSE(*c.file);

    StoredLayout stored;
    EXPECT_EQ(ReadStoredLayout(c.diskName, c.owner, &stored), 0);
    EXPECT_EQ(stored.encrypted, std::string(c.owner) == "xk");
    if (stored.encrypted) {
      EXPECT_NE(ReadStoredLayout(c.diskName, "", &stored), 0) << "enciphered under its owner";
    }
  }
}

TEST(DataFiles, VarnameTakesItsNameFromTheVariableEachTime) {
  TempDir dir;
  ScopedChdir in(dir.path());
  const STRING<256> saved = VarnameFileName;
  VarnameFileName = "other.dat";
  EXPECT_EQ(GET_PROPERTY(Varname, kPropFileName), "other.dat");
  CREATE(Varname);
  EXPECT_EQ(RtErrorCode(), 0);
  VarnameFileName = saved;
  EXPECT_EQ(testing::Names(dir.path()), std::vector<std::string>{"other.dat"});
  EXPECT_EQ(GET_PROPERTY(Varname, kPropFileName), "variable.tps");
}

// A component's sort image of a customer, and whether it counts as empty.
struct Image {
  std::string text;  // upper-cased text, or an order-preserving image of a number
  bool number = false;
  bool empty = false;
};
using Component = std::function<Image(const Customer&)>;

Component Text(std::string Customer::*m) {
  return [m](const Customer& c) { return Image{RtUpper(c.*m), false, RtClip(c.*m).empty()}; };
}
Component Number(LONG Customer::*m) {
  return [m](const Customer& c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(c.*m) ^ 0x80000000u);
    return Image{buf, true, c.*m == 0};
  };
}

// The key's order over `customers`, computed from its components: ascending, texts without
// regard to case, records whose components are all empty left out, equal values in record
// order. Returns record numbers (1-based).
std::vector<int> ExpectedOrder(const std::vector<Customer>& customers, const std::vector<Component>& components) {
  std::vector<int> order;
  for (size_t i = 0; i < customers.size(); ++i) {
    bool allEmpty = true;
    for (const Component& comp : components) allEmpty = allEmpty && comp(customers[i]).empty;
    if (!allEmpty) order.push_back(static_cast<int>(i) + 1);
  }
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    for (const Component& comp : components) {
      const Image x = comp(customers[a - 1]), y = comp(customers[b - 1]);
      const int d = x.number ? x.text.compare(y.text) : RtCompareStrings(x.text, y.text);
      if (d != 0) return d < 0;
    }
    return false;
  });
  return order;
}

TEST(DataFiles, EveryKeyOrdersByItsComponentsWithoutCaseAndLeavesOutEmptyRecords) {
  // Duplicates in every key, names that differ only in case, a record empty but for its
  // suburb, a record with CUSID 0 and a blank name.
  std::vector<Customer> customers = testing::SampleCustomers();
  customers.push_back({0, "", "", "", 0, "", "", 0});
  customers.push_back({5, "smith", "Abbotsford", "03", 9, "", "", 0});

  const Component name = Text(&Customer::name), suburb = Text(&Customer::suburb), phone = Text(&Customer::phone);
  const Component cusid = Number(&Customer::cusid), sysid = Number(&Customer::sysid);
  struct Case {
    FileDecl* file;
    Key* key;
    std::vector<Component> components;
  } cases[] = {
      {&Standrd, &STD_ByName, {name}},
      {&Standrd, &STD_ByID, {cusid}},
      {&Encrypt, &ENC_ByName, {name}},
      {&Encrypt, &ENC_ByPhone, {phone}},
      {&Encrypt, &ENC_BySuburb, {suburb}},
      {&Encrypt, &ENC_ByID, {cusid}},
      {&Encrypt, &ENC_BySysID, {sysid}},
      {&VeryLongName, &VLN_ByName, {name}},
      {&Varname, &VAR_ByName, {name}},
      {&Varname, &VAR_BySuburb, {suburb}},
      {&Varname, &VAR_ByID, {cusid}},
      {&Varname, &VAR_ByNameSuburb, {name, suburb}},
      {&Varname, &VAR_ByCusIDName, {cusid, name}},
      {&Varname, &VAR_ByCusIDNameSuburb, {cusid, name, suburb}},
  };
  for (size_t i = 0; i < customers.size(); ++i) customers[i].sysid = static_cast<LONG>((i * 5) % 4);  // 0 empties

  TempDir dir;
  ScopedChdir in(dir.path());
  for (FileDecl* f : {&Standrd, &Encrypt, &VeryLongName, &Varname}) ASSERT_EQ(testing::WriteFile(*f, customers), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key->def().name);
    OPEN(*c.file, 0x22);
    ASSERT_EQ(RtErrorCode(), 0);
    // Record numbers, found by content: no two customers here are alike in any layout.
    std::vector<int> got;
    SETkey(*c.key);
    for (NEXT(*c.file); RtErrorCode() == 0; NEXT(*c.file)) {
      const Customer read = testing::BufferedCustomer(*c.file);
      for (size_t i = 0; i < customers.size(); ++i) {
        if (testing::Project(customers[i], c.file->layout()) == read) got.push_back(static_cast<int>(i) + 1);
      }
    }
    CLOSE(*c.file);
    EXPECT_EQ(got, ExpectedOrder(customers, c.components));
    const KeyDef& def = c.key->def();
    EXPECT_TRUE(def.dup && def.opt && def.nocase && !def.primary);
  }
  // And the files have no keys beyond these, in this order.
  for (FileDecl* f : {&Standrd, &Encrypt, &VeryLongName, &Varname}) {
    std::vector<const Key*> declared, listed;
    for (size_t i = 0; i < f->keyCount(); ++i) declared.push_back(&f->key(i));
    for (const Case& c : cases) {
      if (c.file == f) listed.push_back(c.key);
    }
    EXPECT_EQ(declared, listed) << f->label();
  }
}

}  // namespace
}  // namespace qx
