// How fields carry over when the example's layout differs in more than dropped and added
// fields: matched by name (across a changed prefix and a new field order), numbers
// converted between types and held at the new type's range, text cut or padded to the
// new width, STRING and CSTRING into each other, and a field whose type changed between
// text and number left empty, each loss reported on standard error.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "tests/recfix/recfix_runner.h"
#include "runtime/store/store.h"

namespace qx::recfix_test {
namespace {

KeyDef DupKey(const char* name, const char* field) {
  KeyDef k;
  k.name = name;
  k.components = {field};
  k.dup = k.opt = k.nocase = true;
  return k;
}

std::unique_ptr<FileDecl> Decl(const std::string& name, RecordLayout layout, std::vector<KeyDef> keys) {
  FileAttributes a;
  a.create = true;
  return std::make_unique<FileDecl>("T", FileName(name), "", "", a, std::move(layout), std::move(keys));
}

const FieldDef& Field(const FileDecl& f, const char* name) {
  return f.layout().fields()[static_cast<size_t>(f.layout().FindField(name))];
}

template <class T>
void Put(FileDecl& f, const char* name, T v) {
  std::memcpy(f.RecordBuffer() + Field(f, name).offset, &v, sizeof v);
}
void PutText(FileDecl& f, const char* name, std::string_view text, char pad) {
  const FieldDef& d = Field(f, name);
  unsigned char* p = f.RecordBuffer() + d.offset;
  std::memset(p, pad, d.width);
  std::memcpy(p, text.data(), std::min(text.size(), d.width));
}
template <class T>
T Get(FileDecl& f, const char* name) {
  T v;
  std::memcpy(&v, f.RecordBuffer() + Field(f, name).offset, sizeof v);
  return v;
}
std::string GetBytes(FileDecl& f, const char* name) {
  const FieldDef& d = Field(f, name);
  return std::string(reinterpret_cast<const char*>(f.RecordBuffer()) + d.offset, d.width);
}

struct Row {
  LONG num;
  const char* txt;   // into STRING(10)
  const char* cs;    // into CSTRING(8)
  REAL real;
  SHORT sh;
  const char* word;  // STRING(5), a number today
  const char* same;
  const char* toc;   // STRING(8), a CSTRING(4) today
  // Expected in the new file:
  SHORT newNum;
  const char* newTxt;  // STRING(4), all bytes
  const char* newCs;   // STRING(12), all bytes
  LONG newReal;
  const char* newToc;  // CSTRING(4) content
};

constexpr LONG kMax = std::numeric_limits<LONG>::max();
constexpr LONG kMin = std::numeric_limits<LONG>::min();

const Row kRows[] = {
    {7, "abcdefghij", "hello", 2.5, -5, "12345", "same1", "ab", 7, "abcd", "hello       ", 3, "ab"},
    {70000, "ab", "", -2.5, 0, "", "", "abcdefgh", 32767, "ab  ", "            ", -3, "abc"},
    {-70000, "    x", "1234567", 1e12, 32767, "x", "s", "  ", -32768, "    ", "1234567     ", kMax, ""},
    {0, "", "", -1e12, -32768, "", "", "a   b   ", 0, "    ", "            ", kMin, "a  "},
    {1, "abcd      ", "", std::nan(""), 1, "", "", "", 1, "abcd", "            ", 0, ""},
};

TEST(FieldMapping, CarriesValuesByNameAcrossTypesAndWidths) {
  TempDir dir;
  RecordLayout before;
  before.AddField("OLD:NUM", FieldType::kLong);
  before.AddField("OLD:TXT", FieldType::kString, 10);
  before.AddField("OLD:CS", FieldType::kCString, 8);
  before.AddField("OLD:REAL", FieldType::kReal);
  before.AddField("OLD:SH", FieldType::kShort);
  before.AddField("OLD:GONE", FieldType::kLong);
  before.AddField("OLD:WORD", FieldType::kString, 5);
  before.AddField("OLD:SAME", FieldType::kString, 6);
  before.AddField("OLD:TOC", FieldType::kString, 8);
  auto old = Decl(dir / "DATA", before, {DupKey("OLD:BYNUM", "OLD:NUM")});
  CREATE(*old);
  OPEN(*old, 0x22);
  ASSERT_EQ(RtErrorCode(), 0);
  for (const Row& r : kRows) {
    RtClearGroup(old->RecordBuffer(), old->layout());
    Put(*old, "OLD:NUM", r.num);
    PutText(*old, "OLD:TXT", r.txt, ' ');
    PutText(*old, "OLD:CS", r.cs, '\0');
    Put(*old, "OLD:REAL", r.real);
    Put(*old, "OLD:SH", r.sh);
    Put<LONG>(*old, "OLD:GONE", 99);
    PutText(*old, "OLD:WORD", r.word, ' ');
    PutText(*old, "OLD:SAME", r.same, ' ');
    PutText(*old, "OLD:TOC", r.toc, ' ');
    ADD(*old);
    ASSERT_EQ(RtErrorCode(), 0);
  }
  CLOSE(*old);

  // Another prefix, another field order, other types and widths.
  RecordLayout after;
  after.AddField("NEW:SAME", FieldType::kString, 6);
  after.AddField("NEW:NUM", FieldType::kShort);
  after.AddField("NEW:TXT", FieldType::kString, 4);
  after.AddField("NEW:CS", FieldType::kString, 12);
  after.AddField("NEW:REAL", FieldType::kLong);
  after.AddField("NEW:SH", FieldType::kReal);
  after.AddField("NEW:FRESH", FieldType::kString, 6);
  after.AddField("NEW:WORD", FieldType::kLong);
  after.AddField("NEW:TOC", FieldType::kCString, 4);
  auto example = Decl(dir / "DATA.tpe", after, {DupKey("NEW:BYTXT", "NEW:TXT")});
  CREATE(*example);
  ASSERT_EQ(RtErrorCode(), 0);

  const RunResult run = RunRecfix(dir.path(), {"DATA?", "/K", "/E:DATA.tpe?", "/A"});
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  for (const char* note : {"NEW:NUM: 2 values held", "NEW:TXT: 2 values cut to 4 characters",
                           "NEW:REAL: 3 values held", "NEW:WORD (LONG) cannot take OLD:WORD (STRING(5))",
                           "NEW:TOC: 2 values cut to 3 characters"})
    EXPECT_NE(run.stderrText.find(note), std::string::npos) << "missing note \"" << note << "\" in:\n" << run.stderrText;

  auto today = Decl(dir / "DATA", after, {DupKey("NEW:BYTXT", "NEW:TXT")});
  OPEN(*today, 0x22);
  ASSERT_EQ(RtErrorCode(), 0) << RtPushFileErrorText();
  SETfile(*today);
  for (const Row& r : kRows) {
    NEXT(*today);
    ASSERT_EQ(RtErrorCode(), 0);
    SCOPED_TRACE(std::string("row with NUM ") + std::to_string(r.num));
    EXPECT_EQ(GetBytes(*today, "NEW:SAME"), std::string(r.same) + std::string(6 - std::strlen(r.same), ' '));
    EXPECT_EQ(Get<SHORT>(*today, "NEW:NUM"), r.newNum);
    EXPECT_EQ(GetBytes(*today, "NEW:TXT"), r.newTxt);
    EXPECT_EQ(GetBytes(*today, "NEW:CS"), r.newCs);
    EXPECT_EQ(Get<LONG>(*today, "NEW:REAL"), r.newReal);
    EXPECT_EQ(Get<REAL>(*today, "NEW:SH"), static_cast<REAL>(r.sh));
    EXPECT_EQ(GetBytes(*today, "NEW:FRESH"), "      ");
    EXPECT_EQ(Get<LONG>(*today, "NEW:WORD"), 0);
    EXPECT_EQ(GetBytes(*today, "NEW:TOC"), std::string(r.newToc) + std::string(4 - std::strlen(r.newToc), '\0'));
  }
  NEXT(*today);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable);
}

}  // namespace
}  // namespace qx::recfix_test
