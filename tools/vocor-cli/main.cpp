// vocor-cli: the command-line searcher. It runs the same requests and
// search runs as the window, over the same installed dictionaries.
#include "dictionary/dictionary_state.h"
#include "settings/settings_store.h"
#include "tools/common/checked_output.h"
#include "tools/vocor-cli/cli_define.h"
#include "tools/vocor-cli/cli_options.h"
#include "tools/vocor-cli/cli_search.h"

int main(int argc, char** argv) {
  vocor::tools::ReserveStandardDescriptors();
  // First dictionary objects of the process: the containers get ids 0, 1.
  vocor::DictionaryState state;
  vocor::cli::Options options;
  int code = vocor::cli::ParseOptions(argc, argv, &options);
  if (code < 0) {
    if (options.command == vocor::cli::Command::kDefine) {
      code = vocor::cli::RunDefine(options);
    } else {
      code = vocor::cli::IsSearch(options.command)
                 ? vocor::cli::RunSearch(options, &state)
                 : vocor::cli::RunDictionaries(options, &state);
    }
  }
  vocor::CloseSettingsStore();
  // Every command's output, the dictionary listings' included, is checked
  // here, once it is all written.
  return vocor::tools::FinishOutput("vocor-cli", code,
                                    vocor::cli::kExitFailure);
}
