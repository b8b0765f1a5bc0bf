// Standard output of the command-line tools, with every write checked. A full
// disk, a closed descriptor or an I/O error must never pass for success: the
// first failure is remembered, later writes are skipped, and FinishOutput turns
// it into a message and the failure exit code.
#ifndef VOCOR_TOOLS_COMMON_CHECKED_OUTPUT_H_
#define VOCOR_TOOLS_COMMON_CHECKED_OUTPUT_H_

#include <string_view>

namespace vocor::tools {

// Makes sure descriptors 0, 1 and 2 are taken before anything else is
// opened: with one of them closed, the next file opened (the settings
// database, a dictionary) would take its number and receive the output.
// A closed standard output is replaced by a descriptor that refuses every
// write, so that the failure is seen and reported.
void ReserveStandardDescriptors();

// Writes `bytes` to standard output. Returns false, writing nothing, once
// any write has failed.
bool WriteOutput(std::string_view bytes);

// Whether a write to standard output has failed so far.
bool OutputFailed();

// Flushes standard output, whoever wrote to it (stdio calls included).
// Returns `code` when everything reached its destination. Otherwise
// prints why on stderr, after `program` and a colon, and returns
// `failure_code`, except for a reader that went away (a closed pipe, as
// with `| head`), which ends quietly with `code`.
int FinishOutput(const char* program, int code, int failure_code);

}  // namespace vocor::tools

#endif  // VOCOR_TOOLS_COMMON_CHECKED_OUTPUT_H_
