// Parsing of the dictionary compiler's numeric arguments.
#ifndef VOCOR_COMPILER_ARGUMENTS_H_
#define VOCOR_COMPILER_ARGUMENTS_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace vocor {

// Parses a dictionary version "X", "X.Y" or "X.YY" (decimal digits only)
// into hundredths: "1.50" and "1.5" give 150, "2" gives 200. Returns false
// for anything else, including a third decimal and values whose hundredths
// do not fit a signed 32-bit int.
bool ParseDictionaryVersion(std::string_view text, int32_t* hundredths);

// Parses a Windows locale id: decimal digits, or "0x" / "0X" followed by
// hexadecimal digits. Returns false for anything else or a value beyond 32
// bits.
bool ParseLanguageId(std::string_view text, uint32_t* lcid);

// Parses a list's score "FILE=N" (vocor-mkdic --score): the path before
// the last '=' (not empty; it may hold '=' itself) and a whole number N
// from kMinScore to kMaxScore after it. Returns false for anything else.
bool ParseScoredList(std::string_view text, std::string* path, int* score);

}  // namespace vocor

#endif  // VOCOR_COMPILER_ARGUMENTS_H_
