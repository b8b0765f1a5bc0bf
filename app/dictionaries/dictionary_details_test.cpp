// The details dialog's texts for each kind of dictionary, and language
// names of Windows locale ids.
#include "app/dictionaries/dictionary_details.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/dictionaries/configure_dictionaries_texts.h"
#include "dictionary/dictionary_set.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/vocor_file_writer.h"
#include "settings/scratch_home.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

TEST(LanguageNameTest, WindowsLocaleIdsByTheirEnglishNames) {
  EXPECT_EQ(LanguageName(0), "Unknown");
  EXPECT_EQ(LanguageName(1033), "English (United States)");
  EXPECT_EQ(LanguageName(2057), "English (United Kingdom)");
  EXPECT_EQ(LanguageName(1036), "French (France)");
  EXPECT_EQ(LanguageName(1031), "German (Germany)");
  EXPECT_EQ(LanguageName(3082), "Spanish (Spain)");
  // No locale has these: the id in lower-case hexadecimal.
  EXPECT_EQ(LanguageName(0x7ABC), "7abc");
  EXPECT_EQ(LanguageName(0xFFFFFFFFu), "ffffffff");
}

class DictionaryDetailsTest : public ::testing::Test {
 protected:
  std::string Binary(const VocorFileInfo& info,
                     const std::vector<std::string>& words) {
    std::string bytes, error;
    VocorFileStats stats;
    EXPECT_TRUE(BuildVocorFile(words, info, &bytes, &stats, &error)) << error;
    return files_.Write("words.dic", bytes);
  }

  ScratchHome home_;
  testing::ScratchDir files_;
};

TEST_F(DictionaryDetailsTest, ABinaryDictionaryShowsItsVersions) {
  VocorFileInfo info;
  info.name = "Caf\xE9 words";  // engine text: shown as UTF-8
  info.dictionary_version = 150;
  info.language = 2057;
  info.notes = "From a list \xA9 someone";
  const std::string path = Binary(info, {"cat", "dog", "cow"});
  const std::unique_ptr<CDictionary> dictionary =
      OpenDictionaryFile(path.c_str());
  ASSERT_NE(dictionary, nullptr);
  const DictionaryDetails details = DescribeDictionary(*dictionary);
  EXPECT_EQ(details.caption, "Caf\u00e9 words Details");
  EXPECT_EQ(details.name, "Caf\u00e9 words\nVersion 1.50\n");
  EXPECT_EQ(details.type, "Vocor File (2.01)");
  EXPECT_EQ(details.file_name, path);
  EXPECT_EQ(details.words, "3 words");
  EXPECT_EQ(details.language, "English (United Kingdom)");
  EXPECT_EQ(details.notes, "From a list \u00a9 someone");
  EXPECT_EQ(details.icon, DictionaryImage::kBinary);
}

TEST_F(DictionaryDetailsTest, ATextListHasNoVersionLineNorLanguage) {
  const std::string path = files_.Write("list.txt", "one\ntwo\n");
  const std::unique_ptr<CDictionary> dictionary =
      OpenDictionaryFile(path.c_str());
  ASSERT_NE(dictionary, nullptr);
  const DictionaryDetails details = DescribeDictionary(*dictionary);
  EXPECT_EQ(details.name, dictionary->GetName());
  EXPECT_EQ(details.name.find('\n'), std::string::npos);
  EXPECT_EQ(details.type, "Text File");
  EXPECT_EQ(details.file_name, path);
  EXPECT_EQ(details.language, "Unknown");
  EXPECT_EQ(details.icon, DictionaryImage::kText);
}

TEST_F(DictionaryDetailsTest, ASetIsUnknownWithTheSumsOfItsMembers) {
  std::string text;
  for (int i = 0; i < 1200; ++i) text += "w" + std::to_string(i) + "\n";
  const std::unique_ptr<CDictionary> a =
      OpenDictionaryFile(files_.Write("a.txt", text).c_str());
  const std::unique_ptr<CDictionary> b =
      OpenDictionaryFile(files_.Write("b.txt", "x\ny\n").c_str());
  ASSERT_TRUE(a && b);
  CDictionarySet set;
  set.SetName("Both");
  set.members().AddTail(a.get());
  set.members().AddTail(b.get());
  const DictionaryDetails details = DescribeDictionary(set);
  EXPECT_EQ(details.caption, "Both Details");
  EXPECT_EQ(details.type, "Unknown");
  EXPECT_EQ(details.file_name, "<Unknown>");
  EXPECT_EQ(details.words, "1,202 words");
  EXPECT_EQ(details.size, FormatSize(a->GetSize() + b->GetSize()));
  EXPECT_EQ(details.icon, DictionaryImage::kSet);
}

// A text list is named by its own file name, even where engine text has
// no letters for it; a dictionary whose file could not be opened says so
// wherever it is named.
TEST_F(DictionaryDetailsTest, FileNamesAsTheyAreAndUnavailableFiles) {
  const std::string greek = "\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1.txt";
  std::unique_ptr<CDictionary> text =
      OpenDictionaryFile(files_.Write(greek, "one\n").c_str());
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(DescribeDictionary(*text).name, greek);
  EXPECT_EQ(DescribeDictionary(*text).caption, greek + " Details");

  for (const char* type : {"TextFile", "VocorFile"}) {
    const std::string away = files_.path() + "/away/words.dic";
    WriteRegString(kCurrentUser, "T", "Type", type);
    WriteRegDword(kCurrentUser, "T", "ID", 7);
    WriteRegString(kCurrentUser, "T", "FileName", away.c_str());
    std::unique_ptr<CDictionary> gone =
        LoadDictionaryFromRegistry(kCurrentUser, "T");
    ASSERT_NE(gone, nullptr);
    ASSERT_FALSE(gone->Open());
    ASSERT_TRUE(IsUnavailable(*gone));
    const DictionaryDetails details = DescribeDictionary(*gone);
    EXPECT_EQ(details.name, "words.dic (unavailable)") << type;
    EXPECT_EQ(details.file_name, away);
    EXPECT_NE(details.type.find("(unavailable)"), std::string::npos);
    EXPECT_NE(details.notes.find("could not be opened"), std::string::npos);
    EXPECT_EQ(details.words, "0 words");
  }
  CloseSettingsStore();
}

TEST(UnopenedDictionariesMessageTest, NamesUpToTenFiles) {
  EXPECT_EQ(UnopenedDictionariesMessage({}), "");
  const std::string one = UnopenedDictionariesMessage({"/usb/mywords.txt"});
  EXPECT_EQ(one.find("An installed dictionary could not be opened:\n\n"
                     "/usb/mywords.txt\n\n"),
            0u);
  std::vector<std::string> files;
  for (int i = 0; i < 12; ++i) files.push_back("/f" + std::to_string(i));
  const std::string many = UnopenedDictionariesMessage(files);
  EXPECT_NE(many.find("/f9\nand 2 more\n"), std::string::npos) << many;
  EXPECT_EQ(many.find("/f10"), std::string::npos);
}

}  // namespace
}  // namespace vocor
