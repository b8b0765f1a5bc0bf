#include "dictionary/icu_runtime.h"

#include <dlfcn.h>
#include <unicode/uvernum.h>

namespace vocor {
namespace {

// ICU renames its functions by version (u_tolower is u_tolower_72), with
// macros from its headers: spelled through them, a name is the one the
// library exports.
#define VOCOR_ICU_NAME_OF(function) VOCOR_ICU_QUOTE(function)
#define VOCOR_ICU_QUOTE(name) #name

template <typename Function>
bool Find(void* library, const char* name, Function* function) {
  *function = reinterpret_cast<Function>(::dlsym(library, name));
  return *function != nullptr;
}

const IcuRuntime* Load() {
  void* library = ::dlopen("libicuuc.so." U_ICU_VERSION_SHORT,
                           RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return nullptr;
  static IcuRuntime icu;
  const bool found =
      Find(library, VOCOR_ICU_NAME_OF(unorm2_getNFCInstance),
           &icu.get_nfc_instance) &&
      Find(library, VOCOR_ICU_NAME_OF(unorm2_isNormalized),
           &icu.is_normalized) &&
      Find(library, VOCOR_ICU_NAME_OF(unorm2_normalize), &icu.normalize) &&
      Find(library, VOCOR_ICU_NAME_OF(u_strFromUTF8), &icu.from_utf8) &&
      Find(library, VOCOR_ICU_NAME_OF(u_strToUTF8), &icu.to_utf8) &&
      Find(library, VOCOR_ICU_NAME_OF(u_tolower), &icu.to_lower) &&
      Find(library, VOCOR_ICU_NAME_OF(uloc_getLocaleForLCID),
           &icu.locale_for_lcid) &&
      Find(library, VOCOR_ICU_NAME_OF(uloc_getISO3Language),
           &icu.iso3_language);
  // The library stays loaded for the process's life either way.
  return found ? &icu : nullptr;
}

}  // namespace

const IcuRuntime* Icu() {
  static const IcuRuntime* const icu = Load();
  return icu;
}

}  // namespace vocor
