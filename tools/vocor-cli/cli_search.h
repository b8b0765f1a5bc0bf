// The searches and dictionary commands of vocor-cli.
#ifndef VOCOR_TOOLS_VOCOR_CLI_CLI_SEARCH_H_
#define VOCOR_TOOLS_VOCOR_CLI_CLI_SEARCH_H_

#include "dictionary/dictionary_state.h"
#include "tools/vocor-cli/cli_options.h"

namespace vocor::cli {

// Runs the search that `options` describes over the chosen dictionaries
// and prints the results. Returns the exit code.
int RunSearch(const Options& options, DictionaryState* state);

// The "dictionaries" commands. Returns the exit code.
int RunDictionaries(const Options& options, DictionaryState* state);

// Loads the installed lists, warning on stderr about stored dictionaries
// whose files could not be opened. Returns 0, or kExitFailure (with a
// message) when the lists could not be read.
int LoadInstalled(DictionaryState* state);

// The folder of shipped dictionaries: beside the running program in a
// build tree, in ../share/vocor/ when installed.
std::string DataFolder();

}  // namespace vocor::cli

#endif  // VOCOR_TOOLS_VOCOR_CLI_CLI_SEARCH_H_
