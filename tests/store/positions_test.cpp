// Position texts: their form, round trips through blank-padded STRING(512) variables,
// long keys, and arbitrary texts fed to RESET and REGET (which must fail cleanly).
#include <gtest/gtest.h>

#include <random>

#include "runtime/store/position.h"
#include "tests/store/test_files.h"

namespace qx::testing {
namespace {

TEST(PositionTextTest, RoundTripsAndRejects) {
  using store::ParsePosition;
  const std::string img = std::string("AB %:\x01\xFF", 7);
  const std::string text = store::FormatKeyPosition(2, img, 99);
  auto p = ParsePosition(text);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->key, 2);
  EXPECT_EQ(p->image, img);
  EXPECT_EQ(p->id, 99);
  STRING<512> kept(text);
  EXPECT_TRUE(ParsePosition(kept.view())) << "trailing blanks of a STRING(512) are ignored";
  EXPECT_EQ(store::FormatKeyPosition(1, std::string(400, '\x01'), 5), "K1::5") << "too long: image left out";
  for (const char* bad : {"", "R", "R0", "R-1", "R1x", "Rabc", "K1:5", "K0:A:5", "K1:A:", "K1:%4:5", "K1:%zz:5",
                          "X5", "R99999999999999999999", "K:A:1"}) {
    EXPECT_FALSE(ParsePosition(bad)) << bad;
  }
}

class PositionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f_ = MakeStandrd(dir_ / "STANDRD");
    CREATE(*f_);
    OPEN(*f_, 0x42);
    for (int i = 1; i <= 30; ++i) AddStandrd(*f_, i, "Name" + std::to_string(i % 7));
  }
  void TearDown() override { CLOSE(*f_); }
  TempDir dir_;
  std::unique_ptr<FileDecl> f_;
};

TEST_F(PositionsTest, ArbitraryTextsFailCleanly) {
  // Texts made from real positions by mutation, and pure noise; every RESET and REGET
  // either succeeds or reports 35, and reading on from a RESET stays sound.
  SETkey(f_->key(0));
  NEXT(*f_);
  NEXT(*f_);
  const std::vector<std::string> seeds = {POSITIONkey(f_->key(0)), POSITIONkey(f_->key(1)), POSITIONfile(*f_)};
  std::mt19937 gen(20240601);
  const std::string alphabet = "RK0123456789:%ABCDEF \x01\xFFname-";
  RecordView view(*f_);
  OPEN(view, 0x22);
  for (int i = 0; i < 3000; ++i) {
    std::string t;
    if (i % 3 == 0) {
      const size_t n = gen() % 600;
      for (size_t j = 0; j < n; ++j) t.push_back(alphabet[gen() % alphabet.size()]);
    } else {
      t = seeds[gen() % seeds.size()];
      const int edits = 1 + static_cast<int>(gen() % 4);
      for (int e = 0; e < edits && !t.empty(); ++e) {
        const size_t at = gen() % t.size();
        switch (gen() % 3) {
          case 0: t[at] = alphabet[gen() % alphabet.size()]; break;
          case 1: t.erase(at, 1); break;
          default: t.insert(at, 1, alphabet[gen() % alphabet.size()]);
        }
      }
    }
    const std::function<void()> ops[] = {
        [&] { RESETfile(*f_, t); }, [&] { RESETkey(f_->key(0), t); }, [&] { RESETkey(f_->key(1), t); },
        [&] { REGETfile(*f_, t); }, [&] { REGETkey(f_->key(0), t); }, [&] { RESETfile(view, t); },
        [&] { REGETfile(view, t); },
    };
    ops[gen() % std::size(ops)]();
    const LONG code = RtErrorCode();
    ASSERT_TRUE(code == 0 || code == kRecordNotFound) << code << " for " << t;
    NEXT(*f_);
    ASSERT_TRUE(RtErrorCode() == 0 || RtErrorCode() == kRecordNotAvailable) << RtErrorCode();
  }
  CLOSE(view);
}

TEST(LongKeyPositionTest, AKeyTooLongForItsImageStillResets) {
  TempDir dir;
  struct Wide {
    LONG ID;
    STRING<200> A;
    STRING<200> B;
  };
  RecordLayout layout = LayoutOf<Wide>().Field("W:ID", &Wide::ID).Field("W:A", &Wide::A).Field("W:B", &Wide::B);
  KeyDef k = DupOptNocase("W:BYAB", {"W:A", "W:B"});
  FileDecl f("Wide", FileName(dir / "WIDE"), "W", "", CreateThread(), layout, {k});
  CREATE(f);
  OPEN(f, 0x42);
  auto& r = f.Record<Wide>();
  for (LONG i = 1; i <= 3; ++i) {
    r.ID = i;
    r.A = "a" + std::to_string(i);
    r.B = "%%%%";  // escapes make the text longer still
    ADD(f);
  }
  SETkey(f.key(0));
  NEXT(f);
  NEXT(f);
  const std::string pos = POSITIONkey(f.key(0));
  EXPECT_LE(pos.size(), 512u);
  RESETkey(f.key(0), pos);
  EXPECT_EQ(RtErrorCode(), 0);
  NEXT(f);
  EXPECT_EQ(r.ID, 2);
  NEXT(f);
  EXPECT_EQ(r.ID, 3);
  CLOSE(f);
}

}  // namespace
}  // namespace qx::testing
