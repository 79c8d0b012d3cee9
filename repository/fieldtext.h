#pragma once
// Conversions of stored field values to integers, shared by the field getters and
// by code that reads such values from other sources (import, command line).

#include <string>

// Decimal reading: leading blanks and a sign allowed, stops at the first
// non-digit, no digits give 0, values beyond 32 bits give INT_MAX or INT_MIN.
int ParseFieldInt(const std::string& text);

// Truncates toward zero; beyond 32 bits gives INT_MAX or INT_MIN, NaN gives 0.
int TruncateToInt(double value);
