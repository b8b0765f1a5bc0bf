#include "app/definitions/definition_page.h"

#include <algorithm>

namespace vocor {

namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The words of `text` joined by single spaces: a reference broken over
// lines names the same word as one written on a single line.
std::string CollapseSpaces(std::string_view text) {
  std::string out;
  bool gap = false;
  for (char c : text) {
    if (IsSpace(c)) {
      gap = !out.empty();
      continue;
    }
    if (gap) out += ' ';
    gap = false;
    out += c;
  }
  return out;
}

std::string Link(std::string_view target, std::string_view shown_html) {
  return "<a href=\"" + EscapeHtml(DefineLink(target)) + "\">" +
         std::string(shown_html) + "</a>";
}

std::string Quoted(std::string_view word) {
  return "\xE2\x80\x9C" + EscapeHtml(word) + "\xE2\x80\x9D";
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string out;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += i + 1 == names.size() ? " and " : ", ";
    out += EscapeHtml(names[i]);
  }
  return out;
}

void AppendDatabases(const WordDefinitions& definitions, std::string* html) {
  for (const DatabaseEntries& database : definitions.databases) {
    *html += "<h3>" + EscapeHtml(database.title) + "</h3>\n";
    for (const std::string& text : database.entries) {
      *html +=
          "<p style=\"white-space: pre-wrap\">" + EntryHtml(text) + "</p>\n";
    }
  }
}

std::string Page(std::string_view body) {
  return "<html><body>" + std::string(body) + "</body></html>";
}

}  // namespace

std::string DefineLink(std::string_view word) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string link = std::string(kDefineScheme) + ":";
  for (char c : word) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsUnreserved(byte)) {
      link += c;
    } else {
      link += '%';
      link += kHex[byte >> 4];
      link += kHex[byte & 15];
    }
  }
  return link;
}

bool WordOfDefineLink(std::string_view link, std::string* word) {
  const std::string prefix = std::string(kDefineScheme) + ":";
  if (link.substr(0, prefix.size()) != prefix) return false;
  std::string decoded;
  for (size_t i = prefix.size(); i < link.size(); ++i) {
    if (link[i] != '%') {
      decoded += link[i];
      continue;
    }
    if (i + 2 >= link.size()) return false;
    const int high = HexValue(link[i + 1]);
    const int low = HexValue(link[i + 2]);
    if (high < 0 || low < 0) return false;
    decoded += static_cast<char>(high * 16 + low);
    i += 2;
  }
  *word = std::move(decoded);
  return true;
}

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string EntryHtml(std::string_view entry_text) {
  std::string html;
  size_t done = 0;
  while (done < entry_text.size()) {
    const size_t open = entry_text.find('{', done);
    if (open == std::string_view::npos) break;
    const size_t close = entry_text.find_first_of("{}", open + 1);
    if (close == std::string_view::npos) break;
    const std::string_view inside =
        entry_text.substr(open + 1, close - open - 1);
    const std::string target = CollapseSpaces(inside);
    // Another '{' before the '}': this one has no match of its own.
    if (entry_text[close] == '{' || target.empty()) {
      html += EscapeHtml(entry_text.substr(done, close - done));
      done = close;
      continue;
    }
    html += EscapeHtml(entry_text.substr(done, open - done));
    html += Link(target, EscapeHtml(inside));
    done = close + 1;
  }
  html += EscapeHtml(entry_text.substr(done));
  return html;
}

std::vector<std::string> LookupWords(std::string_view result) {
  std::vector<std::string> words = {CollapseSpaces(result)};
  if (words.front().find(' ') == std::string::npos) return words;
  size_t start = 0;
  const std::string phrase = words.front();
  while (start < phrase.size()) {
    size_t end = phrase.find(' ', start);
    if (end == std::string::npos) end = phrase.size();
    std::string word = phrase.substr(start, end - start);
    if (std::find(words.begin(), words.end(), word) == words.end()) {
      words.push_back(std::move(word));
    }
    start = end + 1;
  }
  return words;
}

std::string DefinitionPageHtml(std::string_view result,
                               const std::vector<WordDefinitions>& found,
                               const std::vector<std::string>& searched,
                               const std::vector<std::string>& errors) {
  const std::string phrase = CollapseSpaces(result);
  std::string body;
  if (found.empty()) {
    body = "<p>No entry for " + Quoted(phrase) + " in " + JoinNames(searched) +
           ".</p>\n";
  } else if (found.front().word == phrase) {
    body = "<h2>" + EscapeHtml(phrase) + "</h2>\n";
    AppendDatabases(found.front(), &body);
  } else {
    body = "<p>No entry for " + Quoted(phrase) + "; its words:</p>\n";
    for (const WordDefinitions& word : found) {
      body += "<h2>" + EscapeHtml(word.word) + "</h2>\n";
      AppendDatabases(word, &body);
    }
  }
  for (const std::string& error : errors) {
    body += "<p><i>" + EscapeHtml(error) + "</i></p>\n";
  }
  return Page(body);
}

std::string EmptyPageHtml() {
  return Page("<p>Select a word in the results to see its meaning here.</p>");
}

bool DebianHasFreeDict(std::string_view freedict_name) {
  // The dict-freedict-LLL-eng packages of Debian 12.
  static constexpr std::string_view kPackaged[] = {
      "afr", "ara", "ces", "cym", "dan", "deu", "ell", "epo", "fin", "fra",
      "gle", "hrv", "hun", "isl", "ita", "jpn", "kha", "kur", "lat", "lit",
      "nld", "pol", "por", "slk", "slv", "spa", "srp", "swe", "swh", "tur"};
  constexpr std::string_view kIntoEnglish = "-eng";
  if (!freedict_name.ends_with(kIntoEnglish)) return false;
  const std::string_view language =
      freedict_name.substr(0, freedict_name.size() - kIntoEnglish.size());
  return std::find(std::begin(kPackaged), std::end(kPackaged), language) !=
         std::end(kPackaged);
}

std::vector<std::string> AdvisedPackages(std::string_view freedict_name) {
  std::vector<std::string> packages = {"dict-gcide", "dict-wn"};
  if (DebianHasFreeDict(freedict_name)) {
    packages.push_back("dict-freedict-" + std::string(freedict_name));
  }
  return packages;
}

std::string NoDatabaseAdviceHtml(std::string_view freedict_name) {
  const std::vector<std::string> packages = AdvisedPackages(freedict_name);
  std::string command = "sudo apt install";
  for (const std::string& package : packages) command += " " + package;
  std::string body =
      "<p>No dictionary database for the words of the active dictionary is "
      "installed, so Vocor cannot show what they mean.</p>";
  if (!freedict_name.empty() && !DebianHasFreeDict(freedict_name)) {
    body +=
        "<p>Debian has no FreeDict dictionary from this language into "
        "English; View &gt; Definitions From can choose another database "
        "for it.</p>";
  }
  body += "<p>The Debian packages " + JoinNames(packages) +
          " provide databases:</p><p><code>" + EscapeHtml(command) +
          "</code></p><p>Once they are installed, select a word again.</p>";
  return Page(body);
}

std::string NoDatabaseChosenHtml() {
  return Page(
      "<p>No database is chosen for the active dictionary's language. "
      "Choose some with View &gt; Definitions From.</p>");
}

}  // namespace vocor
