// Test support: a private home for one test. Points HOME, XDG_CONFIG_HOME,
// XDG_RUNTIME_DIR and TMPDIR at fresh folders inside a new temporary folder
// (made under the TMPDIR in effect), and on destruction puts the variables
// back and removes the folder.
#ifndef VOCOR_SETTINGS_SCRATCH_HOME_H_
#define VOCOR_SETTINGS_SCRATCH_HOME_H_

#include <stdlib.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace vocor {

class ScratchHome {
 public:
  ScratchHome() {
    const char* tmp = getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") +
        "/vocor-settings-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) abort();  // Nothing safe to do.
    root_ = pattern;
    for (size_t i = 0; i < kVariables.size(); ++i) {
      const char* old = getenv(kVariables[i]);
      if (old != nullptr) saved_[i] = old;
      std::string folder = root_ + "/" + kFolders[i];
      std::error_code error;
      std::filesystem::create_directories(folder, error);
      setenv(kVariables[i], folder.c_str(), 1);
    }
  }

  ~ScratchHome() {
    for (size_t i = 0; i < kVariables.size(); ++i) {
      if (saved_[i]) {
        setenv(kVariables[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kVariables[i]);
      }
    }
    std::error_code error;
    std::filesystem::remove_all(root_, error);
  }

  ScratchHome(const ScratchHome&) = delete;
  ScratchHome& operator=(const ScratchHome&) = delete;

  // The temporary folder holding everything; HOME is root() + "/home".
  const std::string& root() const { return root_; }

 private:
  static constexpr std::array<const char*, 4> kVariables = {
      "HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "TMPDIR"};
  static constexpr std::array<const char*, 4> kFolders = {
      "home", "home/.config", "run", "tmp"};

  std::string root_;
  std::array<std::optional<std::string>, 4> saved_;
};

}  // namespace vocor

#endif  // VOCOR_SETTINGS_SCRATCH_HOME_H_
