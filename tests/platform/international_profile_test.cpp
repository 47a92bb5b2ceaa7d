#include "runtime/platform/international_profile.h"

#include <gtest/gtest.h>

namespace rk::platform {
namespace {

struct Expected {
  const char* key;
  const char* value;
};

void ExpectValues(const TimeLocale& locale, std::initializer_list<Expected> expected) {
  for (const Expected& e : expected) {
    EXPECT_EQ(InternationalValue(locale, e.key, "<default>"), e.value)
        << locale.name << " " << e.key;
  }
}

TEST(InternationalProfileTest, CAndPosixSayNothing) {
  TimeLocale c{"C", "%m/%d/%y", "%H:%M:%S", "%a %b %e %H:%M:%S %Y", "AM", "PM"};
  for (const char* name : {"C", "POSIX", "C.UTF-8", ""}) {
    c.name = name;
    for (const char* key :
         {"iTime", "iTLzero", "sTime", "s1159", "s2359", "sShortDate", "sLongDate"}) {
      EXPECT_EQ(InternationalValue(c, key, "<default>"), "<default>") << name << " " << key;
    }
  }
}

TEST(InternationalProfileTest, GermanStyleLocale) {
  TimeLocale de{"de_DE.UTF-8", "%d.%m.%Y", "%T", "%a %d %b %Y %T", "", ""};
  ExpectValues(de, {{"iTime", "1"},
                    {"iTLzero", "1"},
                    {"sTime", ":"},
                    {"s1159", "<default>"},
                    {"s2359", "<default>"},
                    {"sShortDate", "dd'.'MM'.'yyyy"},
                    {"sLongDate", "ddd' 'dd' 'MMM' 'yyyy"},
                    {"sUnknown", "<default>"}});
}

TEST(InternationalProfileTest, TwelveHourLocale) {
  TimeLocale us{"en_US.UTF-8", "%m/%d/%Y", "%r", "%a %d %b %Y %r %Z", "AM", "PM"};
  ExpectValues(us, {{"iTime", "0"},
                    {"iTLzero", "1"},
                    {"s1159", "AM"},
                    {"sShortDate", "MM'/'dd'/'yyyy"},
                    {"sLongDate", "ddd' 'dd' 'MMM' 'yyyy"}});
  TimeLocale unpadded{"xx_XX", "%e-%-m-%y", "%l.%M %p", "%A, %B %e, %Y", "vm", "nm"};
  ExpectValues(unpadded, {{"iTime", "0"},
                          {"iTLzero", "0"},
                          {"sTime", "."},
                          {"s2359", "nm"},
                          {"sShortDate", "d'-'M'-'yy"},
                          {"sLongDate", "dddd', 'MMMM' 'd', 'yyyy"}});
}

TEST(InternationalProfileTest, FormatsWithoutAllFieldsKeepTheDefault) {
  TimeLocale odd{"xx_XX", "%m/%y", "%M:%S", "%H:%M", "", ""};
  ExpectValues(odd, {{"iTime", "<default>"},
                     {"sTime", "<default>"},
                     {"sShortDate", "<default>"},
                     {"sLongDate", "<default>"}});
}

}  // namespace
}  // namespace rk::platform
