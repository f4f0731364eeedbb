// The built-in values and functions that SEJA offers, and the random
// generator. Pure functions of their inputs, so each is tested from literals.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/runtime.h"
#include "platform/clock.h"

namespace tamiral {

// The parameter count, then each parameter after a space with its spaces
// written as %20.
std::string paramsText(const std::vector<std::string>& params);

std::string dateText(const DateTime& t);      // DD/MM/YYYY
std::string timeText(const DateTime& t);      // HH:MM:SS
std::string_view weekdayName(int weekday);    // 0 = Sunday
TimeReference timeReferenceAt(const DateTime& t);
// Hundredths of a second since the reference, across midnight for a week.
int32_t hundredthsSince(const TimeReference& reference, const DateTime& now);

// One draw with bound n: 0..n-1 for n >= 1, 0 for n = 0.
int32_t drawRandom(uint32_t& seed, int32_t bound);
uint32_t seedFromTimeOfDay(const DateTime& utc);

// Position from 1 of needle in haystack; 0 when absent or needle empty.
int32_t positionOf(std::string_view needle, std::string_view haystack);
// The n-th space-separated word (n >= 1).
std::string wordAt(int32_t n, std::string_view text);
// The character a key text such as "#65" or "010#65" names; empty otherwise.
std::string characterOfKeyText(std::string_view key);
// "#" and the code of a one-character text; empty otherwise.
std::string keyTextOfCharacter(std::string_view text);

}  // namespace tamiral
