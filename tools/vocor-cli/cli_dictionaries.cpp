// vocor-cli dictionaries: the configuration dialog's Install, Uninstall and
// Activate, each followed by OK: load the lists, change them, and store
// the lists and the active dictionary, all in one transaction that holds
// the store's write lock, so that commands run at once take turns.
#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/charset.h"
#include "settings/settings_store.h"
#include "tools/vocor-cli/cli_search.h"

namespace vocor::cli {
namespace {

std::string PathOf(const CDictionary* d) {
  if (IsUnavailable(*d)) return DictionaryFileName(*d) + " (unavailable)";
  if (auto* set = dynamic_cast<const CDictionarySet*>(d)) {
    std::string ids;
    for (const CDictionary* m : set->members()) {
      ids += (ids.empty() ? "" : ",") + std::to_string(m->id());
    }
    return "members: " + (ids.empty() ? std::string("none") : ids);
  }
  return DictionaryFileName(*d);
}

void PrintRow(const CDictionary* d, const CDictionary* active) {
  std::printf("%s %5d  %-9s %11s %10s  %-6s  %s  %s\n",
              d == active ? "*" : " ", d->id(), d->GetTypeName(),
              FormatCount(d->GetWordCount()).c_str(),
              FormatSize(d->GetSize()).c_str(), d->HasScores() ? "yes" : "no",
              DictionaryShownName(*d).c_str(), PathOf(d).c_str());
}

int List(DictionaryState* state) {
  std::printf("  %5s  %-9s %11s %10s  %-6s  %s  %s\n", "ID", "TYPE", "WORDS",
              "SIZE", "SCORES", "NAME", "PATH");
  PrintRow(state->all_dictionaries(), state->active());
  for (const CDictionary* d : state->all_dictionaries()->members()) {
    PrintRow(d, state->active());
  }
  for (const CDictionary* d : state->all_sets()->members()) {
    PrintRow(d, state->active());
  }
  return kExitOk;
}

const char* Reason(ListsResult result) {
  switch (result) {
    case ListsResult::kBusy:
      return "another program held the settings store too long";
    case ListsResult::kReadOnly:
      return "the settings store is read-only";
    case ListsResult::kUnavailable:
      return "the settings store could not be opened";
    case ListsResult::kChanged:
      return "another program changed the dictionaries meanwhile";
    default:
      return "the settings store failed";
  }
}

int StoreFailed(ListsResult result) {
  std::fprintf(stderr,
               "The settings could not be stored: %s.\n%s\nNothing was "
               "changed.\n",
               Reason(result), SettingsStorePath().c_str());
  return kExitFailure;
}

// Saves the lists and commits the command's transaction.
int Store(DictionaryState* state, SettingsTransaction* transaction) {
  ListsResult result = state->Save();
  if (result == ListsResult::kOk && transaction->Commit()) return kExitOk;
  if (result == ListsResult::kOk) {
    result = ListsResultOf(LastSettingsProblem());
  }
  return StoreFailed(result);
}

int Install(const Options& options, DictionaryState* state,
            SettingsTransaction* transaction) {
  std::vector<const CDictionary*> added;
  for (const auto& path : options.install_paths) {
    std::error_code error;
    const std::string full = std::filesystem::absolute(path, error).string();
    const CDictionary* d = state->Install(error ? path : full);
    if (d == nullptr) {
      std::fprintf(stderr, "Dictionary load failed.\n%s\n", path.c_str());
      return kExitFailure;  // nothing stored
    }
    added.push_back(d);
  }
  if (const int failed = Store(state, transaction)) return failed;
  for (const CDictionary* d : added) {
    std::printf("Installed %d %s\n", d->id(),
                DictionaryShownName(*d).c_str());
  }
  return kExitOk;
}

int Unknown(int id) {
  std::fprintf(stderr, "No installed dictionary or set has the id %d.\n", id);
  return kExitFailure;
}

int Uninstall(const Options& options, DictionaryState* state,
              SettingsTransaction* transaction) {
  for (int id : options.ids) {
    CDictionary* d = CDictionary::FindById(id);
    if (d == nullptr || !state->Uninstall(d)) return Unknown(id);
  }
  return Store(state, transaction);
}

int Activate(const Options& options, DictionaryState* state,
             SettingsTransaction* transaction) {
  const int id = options.ids.front();
  CDictionary* d = CDictionary::FindById(id);
  if (d == state->all_sets()) {
    std::fprintf(stderr,
                 "The id %d is the list of all sets, which cannot be searched. "
                 "Activate \"All Dictionaries\" (0), a set or a "
                 "dictionary.\n",
                 id);
    return kExitFailure;
  }
  if (d != nullptr && IsUnavailable(*d)) {
    std::fprintf(stderr,
                 "The dictionary %d cannot be searched: its file could not be "
                 "opened.\n%s\n",
                 id, DictionaryFileName(*d).c_str());
    return kExitFailure;
  }
  if (d == nullptr || !state->SetActive(d)) return Unknown(id);
  return Store(state, transaction);
}

// Changes the lists: load, change and save under the store's write lock.
int Change(const Options& options, DictionaryState* state) {
  SettingsTransaction transaction;
  if (!transaction.ok()) {
    return StoreFailed(ListsResultOf(LastSettingsProblem()));
  }
  if (const int failed = LoadInstalled(state)) return failed;
  switch (options.command) {
    case Command::kDictionariesInstall:
      return Install(options, state, &transaction);
    case Command::kDictionariesUninstall:
      return Uninstall(options, state, &transaction);
    default:
      return Activate(options, state, &transaction);
  }
}

}  // namespace

int LoadInstalled(DictionaryState* state) {
  state->LoadDictionaries();
  if (!state->loaded()) {
    std::fprintf(stderr,
                 "The settings could not be read: %s.\n%s\nNothing was "
                 "changed.\n",
                 Reason(state->load_result()), SettingsStorePath().c_str());
    return kExitFailure;
  }
  for (const std::string& file : state->unopened_files()) {
    std::fprintf(stderr,
                 "Warning: the installed dictionary %s could not be opened; "
                 "it stays installed but is not searched.\n",
                 file.c_str());
  }
  return kExitOk;
}

int RunDictionaries(const Options& options, DictionaryState* state) {
  if (options.command != Command::kDictionariesList) {
    return Change(options, state);
  }
  if (const int failed = LoadInstalled(state)) return failed;
  return List(state);
}

}  // namespace vocor::cli
