// The Qt view's locale: its QApplication takes every category from the environment, and
// the view keeps only the dates of it, so that numbers and case rules stay C's under any
// language. A binary of its own, as the environment must be set before the QApplication
// exists.
#include <gtest/gtest.h>

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <cstring>

#include "runtime/text/day_numbers.h"
#include "runtime/text/picture.h"
#include "runtime/view/qt/qt_view_impl.h"
#include "tests/support/locales.h"

namespace qx {
namespace {

TEST(QtViewLocale, TakesOnlyTheDatesOfTheUsersLocale) {
  if (!testing::LocaleAvailable(testing::kGermanLocale)) GTEST_SKIP() << testing::LocaleMissing(testing::kGermanLocale);
  ::setenv("LC_ALL", testing::kGermanLocale, 1);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "qt_view_locale_test";
  char* argv[] = {name, nullptr};
  QtView view(argc, argv);

  EXPECT_STREQ(::nl_langinfo(D_FMT), "%d.%m.%Y");
  EXPECT_EQ(Picture::Parse("@d17")->FormatNumber(RtDayNumber(2024, 12, 31)), "31.12.2024");
  for (const int category : {LC_NUMERIC, LC_CTYPE, LC_COLLATE}) {
    EXPECT_STREQ(::setlocale(category, nullptr), "C") << "category " << category;
  }
  EXPECT_EQ(std::strtod("1.5", nullptr), 1.5) << "a German LC_NUMERIC would read 1";
}

}  // namespace
}  // namespace qx
