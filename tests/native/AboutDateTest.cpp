// The About box's date line: local day, no leading zeros, code page 950.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "app/AboutDate.h"

namespace {

// Sets the process's time zone for one test and puts the previous one back.
class TimeZone {
public:
    explicit TimeZone(const char* zone)
    {
        if (const char* previous = std::getenv("TZ"))
            m_previous = previous;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZone()
    {
        if (m_previous)
            ::setenv("TZ", m_previous->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> m_previous;
};

// 年, 月 and 日 in code page 950.
const CString kYear = "\xA6\x7E";
const CString kMonth = "\xA4\xEB";
const CString kDay = "\xA4\xE9";

constexpr std::time_t k2026_12_07_noon_utc = 1796644800;  // 2026-12-07 12:00:00 UTC
constexpr std::time_t k2027_01_01_noon_utc = 1798804800;  // 2027-01-01 12:00:00 UTC

}  // namespace

TEST(FormatAboutDate, WritesYearMonthDayWithoutLeadingZeros)
{
    const TimeZone utc("UTC0");
    EXPECT_EQ(FormatAboutDate(k2026_12_07_noon_utc), "2026" + kYear + "12" + kMonth + "7" + kDay);
    EXPECT_EQ(FormatAboutDate(k2027_01_01_noon_utc), "2027" + kYear + "1" + kMonth + "1" + kDay);
}

TEST(FormatAboutDate, FollowsTheLocalTimeZone)
{
    // 2026-12-31 16:30 UTC is already 2027-01-01 00:30 in Taipei (UTC+8).
    constexpr std::time_t justAfterTaipeiMidnight = k2027_01_01_noon_utc - (19 * 3600 + 1800);
    {
        const TimeZone taipei("CST-8");
        EXPECT_EQ(FormatAboutDate(justAfterTaipeiMidnight), "2027" + kYear + "1" + kMonth + "1" + kDay);
    }
    {
        const TimeZone utc("UTC0");
        EXPECT_EQ(FormatAboutDate(justAfterTaipeiMidnight), "2026" + kYear + "12" + kMonth + "31" + kDay);
    }
}
