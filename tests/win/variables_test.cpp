// USE variables, display pictures, clearing variables and bind scopes.
#include <gtest/gtest.h>

#include "runtime/win/picture_format.h"
#include "runtime/win/scope.h"
#include "runtime/win/use_variable.h"

namespace qx {
namespace {

TEST(UseVariable, TextsAndNumbersConvertAsTheirTypesSay) {
  STRING<5> s;
  CSTRING<5> c;
  LONG l = 0;
  BYTE b = 0;
  REAL r = 0;
  UseVariable(s).SetText("abcdefg");
  EXPECT_EQ(s.view(), "abcde");
  UseVariable(s).SetText("ab");
  EXPECT_EQ(UseVariable(s).Text(), "ab   ");
  UseVariable(c).SetText("abcdefg");
  EXPECT_EQ(c.view(), "abcd") << "room for the terminator";
  UseVariable(l).SetText("  -12abc");
  EXPECT_EQ(l, -12);
  UseVariable(l).SetText("none");
  EXPECT_EQ(l, 0);
  UseVariable(b).SetNumber(300);
  EXPECT_EQ(b, 255) << "saturates";
  UseVariable(b).SetNumber(-5);
  EXPECT_EQ(b, 0);
  UseVariable(r).SetText("2.5");
  EXPECT_EQ(UseVariable(r).Text(), "2.5");
  UseVariable(s).SetNumber(42);
  EXPECT_EQ(s.clipped(), "42");
  l = 9;
  RtClearVariable(l);
  EXPECT_EQ(l, 0);
  RtClearVariable(s);
  EXPECT_TRUE(s.blank());
  EXPECT_FALSE(UseVariable().bound());
  EXPECT_EQ(UseVariable().Text(), "");
}

TEST(UseVariable, DisplayPictures) {
  STRING<30> text("C:/Data/Demo  ");
  LONG n = -1234;
  struct Case {
    const char* picture;
    UseVariable value;
    const char* shown;
  } cases[] = {
      {"@s255", text, "C:/Data/Demo"}, {"s255", text, "C:/Data/Demo"}, {"@s4", text, "C:/D"},
      {"@n-14", n, "-1234"},           {"@n14", n, "##############"},  // no room for the sign
      {"@d17", n, ""},                 // no date
      {"no picture", text, "C:/Data/Demo"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatForPicture(c.picture, c.value), c.shown) << c.picture;
}

TEST(BindScope, InnermostBindingWinsAndPoppingRestoresTheOuter) {
  LONG outer = 1, inner = 2;
  STRING<20> name;
  EXPECT_FALSE(RtBound("X"));
  RtBind("X", outer);  // no scope open: nothing
  EXPECT_FALSE(RtBound("X"));
  RtPushScope();
  RtBind("X", outer);
  RtPushScope();
  RtBindGroup(RtNewGroupRef({{"STD:NAME", name}, {"X", inner}}));
  EXPECT_EQ(RtBound("x")->address(), &inner) << "names match without regard to case";
  EXPECT_EQ(RtBound("std:name")->address(), name.data());
  RtPopScope();
  EXPECT_EQ(RtBound("X")->address(), &outer);
  EXPECT_FALSE(RtBound("STD:NAME"));
  RtPopScope();
  RtPopScope();  // nothing open: nothing happens
  EXPECT_FALSE(RtBound("X"));
}

}  // namespace
}  // namespace qx
