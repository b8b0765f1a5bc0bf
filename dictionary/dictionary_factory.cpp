// The two ways dictionaries come into being: from a stored description,
// and from a file the user picks.
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "dictionary/dictionary_set.h"
#include "dictionary/file_image.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_check.h"
#include "dictionary/vocor_file_dictionary.h"
#include "dictionary/vocor_format.h"
#include "engine/charset.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

std::unique_ptr<CDictionary> MakeByType(const std::string& type) {
  if (type == "Set") return std::make_unique<CDictionarySet>();
  if (type == "TextFile") return std::make_unique<CDictionaryTextFile>();
  if (type == "VocorFile") return std::make_unique<CDictionaryVocorFile>();
  return nullptr;
}

// Whether the file starts with the binary dictionary's magic.
bool HasVocorMagic(const char* path) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  char head[kVocorMagicSize];
  const ssize_t n = ::read(fd, head, sizeof head);
  ::close(fd);
  return n == static_cast<ssize_t>(sizeof head) &&
         std::memcmp(head, kVocorMagic, kVocorMagicSize) == 0;
}

}  // namespace

std::string DictionaryFileName(const CDictionary& dictionary) {
  if (auto* text = dynamic_cast<const CDictionaryTextFile*>(&dictionary)) {
    return text->GetFileName();
  }
  if (auto* binary = dynamic_cast<const CDictionaryVocorFile*>(&dictionary)) {
    return binary->GetFileName();
  }
  return std::string();
}

bool IsUnavailable(const CDictionary& dictionary) {
  return dynamic_cast<const CDictionarySet*>(&dictionary) == nullptr &&
         !dictionary.IsOpen();
}

std::string DictionaryShownName(const CDictionary& dictionary) {
  if (IsUnavailable(dictionary) ||
      dynamic_cast<const CDictionaryTextFile*>(&dictionary) != nullptr) {
    return std::filesystem::path(DictionaryFileName(dictionary))
        .filename()
        .string();
  }
  return EngineToUtf8(dictionary.GetName());
}

std::unique_ptr<CDictionary> LoadDictionaryFromRegistry(int root,
                                                        const char* key_path) {
  std::string type;
  if (!ReadRegString(root, key_path, "Type", &type)) return nullptr;
  std::unique_ptr<CDictionary> dictionary = MakeByType(type);
  if (dictionary == nullptr) return nullptr;
  if (!dictionary->LoadFromRegistry(root, key_path)) return nullptr;
  return dictionary;
}

std::unique_ptr<CDictionary> CreateDictionaryFromRegistry(
    int root, const char* key_path, std::string* unopened) {
  std::unique_ptr<CDictionary> dictionary =
      LoadDictionaryFromRegistry(root, key_path);
  if (dictionary == nullptr) return nullptr;
  if (!dictionary->Open()) {
    if (unopened != nullptr) *unopened = DictionaryFileName(*dictionary);
    return nullptr;
  }
  return dictionary;
}

bool PassesInstallCheck(const CDictionary& dictionary) {
  if (dynamic_cast<const CDictionaryVocorFile*>(&dictionary) == nullptr) {
    return true;
  }
  std::shared_ptr<const FileImage> image =
      FileImage::Read(DictionaryFileName(dictionary), kMaxDictionaryFileSize);
  if (image == nullptr) return false;
  VocorFileFacts facts;
  std::string reason;
  return CheckVocorFile(std::string_view(image->data(), image->size()), &facts,
                        &reason);
}

std::unique_ptr<CDictionary> OpenDictionaryFile(const char* path) {
  auto binary = std::make_unique<CDictionaryVocorFile>();
  binary->SetFileName(path);
  if (binary->Open()) return binary;
  binary.reset();
  // A damaged binary dictionary is not a word list of its bytes.
  if (HasVocorMagic(path)) return nullptr;
  auto text = std::make_unique<CDictionaryTextFile>();
  text->SetFileName(path);
  if (text->Open()) return text;
  return nullptr;
}

}  // namespace vocor
