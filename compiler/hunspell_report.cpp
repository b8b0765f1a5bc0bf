// The report of an expansion: adding reports up, and its lines for a user.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "compiler/hunspell_expand.h"

namespace vocor {
namespace {

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) {
    text += (text.empty() ? "" : ", ") + item;
  }
  return text;
}

// Appends the examples of `more` to *kept up to the report's limit.
void AddExamples(const std::vector<std::string>& more,
                 std::vector<std::string>* kept) {
  for (const std::string& example : more) {
    if (kept->size() >= HunspellReport::kMaxExamples) return;
    kept->push_back(example);
  }
}

}  // namespace

void HunspellReport::Add(const HunspellReport& other) {
  announced_stems += other.announced_stems;
  stems += other.stems;
  forms += other.forms;
  foreign_stems += other.foreign_stems;
  spaced_stems += other.spaced_stems;
  broken_flag_stems += other.broken_flag_stems;
  AddExamples(other.broken_flag_examples, &broken_flag_examples);
  foreign_forms += other.foreign_forms;
  AddExamples(other.foreign_examples, &foreign_examples);
  not_words += other.not_words;
  converted_forms += other.converted_forms;
  shadowed_forms += other.shadowed_forms;
  two_level_left_out += other.two_level_left_out;
  cross_products_left_out += other.cross_products_left_out;
  compound_stems += other.compound_stems;
  for (const std::string& directive : other.compound_directives) {
    if (std::find(compound_directives.begin(), compound_directives.end(),
                  directive) == compound_directives.end()) {
      compound_directives.push_back(directive);
    }
  }
  over_limit = over_limit || other.over_limit;
  seconds += other.seconds;
}

std::vector<std::string> DescribeHunspellReport(const HunspellReport& report) {
  std::vector<std::string> lines;
  lines.push_back("stems read " + std::to_string(report.stems) +
                  " (the stem list announces " +
                  std::to_string(report.announced_stems) + "), forms made " +
                  std::to_string(report.forms));
  if (report.foreign_stems + report.foreign_forms > 0) {
    lines.push_back("skipped for letters outside Windows-1252: " +
                    std::to_string(report.foreign_stems) + " stems, " +
                    std::to_string(report.foreign_forms) + " forms (" +
                    Joined(report.foreign_examples) + ")");
  }
  if (report.spaced_stems > 0) {
    lines.push_back("skipped for a space in the word (phrases): " +
                    std::to_string(report.spaced_stems) + " stems");
  }
  if (report.broken_flag_stems > 0) {
    lines.push_back(
        "stems whose flags break the flag syntax, read as far as "
        "they go: " +
        std::to_string(report.broken_flag_stems) + " (" +
        Joined(report.broken_flag_examples) + ")");
  }
  if (report.not_words > 0) {
    lines.push_back(
        "left out as no words on their own (NEEDAFFIX, "
        "ONLYINCOMPOUND, FORBIDDENWORD, CIRCUMFIX): " +
        std::to_string(report.not_words) + " forms");
  }
  if (report.converted_forms > 0) {
    lines.push_back(
        "left out as the spell checker's input conversion "
        "(ICONV) changes them: " +
        std::to_string(report.converted_forms) + " forms");
  }
  if (report.shadowed_forms > 0) {
    lines.push_back(
        "left out as the spell checker takes them for a "
        "capitalised entry written in capitals: " +
        std::to_string(report.shadowed_forms) + " forms");
  }
  if (report.two_level_left_out > 0) {
    lines.push_back("left out by choice, with a second suffix: " +
                    std::to_string(report.two_level_left_out) + " forms");
  }
  if (report.cross_products_left_out > 0) {
    lines.push_back("left out by choice, with both a prefix and a suffix: " +
                    std::to_string(report.cross_products_left_out) + " forms");
  }
  if (!report.compound_directives.empty() || report.compound_stems > 0) {
    lines.push_back(
        "compounds left out: " + std::to_string(report.compound_stems) +
        " stems could take part in them" +
        (report.compound_directives.empty()
             ? std::string()
             : " (" + Joined(report.compound_directives) + ")"));
  }
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.2f", report.seconds);
  lines.push_back(std::string("expanded in ") + seconds + " s");
  return lines;
}

}  // namespace vocor
