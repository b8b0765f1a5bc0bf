// vocor-cli define: the entries of the dictionary-server databases on the
// machine for one word, as plain text wrapped to the terminal.
#ifndef VOCOR_TOOLS_VOCOR_CLI_CLI_DEFINE_H_
#define VOCOR_TOOLS_VOCOR_CLI_CLI_DEFINE_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "definitions/definitions.h"
#include "tools/vocor-cli/cli_options.h"

namespace vocor::cli {

// Exit codes of define beyond kExitOk and kExitFailure (usage, or no
// database installed at all).
constexpr int kExitNotDefined = 1;  // no chosen database holds the word
constexpr int kExitNoDatabase = 2;  // none installed (kExitFailure)
constexpr int kExitDamaged = 3;     // the chosen ones could not be read

// Looks the word up and prints what was found. Returns the exit code.
int RunDefine(const Options& options);

// `text` with every line longer than `width` characters broken at spaces;
// a continued line keeps the indentation of the line it continues. A word
// longer than a line is left whole. Characters are counted as code points.
std::string WrapText(std::string_view text, size_t width);

// The found entries, each database headed by "From TITLE [NAME]:", the
// entries indented by two spaces and wrapped to `width`.
std::string FormatDefinitions(const DefinitionLookup& lookup, size_t width);

// The width to wrap to: COLUMNS when it is a number from 20 up, else the
// terminal's width when standard output is one, else 80.
size_t OutputWidth();

}  // namespace vocor::cli

#endif  // VOCOR_TOOLS_VOCOR_CLI_CLI_DEFINE_H_
