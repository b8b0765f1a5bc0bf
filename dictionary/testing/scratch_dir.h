// A temporary folder for one test, removed with everything in it when the
// object goes. Created under $TMPDIR (which the test runner points at a
// scratch folder), never under the user's home.
#ifndef VOCOR_DICTIONARY_TESTING_SCRATCH_DIR_H_
#define VOCOR_DICTIONARY_TESTING_SCRATCH_DIR_H_

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace vocor::testing {

class ScratchDir {
 public:
  ScratchDir() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
        "/vocor-test-XXXXXX";
    std::filesystem::create_directories(
        std::filesystem::path(pattern).parent_path());
    path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : "";
  }
  ~ScratchDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }

  // Writes `bytes` to a file of that name in the folder; returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string file = path_ + "/" + name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
  }

 private:
  std::string path_;
};

}  // namespace vocor::testing

#endif  // VOCOR_DICTIONARY_TESTING_SCRATCH_DIR_H_
