// Numbers in the options of the relay and terminal commands: whole decimal
// numbers within a range, and durations in milliseconds or in seconds with
// up to three decimals.
#pragma once

#include <string>

namespace orlo::cli {

// A decimal number from first to last, inclusive, digits only; false for
// anything else.
bool parseDecimal(const std::string& text, unsigned long first, unsigned long last,
                  unsigned& value);

// The longest wait any of these commands accepts: one hour.
constexpr unsigned kLongestWaitMs = 3600000;

// Seconds with up to three decimals ("3", "0.5") as milliseconds, from 1 ms
// to kLongestWaitMs.
bool parseSecondsOption(const std::string& text, unsigned& ms);

}  // namespace orlo::cli
