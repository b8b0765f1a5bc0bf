// ICU, loaded when first asked for. A command-line search starts in about
// half the time without it: loading and relocating the library and the C++
// runtime it brings costs about a millisecond, and plain ASCII input never
// needs it. The window loads ICU anyway (Qt links it); asking here then
// finds it in place.
#ifndef VOCOR_DICTIONARY_ICU_RUNTIME_H_
#define VOCOR_DICTIONARY_ICU_RUNTIME_H_

#include <unicode/uchar.h>
#include <unicode/uloc.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

namespace vocor {

// The few ICU functions the core uses. Their types come from ICU's own
// headers, so a mismatch with the library built against cannot compile.
struct IcuRuntime {
  decltype(&::unorm2_getNFCInstance) get_nfc_instance;
  decltype(&::unorm2_isNormalized) is_normalized;
  decltype(&::unorm2_normalize) normalize;
  decltype(&::u_strFromUTF8) from_utf8;
  decltype(&::u_strToUTF8) to_utf8;
  decltype(&::u_tolower) to_lower;
  decltype(&::uloc_getLocaleForLCID) locale_for_lcid;
  decltype(&::uloc_getISO3Language) iso3_language;
};

// The functions of the ICU the program was built with, loaded on the first
// call (thread-safe). Null when the library or one of them cannot be
// found: callers then leave text as it is. The result lives as long as the
// process.
const IcuRuntime* Icu();

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_ICU_RUNTIME_H_
