// The controller's clock values and their text (see controller_time.h).
#include "device/controller_time.h"

#include "device/format_text.h"

namespace orlo {

namespace {

const char* const kWeekdays[7] = {"星期日", "星期一", "星期二", "星期三",
                                  "星期四", "星期五", "星期六"};

constexpr std::uint32_t kSecondsPerDay = 86400;

}  // namespace

std::uint32_t controllerSeconds(std::uint64_t utcSeconds)
{
    return static_cast<std::uint32_t>(utcSeconds + kControllerUtcOffsetSeconds);
}

CalendarTime calendarTime(std::uint32_t seconds)
{
    CalendarTime t{};
    const std::uint32_t days = seconds / kSecondsPerDay;
    std::uint32_t rest = seconds % kSecondsPerDay;
    t.hour = rest / 3600;
    rest %= 3600;
    t.minute = rest / 60;
    t.second = rest % 60;
    t.weekday = (days + 4) % 7;  // 1970-01-01 was a Thursday

    // Days to civil date, counting in 400-year eras from 0000-03-01.
    const std::uint32_t z = days + 719468;
    const std::uint32_t era = z / 146097;
    const std::uint32_t dayOfEra = z - era * 146097;
    const std::uint32_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::uint32_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::uint32_t monthIndex = (5 * dayOfYear + 2) / 153;  // 0 is March
    t.day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    t.month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    t.year = yearOfEra + era * 400 + (t.month <= 2 ? 1 : 0);
    return t;
}

std::string moduleTimeText(std::uint32_t seconds)
{
    CalendarTime t = calendarTime(seconds);
    return formatText("模块的当前时间为：%u年%u月%u日%u时%u分%u秒，%s", t.year, t.month, t.day,
                      t.hour, t.minute, t.second, kWeekdays[t.weekday]);
}

}  // namespace orlo
