// The first-character locator of a browse's list: typing the selected row's first
// character steps to the next row that starts with it, any other character jumps to the
// first record at or after it; text keys without regard to case, number keys by the value
// of the digit typed, and the further components of a compound key blanked first.
#include <gtest/gtest.h>

#include <optional>

#include "tests/demo_browse/browse_fixture.h"

namespace qx::testing {
namespace {

constexpr LONG kRows = 11;

// Home, then Down `index` times: the index-th record of the order is selected.
void GoTo(size_t index, const std::function<void(LONG)>& key) {
  key(kKeyHome);
  for (size_t i = 0; i < index; ++i) key(kKeyDown);
}

class Locator : public BrowseTest {
 protected:
  void SetUp() override {
    Write(Standrd, Surnames());
    Open(StandrdBrowse());
  }
  struct Case {
    std::string from;  // the selected row's value before typing
    char typed;
    std::string to;    // the selected row's value afterwards
    std::optional<std::string> top;  // the page's first row, when the page is rebuilt
  };
  // Runs the cases on the order shown, whose values (in order) are in `column` of the list.
  void Run(const std::vector<std::string>& order, size_t column, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.from + " + '" + std::string(1, c.typed) + "'");
      const size_t at = std::find(order.begin(), order.end(), c.from) - order.begin();
      ASSERT_LT(at, order.size());
      GoTo(at, [this](LONG k) { Key(k); });
      ASSERT_EQ(SelectedCell(column), c.from);
      Type(c.typed);
      EXPECT_EQ(SelectedCell(column), c.to);
      if (c.top) {
        EXPECT_EQ(Column(column).at(0), *c.top);
      }
      EXPECT_EQ(Column(column).size(), static_cast<size_t>(kRows)) << "the page stays full";
    }
  }
};

TEST_F(Locator, TextKeysStepThroughTheRowsThatStartWithTheCharacterOrJumpToIt) {
  const std::vector<std::string> names =
      NamesBy(Surnames(), [](const Customer& a, const Customer& b) { return a.name < b.name; });
  Run(names, 1,
      {
          {"Scott", 'S', "Smith", std::nullopt},   // the next row starts with S too
          {"Smith", 's', "Stone", std::nullopt},   // lower case alike
          {"Stone", 'S', "Scott", "Rose"},         // past the last S: back to the first, on the last page
          {"Adams", 'M', "Moore", "Moore"},        // the first at or after M, at the top
          {"Adams", 'A', "Allen", std::nullopt},
          {"Allen", 'a', "Adams", "Adams"},
          {"Davis", 'X', "Young", "Rose"},         // no X: the first after it
          {"Davis", '#', "Adams", "Adams"},        // below every letter
          {"Zane", 'Z', "Zane", "Rose"},           // the last record: nothing below it to step to
          {"Kelly", ' ', "Kelly", std::nullopt},   // a blank locates nothing
      });
}

TEST_F(Locator, NumberKeysLocateByTheDigitTyped) {
  PickTab(6, 4);  // "By ID"
  std::vector<std::string> ids;
  for (LONG id = 3; id <= 120; id += 3) ids.push_back(std::to_string(id));
  ASSERT_EQ(Column(0), Slice(ids, 0, kRows));
  Run(ids, 0,
      {
          {"3", '7', "9", "9"},       // the first number of at least 7
          {"12", '1', "15", std::nullopt},  // 15 starts with 1 as well
          {"18", '1', "3", "3"},      // 21 does not: the first of at least 1
          {"99", '9', "9", "9"},      // 102 does not start with 9: back to the first of at least 9
          {"30", 'x', "3", "3"},      // not a digit: the first of at least 0
      });
}

// Varname's compound orders locate by their first component; the further components are
// blanked first, so the located record is the first with that first component, whatever
// the selected record held in the others.
TEST_F(BrowseTest, CompoundKeysLocateWithTheirFurtherComponentsCleared) {
  auto make = [](LONG id, std::string name, std::string suburb) {
    Customer c;
    c.cusid = id;
    c.name = std::move(name);
    c.suburb = std::move(suburb);
    return c;
  };
  Write(Varname, {make(5, "Cat", "North"), make(7, "Zed", "Omega"), make(7, "Amy", "Zulu"), make(9, "Bob", "Mid"),
                  make(2, "Bea", "Zeta"), make(3, "Bea", "Beta"), make(11, "Dan", "East"), make(4, "B", "Alpha"),
                  make(7, "", "Alpha")});
  Open(VarnameBrowse());
  struct Case {
    const char* what;
    LONG tab;
    std::string fromName, fromSuburb;
    char typed;
    std::string toId, toName, toSuburb;
  } cases[] = {
      {"By CusID/Name", 5, "Cat", "North", '7', "7", "", "Alpha"},
      {"By CusID/Name/Suburb", 6, "Cat", "North", '7', "7", "", "Alpha"},
      {"By Name/Suburb", 4, "Amy", "Zulu", 'B', "4", "B", "Alpha"},
      {"By Name/Suburb, the selected row's own letter", 4, "Bea", "Zeta", 'b', "9", "Bob", "Mid"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PickTab(6, c.tab);
    const std::vector<std::string> names = Column(1), suburbs = Column(2);
    LONG row = 0;
    for (size_t i = 0; i < names.size(); ++i) {
      if (names[i] == c.fromName && suburbs[i] == c.fromSuburb) row = static_cast<LONG>(i) + 1;
    }
    ASSERT_NE(row, 0);
    Pick(row);
    Type(c.typed);
    EXPECT_EQ(SelectedCell(0), c.toId);
    EXPECT_EQ(SelectedCell(1), c.toName);
    EXPECT_EQ(SelectedCell(2), c.toSuburb);
    EXPECT_EQ(std::string(VAR().SUBURB.clipped()), c.toSuburb) << "the record buffer holds the located row";
  }
}

}  // namespace
}  // namespace qx::testing
