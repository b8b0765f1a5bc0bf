// vocor-cli dictionaries: the configuration dialog's Install, Uninstall and
// Activate, each followed by OK: load the lists, change them, and store
// the lists and the active dictionary in one transaction.
#include <cstdio>
#include <filesystem>
#include <string>

#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/charset.h"
#include "tools/vocor-cli/cli_search.h"

namespace vocor::cli {
namespace {

std::string PathOf(const CDictionary* d) {
  if (auto* text = dynamic_cast<const CDictionaryTextFile*>(d)) {
    return text->GetFileName();
  }
  if (auto* binary = dynamic_cast<const CDictionaryVocorFile*>(d)) {
    return binary->GetFileName();
  }
  if (auto* set = dynamic_cast<const CDictionarySet*>(d)) {
    std::string ids;
    for (const CDictionary* m : set->members()) {
      ids += (ids.empty() ? "" : ",") + std::to_string(m->id());
    }
    return "members: " + (ids.empty() ? std::string("none") : ids);
  }
  return "";
}

void PrintRow(const CDictionary* d, const CDictionary* active) {
  std::printf("%s %5d  %-9s %11s %10s  %s  %s\n", d == active ? "*" : " ",
              d->id(), d->GetTypeName(), FormatCount(d->GetWordCount()).c_str(),
              FormatSize(d->GetSize()).c_str(),
              EngineToUtf8(d->GetName()).c_str(), PathOf(d).c_str());
}

int List(DictionaryState* state) {
  std::printf("  %5s  %-9s %11s %10s  %s  %s\n", "ID", "TYPE", "WORDS", "SIZE",
              "NAME", "PATH");
  PrintRow(state->all_dictionaries(), state->active());
  for (const CDictionary* d : state->all_dictionaries()->members()) {
    PrintRow(d, state->active());
  }
  for (const CDictionary* d : state->all_sets()->members()) {
    PrintRow(d, state->active());
  }
  return kExitOk;
}

int Store(DictionaryState* state) {
  if (state->SaveDictionaries()) return kExitOk;
  std::fprintf(stderr, "The settings could not be stored.\n");
  return kExitFailure;
}

int Install(const Options& options, DictionaryState* state) {
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
  if (const int failed = Store(state)) return failed;
  for (const CDictionary* d : added) {
    std::printf("Installed %d %s\n", d->id(),
                EngineToUtf8(d->GetName()).c_str());
  }
  return kExitOk;
}

int Unknown(int id) {
  std::fprintf(stderr, "No installed dictionary or set has the id %d.\n", id);
  return kExitFailure;
}

int Uninstall(const Options& options, DictionaryState* state) {
  for (int id : options.ids) {
    CDictionary* d = CDictionary::FindById(id);
    if (d == nullptr || !state->Uninstall(d)) return Unknown(id);
  }
  return Store(state);
}

bool IsKnown(const DictionaryState& state, const CDictionary* d) {
  return d == state.all_dictionaries() || d == state.all_sets() ||
         state.all_dictionaries()->Owns(d) || state.all_sets()->Owns(d);
}

int Activate(const Options& options, DictionaryState* state) {
  CDictionary* d = CDictionary::FindById(options.ids.front());
  if (d == nullptr || !IsKnown(*state, d)) return Unknown(options.ids.front());
  state->SetActive(d);
  return Store(state);
}

}  // namespace

int RunDictionaries(const Options& options, DictionaryState* state) {
  state->LoadDictionaries();
  switch (options.command) {
    case Command::kDictionariesInstall:
      return Install(options, state);
    case Command::kDictionariesUninstall:
      return Uninstall(options, state);
    case Command::kDictionariesActivate:
      return Activate(options, state);
    default:
      return List(state);
  }
}

}  // namespace vocor::cli
