// Where the dictionaries shipped with the programs are found. A build tree
// keeps them beside the programs (bin/Data, bin/Languages); an installed
// tree keeps them in share/vocor/ beside bin/. Both are found relative to
// the program's own folder, so an installed tree still works after it is
// moved to another prefix: no absolute path is compiled in.
#ifndef VOCOR_DICTIONARY_SHIPPED_FOLDERS_H_
#define VOCOR_DICTIONARY_SHIPPED_FOLDERS_H_

#include <string>
#include <string_view>

namespace vocor {

// The dictionaries offered at first run.
inline constexpr char kDataFolderName[] = "Data";
// Dictionaries of further languages, installed only on request.
inline constexpr char kLanguagesFolderName[] = "Languages";

// The folder holding the running program, from /proc/self/exe; empty when
// it cannot be read.
std::string ProgramFolder();

// The shipped folder `name` for a program in `program_folder`: the first
// of `program_folder`/name and `program_folder`/../share/vocor/name that is
// a directory. When neither is, the one beside the program, so that
// messages name the place a build tree would use.
std::string FindShippedFolder(const std::string& program_folder,
                              std::string_view name);

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_SHIPPED_FOLDERS_H_
