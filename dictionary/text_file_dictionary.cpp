#include "dictionary/text_file_dictionary.h"

#include <cstring>

#include "dictionary/text_word_list.h"
#include "engine/charset.h"

namespace vocor {

// ---- CDictionaryTextFile ----

CDictionaryTextFile::CDictionaryTextFile() = default;

CDictionaryTextFile::~CDictionaryTextFile() { Close(); }

std::unique_ptr<CDictionary> CDictionaryTextFile::Clone() const {
  auto copy = std::make_unique<CDictionaryTextFile>();
  copy->SetFileName(text_.c_str());
  copy->list_ = list_;
  return copy;
}

bool CDictionaryTextFile::IsOpen() const { return list_ != nullptr; }

bool CDictionaryTextFile::Open() {
  if (IsOpen()) return true;
  std::shared_ptr<const FileImage> image = FileImage::ReadWordList(text_);
  if (image == nullptr) return false;
  list_ = std::make_shared<const TextWordList>(std::move(image));
  return true;
}

void CDictionaryTextFile::Close() { list_.reset(); }

const char* CDictionaryTextFile::GetName() const { return name_.c_str(); }

int CDictionaryTextFile::GetWordCount() const {
  return list_ ? list_->word_count() : 0;
}

int CDictionaryTextFile::GetSize() const { return list_ ? list_->size() : 0; }

std::string CDictionaryTextFile::GetNotes() const {
  return IsInAlphabeticOrder() ? "In alphabetic order."
                               : "Not in alphabetic order.";
}

bool CDictionaryTextFile::HasScores() const {
  return list_ != nullptr && list_->has_scores();
}

bool CDictionaryTextFile::IsInAlphabeticOrder() const {
  return list_ != nullptr && list_->in_order();
}

EnumPtr CDictionaryTextFile::CreateEnumerator() const {
  return std::make_unique<CEnumResultsDictionaryTextFile>(list_, GetName());
}

bool CDictionaryTextFile::SetFileName(const char* path) {
  if (IsOpen()) return false;
  text_ = path != nullptr ? path : "";
  const size_t slash = text_.rfind('/');
  name_ = Utf8ToEngine(text_.substr(slash == std::string::npos ? 0 : slash + 1),
                       '?');
  return true;
}

// ---- CEnumResultsDictionaryTextFile ----

CEnumResultsDictionaryTextFile::CEnumResultsDictionaryTextFile(
    std::shared_ptr<const TextWordList> list, std::string name)
    : list_(std::move(list)), name_(std::move(name)) {
  buffers_[0][0] = buffers_[1][0] = '\0';
  LookAhead(0);
}

CEnumResultsDictionaryTextFile::~CEnumResultsDictionaryTextFile() = default;

void CEnumResultsDictionaryTextFile::LookAhead(size_t from) {
  int length;
  has_next_ = list_ != nullptr &&
              list_->scanner().FindWord(from, &next_start_, &next_end_,
                                        buffers_[next_buffer_], &length,
                                        &next_score_);
}

EnumPtr CEnumResultsDictionaryTextFile::Clone() const {
  auto copy = std::make_unique<CEnumResultsDictionaryTextFile>(list_, name_);
  copy->floor_ = floor_;
  return copy;
}

void CEnumResultsDictionaryTextFile::Reset() { LookAhead(0); }

std::string CEnumResultsDictionaryTextFile::Describe(int indent) const {
  std::string text =
      DescribeIndent(indent) + "DictionaryTextFile(\"" + name_ + "\")";
  if (floor_ > kMinScore) text += " MinScore " + std::to_string(floor_);
  return text + "\n";
}

bool CEnumResultsDictionaryTextFile::Contains(const char* word) const {
  if (std::strpbrk(word, "?*") != nullptr) return CEnumResults::Contains(word);
  return list_ != nullptr && list_->HasWord(word);
}

bool CEnumResultsDictionaryTextFile::PrepareContains(int* counter) {
  return list_ == nullptr || list_->BuildIndex(counter);
}

EnumPtr CEnumResultsDictionaryTextFile::MinScore(EnumPtr self, int floor) {
  if (floor <= floor_) return self;
  floor_ = floor;
  ScoreCounts counts{};
  CountScores(&counts);
  for (int64_t count : counts) {
    if (count > 0) return self;
  }
  return std::make_unique<CEnumResultsNone>();
}

const char* CEnumResultsDictionaryTextFile::Next(int* counter) {
  while (has_next_) {
    const char* word = buffers_[next_buffer_];
    const int score = next_score_;
    next_buffer_ ^= 1;
    LookAhead(next_end_);
    if (counter != nullptr) --*counter;
    if (score >= floor_) {
      score_ = score;
      return word;
    }
    if (counter != nullptr && *counter <= 0) {
      *counter = 0;  // suspended: the caller comes back with a new budget
      return nullptr;
    }
  }
  return nullptr;
}

void CEnumResultsDictionaryTextFile::CountScores(ScoreCounts* counts) const {
  if (list_ == nullptr) return;
  for (int score = floor_; score <= kMaxScore; ++score) {
    (*counts)[score] += list_->score_counts()[score];
  }
}

int CEnumResultsDictionaryTextFile::GetPosition() const {
  if (list_ == nullptr) return 0;
  return has_next_ ? static_cast<int>(next_start_) : list_->size();
}

int CEnumResultsDictionaryTextFile::GetExtent() const {
  // A closed list reports the empty enumerator's scale, never 0.
  return list_ ? list_->size() : 1;
}

}  // namespace vocor
