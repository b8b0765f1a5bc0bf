#include "definitions/definitions.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "definitions/dict_database.h"
#include "dictionary/icu_runtime.h"

namespace vocor {

namespace {

constexpr char kIndexSuffix[] = ".index";
// Windows locale ids: the primary language is in the low ten bits.
constexpr uint32_t kPrimaryLanguageMask = 0x3ff;
constexpr uint32_t kEnglish = 0x09;
constexpr const char* kEnglishDatabases[] = {"gcide", "wn"};

// The ISO 639-3 code of a Windows locale id's language ("fra"), or "".
std::string Iso3LanguageOf(uint32_t lcid) {
  const IcuRuntime* icu = Icu();
  if (icu == nullptr) return {};
  char locale[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  icu->locale_for_lcid(lcid, locale, sizeof locale, &status);
  if (U_FAILURE(status)) return {};
  return icu->iso3_language(locale);
}

bool HasName(const std::vector<DatabaseFiles>& available,
             const std::string& name) {
  return std::any_of(available.begin(), available.end(),
                     [&](const DatabaseFiles& f) { return f.name == name; });
}

// The data file beside an index: NAME.dict.dz, else NAME.dict.
std::filesystem::path DataFileOf(const std::filesystem::path& folder,
                                 const std::string& name) {
  std::error_code error;
  const std::filesystem::path packed = folder / (name + ".dict.dz");
  if (std::filesystem::is_regular_file(packed, error)) return packed;
  const std::filesystem::path plain = folder / (name + ".dict");
  if (std::filesystem::is_regular_file(plain, error)) return plain;
  return {};
}

void AddDatabasesOf(const std::filesystem::path& folder,
                    std::vector<DatabaseFiles>* found) {
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end;
       !error && it != end; it.increment(error)) {
    const std::string file = it->path().filename().string();
    if (!file.ends_with(kIndexSuffix) || file.size() == sizeof kIndexSuffix - 1)
      continue;
    const std::string name = file.substr(0, file.size() - (sizeof kIndexSuffix - 1));
    if (HasName(*found, name)) continue;
    std::filesystem::path data = DataFileOf(folder, name);
    if (data.empty()) continue;
    found->push_back({name, it->path(), std::move(data)});
  }
}

}  // namespace

std::vector<std::filesystem::path> SystemDatabaseFolders() {
  return {"/usr/share/dictd"};
}

std::vector<DatabaseFiles> FindDatabases(
    const std::vector<std::filesystem::path>& folders) {
  std::vector<DatabaseFiles> found;
  for (const std::filesystem::path& folder : folders) {
    AddDatabasesOf(folder, &found);
  }
  std::sort(found.begin(), found.end(),
            [](const DatabaseFiles& a, const DatabaseFiles& b) {
              return a.name < b.name;
            });
  return found;
}

std::vector<std::string> DefaultDatabases(
    uint32_t language, const std::vector<DatabaseFiles>& available) {
  std::vector<std::string> names;
  const uint32_t primary = language & kPrimaryLanguageMask;
  if (language == 0 || primary == kEnglish) {
    for (const char* name : kEnglishDatabases) names.push_back(name);
  } else {
    const std::string code = Iso3LanguageOf(language);
    if (!code.empty()) names.push_back("freedict-" + code + "-eng");
  }
  std::erase_if(names, [&](const std::string& name) {
    return !HasName(available, name);
  });
  return names;
}

std::string NoDatabaseAdvice() {
  return "No dictionary databases are installed. On Debian and Ubuntu, the\n"
         "packages dict-gcide and dict-wn give English definitions, and\n"
         "dict-freedict-fra-eng, dict-freedict-deu-eng and the other\n"
         "dict-freedict-*-eng packages give the English meaning of words\n"
         "of other languages:\n"
         "    sudo apt install dict-gcide dict-wn dict-freedict-fra-eng\n";
}

// A database asked for at least once: open, or refused with a reason
// (kept, so that a damaged file is not read again on every look-up).
struct DefinitionLibrary::Slot {
  std::unique_ptr<DictDatabase> database;
  std::string error;
};

DefinitionLibrary::DefinitionLibrary(std::vector<std::filesystem::path> folders)
    : folders_(std::move(folders)) {}

DefinitionLibrary::~DefinitionLibrary() = default;

void DefinitionLibrary::AddFolder(const std::filesystem::path& folder) {
  std::lock_guard lock(mutex_);
  folders_.push_back(folder);
  listed_ = false;
}

void DefinitionLibrary::ListFolders() {
  if (listed_) return;
  found_ = FindDatabases(folders_);
  listed_ = true;
}

std::vector<DatabaseFiles> DefinitionLibrary::Databases() {
  std::lock_guard lock(mutex_);
  ListFolders();
  return found_;
}

DefinitionLibrary::Slot* DefinitionLibrary::OpenSlot(const std::string& name) {
  if (auto it = open_.find(name); it != open_.end()) return it->second.get();
  ListFolders();
  const auto files =
      std::find_if(found_.begin(), found_.end(),
                   [&](const DatabaseFiles& f) { return f.name == name; });
  if (files == found_.end()) return nullptr;
  auto slot = std::make_unique<Slot>();
  slot->database = DictDatabase::Open(*files, &slot->error);
  return open_.emplace(name, std::move(slot)).first->second.get();
}

std::string DefinitionLibrary::Title(const std::string& name) {
  std::lock_guard lock(mutex_);
  const Slot* slot = OpenSlot(name);
  return slot && slot->database ? slot->database->title() : name;
}

DefinitionLookup DefinitionLibrary::Lookup(
    std::string_view word, const std::vector<std::string>& databases) {
  std::lock_guard lock(mutex_);
  DefinitionLookup result;
  for (const std::string& name : databases) {
    Slot* slot = OpenSlot(name);
    if (slot == nullptr) {
      result.errors.push_back(name + ": no such database");
      continue;
    }
    if (!slot->database) {
      result.errors.push_back(slot->error);
      continue;
    }
    DatabaseEntries entries{name, slot->database->title(), {}};
    std::string error;
    if (!slot->database->Lookup(word, &entries.entries, &error)) {
      result.errors.push_back(error);
    } else if (!entries.entries.empty()) {
      result.found.push_back(std::move(entries));
    }
  }
  return result;
}

}  // namespace vocor
