// Tests only: another process installs a dictionary and saves the lists,
// as a second copy of the program would while this one holds its own.
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
// lists, installs `path` and saves. Returns whether the child's save
// succeeded. Closes this process's store connection first, since a forked
// child must not share it.
inline bool InstallInAnotherProcess(const std::string& path,
                                    const std::function<void()>& before = {}) {
  if (!CloseSettingsStore()) return false;
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    if (before) before();
    DictionaryState other;
    other.LoadDictionaries();
    const bool saved = other.Install(path) != nullptr &&
                       other.Save() == ListsResult::kOk;
    CloseSettingsStore();
    ::_exit(saved ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace vocor::testing

#endif  // VOCOR_DICTIONARY_TESTING_INSTALL_ELSEWHERE_H_
