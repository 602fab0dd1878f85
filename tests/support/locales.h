// The locales tests run under besides C, and a thread put under one for a scope. CTest's
// fixture "test_locales" builds them into the build tree and sets LOCPATH for the tests
// of a qx_add_gtest(... LOCALES) (tests/CMakeLists.txt); a test binary run by hand
// without LOCPATH finds them only when the machine has them installed.
#pragma once

#include <locale.h>

#include <string>

namespace qx::testing {

inline constexpr const char* kGermanLocale = "de_DE.UTF-8";   // dates as dd.mm.yyyy
inline constexpr const char* kTurkishLocale = "tr_TR.UTF-8";  // "I" lower-cases to a dotless i

// Puts the calling thread under the categories `mask` of locale `name` (C for the others)
// for the scope's life; ok() is false, and nothing changes, when the locale cannot be had.
class ThreadLocale {
 public:
  ThreadLocale(const char* name, int mask) : locale_(::newlocale(mask, name, nullptr)) {
    if (locale_) previous_ = ::uselocale(locale_);
  }
  ~ThreadLocale() {
    if (!locale_) return;
    ::uselocale(previous_);
    ::freelocale(locale_);
  }
  ThreadLocale(const ThreadLocale&) = delete;
  ThreadLocale& operator=(const ThreadLocale&) = delete;
  bool ok() const { return locale_ != nullptr; }

 private:
  locale_t locale_;
  locale_t previous_ = LC_GLOBAL_LOCALE;
};

// Whether locale `name` can be had here.
inline bool LocaleAvailable(const char* name) {
  const locale_t l = ::newlocale(LC_ALL_MASK, name, nullptr);
  if (l) ::freelocale(l);
  return l != nullptr;
}

// Why a test that needs locale `name` cannot run, for GTEST_SKIP.
inline std::string LocaleMissing(const char* name) {
  return std::string("the locale ") + name + " is not there: run the test through ctest, whose fixture test_locales builds it";
}

}  // namespace qx::testing
