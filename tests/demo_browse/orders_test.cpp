// The sort orders of the four browses: which tab shows which order, the tabs a person
// cannot choose, and a change of tab re-sorting the list from the selected record.
#include <gtest/gtest.h>

#include "tests/demo_browse/browse_fixture.h"

namespace qx::testing {
namespace {

using Less = std::function<bool(const Customer&, const Customer&)>;

const Less kByName = [](const Customer& a, const Customer& b) { return a.name < b.name; };
const Less kById = [](const Customer& a, const Customer& b) { return a.cusid < b.cusid; };
const Less kBySysId = [](const Customer& a, const Customer& b) { return a.sysid < b.sysid; };
const Less kByPhone = [](const Customer& a, const Customer& b) { return a.phone < b.phone; };
const Less kBySuburb = [](const Customer& a, const Customer& b) { return a.suburb < b.suburb; };
const Less kByNameSuburb = [](const Customer& a, const Customer& b) {
  return std::tie(a.name, a.suburb) < std::tie(b.name, b.suburb);
};
const Less kByIdName = [](const Customer& a, const Customer& b) {
  return std::tie(a.cusid, a.name) < std::tie(b.cusid, b.name);
};
const Less kByIdNameSuburb = [](const Customer& a, const Customer& b) {
  return std::tie(a.cusid, a.name, a.suburb) < std::tie(b.cusid, b.name, b.suburb);
};

struct Tab {
  const char* text;
  Less order;  // nullptr: disabled, the person cannot choose it
};

struct Member {
  const BrowseMember& (*member)();
  FileDecl* file;
  LONG sheet;
  size_t nameColumn;
  size_t rows;  // what the list shows
  std::vector<Tab> tabs;
};

std::vector<Member> Members() {
  return {
      {&StandrdBrowse, &Standrd, 6, 1, 11,
       {{"By Name", kByName}, {"By StartDate/Name", nullptr}, {"By Phone", nullptr}, {"By ID", kById},
        {"By Address", nullptr}}},
      {&EncryptBrowse, &Encrypt, 5, 2, 11,
       {{"By SysID", kBySysId}, {"By Name", kBySysId}, {"By Phone", kByPhone}, {"By Suburb", kBySuburb},
        {"By ID", kById}}},
      {&VeryLongNameBrowse, &VeryLongName, 6, 1, 10,
       {{"By Name", kByName}, {"By ComplKey", nullptr}, {"By NewField", nullptr}, {"By StartDate/Name", nullptr},
        {"By Phone", nullptr}, {"By Suburb", nullptr}, {"By ID", nullptr}, {"By Phone/Sub", nullptr}}},
      {&VarnameBrowse, &Varname, 6, 1, 9,
       {{"By Name", kByName}, {"By Suburb", kBySuburb}, {"By ID", kById}, {"By Name/Suburb", kByNameSuburb},
        {"By CusID/Name", kByIdName}, {"By CusID/Name/Suburb", kByIdNameSuburb}}},
  };
}

class Orders : public BrowseTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(Orders, EachTabShowsItsOrderAndDisabledTabsCannotBeChosen) {
  const Member m = Members().at(GetParam());
  SCOPED_TRACE(m.member().procedure);
  Write(*m.file, Surnames());
  Open(m.member());
  const std::optional<SheetPresentation> sheet = Control(m.sheet).sheet;
  ASSERT_TRUE(sheet);
  ASSERT_EQ(sheet->tabs.size(), m.tabs.size());
  EXPECT_EQ(sheet->selected, 1);
  EXPECT_EQ(Column(m.nameColumn), Slice(NamesBy(Surnames(), m.tabs[0].order), 0, m.rows)) << "the first tab's order";
  for (size_t i = 0; i < m.tabs.size(); ++i) {
    const Tab& tab = m.tabs[i];
    SCOPED_TRACE(tab.text);
    EXPECT_EQ(sheet->tabs[i].text, tab.text);
    EXPECT_EQ(sheet->tabs[i].disabled, tab.order == nullptr);
    const LONG number = static_cast<LONG>(i) + 1;
    if (tab.order == nullptr) {
      EXPECT_EQ(ViewInput::Click(WindowId(), m.sheet, number), InputResult::kDisabled);
      continue;
    }
    PickTab(m.sheet, number);
    Key(kKeyHome);
    EXPECT_EQ(Column(m.nameColumn), Slice(NamesBy(Surnames(), tab.order), 0, m.rows));
    Key(kKeyEnd);
    const std::vector<std::string> all = NamesBy(Surnames(), tab.order);
    EXPECT_EQ(Column(m.nameColumn), Slice(all, all.size() - m.rows, m.rows));
  }
}

INSTANTIATE_TEST_SUITE_P(Browses, Orders, ::testing::Range<size_t>(0, 4));

TEST_F(BrowseTest, AnotherTabReSortsFromTheSelectedRecord) {
  Write(Standrd, Surnames());
  Open(StandrdBrowse());
  Pick(5);
  ASSERT_EQ(SelectedCell(1), "Brown");
  PickTab(6, 4);  // "By ID"
  EXPECT_EQ(SelectedCell(1), "Brown");
  EXPECT_EQ(Column(1).at(0), "Brown") << "the page starts at the selected record's key in the new order";
  const std::vector<std::string> byId = NamesBy(Surnames(), kById);
  const size_t at = std::find(byId.begin(), byId.end(), "Brown") - byId.begin();
  EXPECT_EQ(Column(1), Slice(byId, at, 11));
  Key(kKeyDown);
  const std::string next = SelectedCell(1);
  PickTab(6, 1);  // back to "By Name"
  EXPECT_EQ(SelectedCell(1), next);
  EXPECT_EQ(std::string(STD().NAME.clipped()), next);
}

}  // namespace
}  // namespace qx::testing
