// Tests only: another process changes the lists (installs a dictionary,
// activates one) and saves them, as a second copy of the program or
// vocor-cli would while this one holds its own.
#ifndef VOCOR_DICTIONARY_TESTING_INSTALL_ELSEWHERE_H_
#define VOCOR_DICTIONARY_TESTING_INSTALL_ELSEWHERE_H_

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "dictionary/dictionary_state.h"
#include "settings/settings_store.h"

namespace vocor::testing {

// Forks a child that runs `before` (to drop what it inherited), loads the
// lists, runs `change` on them and saves. Returns whether `change` and the
// child's save succeeded. Closes this process's store connection first,
// since a forked child must not share it.
inline bool ChangeInAnotherProcess(
    const std::function<bool(DictionaryState*)>& change,
    const std::function<void()>& before = {}) {
  if (!CloseSettingsStore()) return false;
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    if (before) before();
    DictionaryState other;
    other.LoadDictionaries();
    const bool saved = change(&other) && other.Save() == ListsResult::kOk;
    CloseSettingsStore();
    ::_exit(saved ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Another process installs `path` and saves.
inline bool InstallInAnotherProcess(const std::string& path,
                                    const std::function<void()>& before = {}) {
  return ChangeInAnotherProcess(
      [&path](DictionaryState* other) {
        return other->Install(path) != nullptr;
      },
      before);
}

}  // namespace vocor::testing

#endif  // VOCOR_DICTIONARY_TESTING_INSTALL_ELSEWHERE_H_
