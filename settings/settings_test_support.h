// Test support shared by the settings tests.
#ifndef VOCOR_SETTINGS_SETTINGS_TEST_SUPPORT_H_
#define VOCOR_SETTINGS_SETTINGS_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/scratch_home.h"
#include "settings/settings_store.h"

namespace vocor {

// Each test gets a home of its own, and leaves no connection open on it.
class SettingsTest : public ::testing::Test {
 protected:
  ~SettingsTest() override { CloseSettingsStore(); }

  ScratchHome home_;
};

// The subkey names of `path` in enumeration order (opening `path` creates
// it, as every open does).
inline std::vector<std::string> Subkeys(const char* path) {
  std::vector<std::string> names;
  std::unique_ptr<SettingsKey> key = OpenSettingsKey(kCurrentUser, path);
  if (key == nullptr) return {"<open failed>"};
  std::string name;
  for (int i = 0; key->SubkeyName(i, &name); ++i) names.push_back(name);
  return names;
}

// The value as read, or nullopt when the read failed.
inline std::optional<uint32_t> DwordAt(const char* key, const char* name) {
  uint32_t value = 0;
  if (!ReadRegDword(kCurrentUser, key, name, &value)) return std::nullopt;
  return value;
}

inline std::optional<std::string> TextAt(const char* key, const char* name) {
  std::string text;
  if (!ReadRegString(kCurrentUser, key, name, &text)) return std::nullopt;
  return text;
}

}  // namespace vocor

#endif  // VOCOR_SETTINGS_SETTINGS_TEST_SUPPORT_H_
