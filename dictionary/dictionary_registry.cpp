// Settings persistence shared by every kind of dictionary.
#include "dictionary/dictionary.h"
#include "dictionary/text_file_dictionary.h"
#include "settings/settings_store.h"

namespace vocor {

bool CDictionary::LoadFromRegistry(int root, const char* key_path) {
  uint32_t stored = 0;
  if (!ReadRegDword(root, key_path, "ID", &stored)) return false;
  // An id outside the range ids are taken from (a hand-edited store, or
  // one written after a counter wrapped) is not worth losing the
  // dictionary over: the object keeps its fresh id, and the next save
  // stores that. So does an id held by another live object (a damaged
  // store): it stays with its first holder.
  if (IsValidId(stored)) AdoptStoredId(static_cast<int>(stored));
  return true;
}

bool CDictionary::SaveToRegistry(int root, const char* key_path) const {
  const bool type_written =
      WriteRegString(root, key_path, "Type", GetTypeName());
  const bool id_written =
      WriteRegDword(root, key_path, "ID", static_cast<uint32_t>(id_));
  return type_written && id_written;
}

bool CDictionaryTextFile::LoadFromRegistry(int root, const char* key_path) {
  const bool base_read = CDictionary::LoadFromRegistry(root, key_path);
  std::string path;
  const bool path_read = ReadRegString(root, key_path, "FileName", &path);
  if (path_read) SetFileName(path.c_str());
  return base_read && path_read;
}

bool CDictionaryTextFile::SaveToRegistry(int root, const char* key_path) const {
  const bool base_written = CDictionary::SaveToRegistry(root, key_path);
  return WriteRegString(root, key_path, "FileName", text_.c_str()) &&
         base_written;
}

}  // namespace vocor
