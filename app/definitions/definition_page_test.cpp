// The pane's page texts: entries turned into HTML with links, the words
// looked up for a phrase, and the advice when no database is installed.
#include "app/definitions/definition_page.h"

#include <gtest/gtest.h>

#include <regex>

namespace vocor {
namespace {

// The text a reader sees: the tags dropped and the entities read back.
std::string VisibleText(const std::string& html) {
  std::string text = std::regex_replace(html, std::regex("<[^>]*>"), "");
  for (const auto& [entity, c] : {std::pair{"&lt;", "<"},
                                  {"&gt;", ">"},
                                  {"&quot;", "\""},
                                  {"&amp;", "&"}}) {
    text = std::regex_replace(text, std::regex(entity), c);
  }
  return text;
}

std::vector<std::string> LinkTargets(const std::string& html) {
  std::vector<std::string> words;
  const std::regex href("href=\"([^\"]*)\"");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), href);
       it != std::sregex_iterator(); ++it) {
    std::string word;
    EXPECT_TRUE(WordOfDefineLink((*it)[1].str(), &word)) << (*it)[1];
    words.push_back(word);
  }
  return words;
}

TEST(DefinitionPageTest, LinksRoundTripEveryByte) {
  const std::string words[] = {"yacht", "racing yacht", "élan", "a%b&c\"d<e>",
                               std::string("\x01\xff", 2)};
  for (const std::string& word : words) {
    const std::string link = DefineLink(word);
    EXPECT_EQ(link.find_first_of(" \"<>&{}"), std::string::npos) << link;
    std::string back;
    ASSERT_TRUE(WordOfDefineLink(link, &back)) << link;
    EXPECT_EQ(back, word);
  }
  EXPECT_EQ(DefineLink("ice cream"), "define:ice%20cream");
  std::string word = "untouched";
  for (const char* bad :
       {"http://x", "define:%", "define:%4", "define:%zz", "defin:yacht"}) {
    EXPECT_FALSE(WordOfDefineLink(bad, &word)) << bad;
  }
  EXPECT_EQ(word, "untouched");
}

// Whatever an entry holds, the reader sees its text (less the braces of
// references) and every reference is a link to the word it names.
TEST(DefinitionPageTest, EntryKeepsItsTextAndLinksItsReferences) {
  struct Case {
    std::string entry;
    std::string visible;
    std::vector<std::string> links;
  };
  const Case cases[] = {
      {"Yacht \\Yacht\\, n.\n  A vessel. See {Sloop}, {Hoy}.",
       "Yacht \\Yacht\\, n.\n  A vessel. See Sloop, Hoy.",
       {"Sloop", "Hoy"}},
      // A reference broken over lines names the phrase on one line.
      {"[syn: {racing\n         yacht}]",
       "[syn: racing\n         yacht]",
       {"racing yacht"}},
      // Markup in an entry is text, also inside a reference.
      {"<b>bold</b> & {a<b} \"q\"", "<b>bold</b> & a<b \"q\"", {"a<b"}},
      // Unmatched or empty braces stay as they are.
      {"{open {inner} close} {} {", "{open inner close} {} {", {"inner"}},
      {"no references", "no references", {}},
      {"{\xC3\xA9lan}", "\xC3\xA9lan", {"\xC3\xA9lan"}},
  };
  for (const Case& c : cases) {
    const std::string html = EntryHtml(c.entry);
    EXPECT_EQ(VisibleText(html), c.visible) << c.entry;
    EXPECT_EQ(LinkTargets(html), c.links) << c.entry;
    // Only the links' own tags are markup.
    const std::string stripped =
        std::regex_replace(html, std::regex("<a href=\"[^\"]*\">|</a>"), "");
    EXPECT_EQ(stripped.find_first_of("<>\""), std::string::npos) << html;
  }
}

TEST(DefinitionPageTest, APhraseIsLookedUpWholeThenWordByWord) {
  EXPECT_EQ(LookupWords("yacht"), std::vector<std::string>{"yacht"});
  EXPECT_EQ(LookupWords("ice  cream"),
            (std::vector<std::string>{"ice cream", "ice", "cream"}));
  EXPECT_EQ(
      LookupWords("a bit of a do"),
      (std::vector<std::string>{"a bit of a do", "a", "bit", "of", "do"}));
}

TEST(DefinitionPageTest, PageShowsTheEntriesFoundOrSaysWhereItLooked) {
  // Each database's title stands above its entries.
  const WordDefinitions yacht{
      "yacht",
      {{"gcide", "GCIDE", {"Yacht, n. A vessel.", "Yacht, v. To sail."}},
       {"wn", "WordNet", {"yacht\n n 1"}}}};
  std::string html = DefinitionPageHtml("yacht", {yacht}, {"gcide", "wn"},
                                        {"wn.dict.dz: chunk 3 is damaged"});
  std::string text = VisibleText(html);
  EXPECT_LT(text.find("GCIDE"), text.find("Yacht, n. A vessel."));
  EXPECT_LT(text.find("Yacht, n. A vessel."), text.find("Yacht, v. To sail."));
  EXPECT_LT(text.find("Yacht, v. To sail."), text.find("WordNet"));
  EXPECT_LT(text.find("WordNet"), text.find("chunk 3 is damaged"));
  EXPECT_EQ(text.find("No entry"), std::string::npos);

  // A phrase without an entry of its own shows its words'.
  const WordDefinitions ice{"ice", {{"wn", "wn", {"ice\n n 1: frozen water"}}}};
  html = DefinitionPageHtml("ice cream", {ice}, {"wn"});
  text = VisibleText(html);
  EXPECT_NE(text.find("No entry for \xE2\x80\x9C"
                      "ice cream"),
            std::string::npos);
  EXPECT_NE(text.find("frozen water"), std::string::npos);

  html = DefinitionPageHtml("zzxq<", {}, {"gcide", "wn", "fd-fra-eng"});
  EXPECT_EQ(VisibleText(html),
            "No entry for \xE2\x80\x9Czzxq<\xE2\x80\x9D in gcide, wn and "
            "fd-fra-eng.\n");
}

TEST(DefinitionPageTest, AdviceNamesThePackagesOfTheLanguage) {
  EXPECT_EQ(AdvisedPackages(""),
            (std::vector<std::string>{"dict-gcide", "dict-wn"}));
  EXPECT_EQ(AdvisedPackages("fra-eng"),
            (std::vector<std::string>{"dict-gcide", "dict-wn",
                                      "dict-freedict-fra-eng"}));
  // Debian packages no Catalan or Norwegian FreeDict database.
  for (const char* name : {"cat-eng", "nob-eng", "fra-deu", "eng"}) {
    EXPECT_EQ(AdvisedPackages(name),
              (std::vector<std::string>{"dict-gcide", "dict-wn"}))
        << name;
  }

  std::string text = VisibleText(NoDatabaseAdviceHtml("fra-eng"));
  EXPECT_NE(text.find("dict-gcide, dict-wn and dict-freedict-fra-eng"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("apt install dict-gcide dict-wn dict-freedict-fra-eng"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("Definitions From"), std::string::npos) << text;

  text = VisibleText(NoDatabaseAdviceHtml("cat-eng"));
  EXPECT_NE(text.find("no FreeDict dictionary"), std::string::npos) << text;
  EXPECT_NE(text.find("View > Definitions From"), std::string::npos) << text;
  EXPECT_NE(text.find("apt install dict-gcide dict-wn"), std::string::npos)
      << text;
  EXPECT_EQ(text.find("cat-eng"), std::string::npos) << text;
}

}  // namespace
}  // namespace vocor
