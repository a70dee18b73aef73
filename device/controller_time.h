// The controller's clock: a 32-bit count of seconds since 1970-01-01 00:00
// in the controller's local time, which is UTC + 8 hours, and the message
// that shows such a time.
#pragma once

#include <cstdint>
#include <string>

namespace orlo {

constexpr std::uint32_t kControllerUtcOffsetSeconds = 28800;

// The controller's seconds for a UTC time in seconds since 1970, modulo 2^32.
std::uint32_t controllerSeconds(std::uint64_t utcSeconds);

// A count of seconds since 1970 as a calendar time (proleptic Gregorian, no
// time zone applied). weekday: 0 Sunday to 6 Saturday.
struct CalendarTime {
    unsigned year, month, day, hour, minute, second, weekday;
};
CalendarTime calendarTime(std::uint32_t seconds);

// "模块的当前时间为：2024年1月1日8时0分0秒，星期一" for the given seconds.
std::string moduleTimeText(std::uint32_t seconds);

}  // namespace orlo
