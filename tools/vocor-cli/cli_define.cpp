#include "tools/vocor-cli/cli_define.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tools/common/checked_output.h"

namespace vocor::cli {

namespace {

constexpr size_t kDefaultWidth = 80;
constexpr size_t kNarrowestWidth = 20;
constexpr char kIndent[] = "  ";

// The number of code points in `text` (continuation bytes not counted).
size_t Characters(std::string_view text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
  }));
}

// The byte position after `count` code points of `text`, or its size.
size_t BytesOf(std::string_view text, size_t count) {
  size_t at = 0;
  for (size_t seen = 0; at < text.size(); ++at) {
    if ((static_cast<unsigned char>(text[at]) & 0xc0) != 0x80 &&
        seen++ == count) {
      break;
    }
  }
  return at;
}

void WrapLine(std::string_view line, size_t width, std::string* out) {
  const size_t text_start = line.find_first_not_of(' ');
  const std::string margin(line.substr(0, std::min(text_start, line.size())));
  std::string rest(line);
  while (text_start != std::string_view::npos && Characters(rest) > width) {
    // The last space within the width, else (a word longer than the line)
    // the first space after the word.
    size_t cut = rest.rfind(' ', BytesOf(rest, width));
    if (cut == std::string::npos || cut < margin.size()) {
      cut = rest.find(' ', margin.size());
    }
    if (cut == std::string::npos) break;
    out->append(rest, 0, cut);
    out->push_back('\n');
    const size_t next = rest.find_first_not_of(' ', cut);
    if (next == std::string::npos) return;
    rest = margin + rest.substr(next);
  }
  out->append(rest);
  out->push_back('\n');
}

std::vector<std::string> ChosenDatabases(const Options& options,
                                         const std::vector<DatabaseFiles>& all) {
  if (!options.databases.empty()) return options.databases;
  // English first, then the others by name.
  std::vector<std::string> names = DefaultDatabases(0, all);
  for (const DatabaseFiles& files : all) {
    if (std::find(names.begin(), names.end(), files.name) == names.end()) {
      names.push_back(files.name);
    }
  }
  return names;
}

}  // namespace

std::string WrapText(std::string_view text, size_t width) {
  std::string out;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    WrapLine(text.substr(0, end), width, &out);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return out;
}

std::string FormatDefinitions(const DefinitionLookup& lookup, size_t width) {
  std::string out;
  for (const DatabaseEntries& database : lookup.found) {
    if (!out.empty()) out += "\n";
    out += WrapText("From " + database.title + " [" + database.database + "]:",
                    width);
    for (const std::string& entry : database.entries) {
      std::string indented;
      for (size_t at = 0; at <= entry.size();) {
        const size_t end = std::min(entry.find('\n', at), entry.size());
        // Blank lines stay blank, without trailing spaces.
        if (end > at) indented += kIndent + entry.substr(at, end - at);
        indented += "\n";
        at = end + 1;
      }
      out += "\n" + WrapText(indented, width);
    }
  }
  return out;
}

size_t OutputWidth() {
  if (const char* columns = std::getenv("COLUMNS")) {
    char* end = nullptr;
    const long value = std::strtol(columns, &end, 10);
    if (end != columns && *end == '\0' &&
        value >= static_cast<long>(kNarrowestWidth)) {
      return static_cast<size_t>(value);
    }
  }
  struct winsize size {};
  if (::isatty(STDOUT_FILENO) && ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 &&
      size.ws_col >= kNarrowestWidth) {
    return size.ws_col;
  }
  return kDefaultWidth;
}

int RunDefine(const Options& options) {
  std::vector<std::filesystem::path> folders(options.folders.begin(),
                                             options.folders.end());
  if (!options.no_system_databases) {
    for (const auto& folder : SystemDatabaseFolders()) folders.push_back(folder);
  }
  DefinitionLibrary library(folders);
  const std::vector<DatabaseFiles> all = library.Databases();
  if (all.empty()) {
    std::fputs(NoDatabaseAdvice().c_str(), stderr);
    return kExitNoDatabase;
  }
  for (const std::string& name : options.databases) {
    if (std::none_of(all.begin(), all.end(),
                     [&](const DatabaseFiles& f) { return f.name == name; })) {
      std::string names;
      for (const DatabaseFiles& f : all) names += " " + f.name;
      std::fprintf(stderr, "No database is called '%s'. Installed:%s\n",
                   name.c_str(), names.c_str());
      return kExitFailure;
    }
  }
  const DefinitionLookup lookup =
      library.Lookup(options.text, ChosenDatabases(options, all));
  for (const std::string& error : lookup.errors) {
    std::fprintf(stderr, "vocor-cli: %s\n", error.c_str());
  }
  tools::WriteOutput(FormatDefinitions(lookup, OutputWidth()));
  if (!lookup.found.empty()) return kExitOk;
  if (!lookup.errors.empty()) return kExitDamaged;
  std::fprintf(stderr, "No definition of '%s' in the databases searched.\n",
               options.text.c_str());
  return kExitNotDefined;
}

}  // namespace vocor::cli
