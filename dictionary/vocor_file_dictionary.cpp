#include "dictionary/vocor_file_dictionary.h"

#include <algorithm>
#include <cstring>

#include "dictionary/vocor_file_survivors.h"
#include "dictionary/vocor_live_states.h"
#include "dictionary/vocor_required_letters.h"
#include "dictionary/vocor_walk_states.h"
#include "engine/palindrome.h"
#include "engine/pattern.h"
#include "settings/settings_store.h"

namespace vocor {

// ---- CDictionaryVocorFile ----

CDictionaryVocorFile::CDictionaryVocorFile() = default;

CDictionaryVocorFile::~CDictionaryVocorFile() { Close(); }

std::unique_ptr<CDictionary> CDictionaryVocorFile::Clone() const {
  auto copy = std::make_unique<CDictionaryVocorFile>();
  copy->text_ = text_;
  copy->file_ = file_;
  return copy;
}

bool CDictionaryVocorFile::LoadFromRegistry(int root, const char* key_path) {
  const bool base_read = CDictionary::LoadFromRegistry(root, key_path);
  std::string path;
  const bool path_read = ReadRegString(root, key_path, "FileName", &path);
  if (path_read) SetFileName(path.c_str());
  return base_read && path_read;
}

bool CDictionaryVocorFile::SaveToRegistry(int root,
                                          const char* key_path) const {
  const bool base_written = CDictionary::SaveToRegistry(root, key_path);
  return WriteRegString(root, key_path, "FileName", text_.c_str()) &&
         base_written;
}

bool CDictionaryVocorFile::IsOpen() const { return file_ != nullptr; }

bool CDictionaryVocorFile::Open() {
  if (IsOpen()) return true;
  // A file without the magic is refused before the rest of it is read.
  return OpenContents(FileImage::Read(
                          text_, kMaxDictionaryFileSize,
                          [](const char* first, size_t size) {
                            return size >= kVocorMagicSize &&
                                   std::memcmp(first, kVocorMagic,
                                               kVocorMagicSize) == 0;
                          },
                          VocorBytesNeededAtOpen),
                      text_);
}

bool CDictionaryVocorFile::OpenImage(std::shared_ptr<const FileImage> image) {
  if (image != nullptr && image->file_size() != image->size()) return false;
  return OpenContents(std::move(image), "");
}

bool CDictionaryVocorFile::OpenContents(std::shared_ptr<const FileImage> image,
                                        const std::string& path) {
  if (IsOpen() || image == nullptr) return false;
  auto contents = std::make_shared<VocorFileContents>();
  if (!ParseVocorHeader(image->data(), image->size(), &contents->header)) {
    return false;
  }
  size_t first_score = 0;
  switch (LocateVocorScores(image->data(), image->size(), image->file_size(),
                            contents->header, &first_score)) {
    case VocorScoreSection::kPresent: {
      const auto count = static_cast<uint32_t>(contents->header.word_count);
      if (first_score + count <= image->size()) {
        contents->UseScores(image->data() + first_score, count);
      } else {
        contents->DeferScores(path, first_score, count, image->file_size());
      }
      break;
    }
    case VocorScoreSection::kDamaged:
      contents->NoteDamage();  // read without scores; searches say so
      break;
    case VocorScoreSection::kAbsent:
    case VocorScoreSection::kForeign:
      break;
  }
  contents->image = std::move(image);
  file_ = std::move(contents);
  return true;
}

void CDictionaryVocorFile::Close() { file_.reset(); }

const char* CDictionaryVocorFile::GetName() const {
  return file_ ? file_->header.name.c_str() : "";
}

int CDictionaryVocorFile::GetWordCount() const {
  return file_ ? file_->header.word_count : 0;
}

int CDictionaryVocorFile::GetSize() const {
  return file_ ? file_->header.size : 0;
}

uint32_t CDictionaryVocorFile::GetLanguage() const {
  return file_ ? file_->header.language : 0;
}

std::string CDictionaryVocorFile::GetNotes() const {
  return file_ ? file_->header.notes : "";
}

bool CDictionaryVocorFile::HasScores() const {
  return file_ != nullptr && file_->has_scores();
}

bool CDictionaryVocorFile::DamageSeen() const {
  return file_ != nullptr && file_->damage_seen();
}

int CDictionaryVocorFile::GetDictionaryVersion() const {
  return file_ ? file_->header.dictionary_version : 0;
}

int CDictionaryVocorFile::GetFormatVersion() const {
  return file_ ? file_->header.format_version : 0;
}

EnumPtr CDictionaryVocorFile::CreateEnumerator() const {
  return std::make_unique<CEnumResultsDictionaryVocorFile>(file_, nullptr,
                                                           CLetterConstraint());
}

bool CDictionaryVocorFile::SetFileName(const char* path) {
  if (IsOpen()) return false;
  text_ = path != nullptr ? path : "";
  return true;
}

// ---- CEnumResultsDictionaryVocorFile ----

CEnumResultsDictionaryVocorFile::CEnumResultsDictionaryVocorFile(
    std::shared_ptr<const VocorFileContents> file, const char* pattern,
    const CLetterConstraint& constraint)
    : file_(std::move(file)),
      pattern_(pattern != nullptr ? pattern : "*"),
      constraint_(constraint),
      working_(constraint) {
  stack_.reserve(kWalkReservedFrames);
  Reset();
}

CEnumResultsDictionaryVocorFile::~CEnumResultsDictionaryVocorFile() = default;

EnumPtr CEnumResultsDictionaryVocorFile::Clone() const {
  auto copy = std::make_unique<CEnumResultsDictionaryVocorFile>(
      file_, pattern_.c_str(), constraint_);
  copy->floor_ = floor_;
  return copy;
}

PatternAutomaton& CEnumResultsDictionaryVocorFile::Automaton() const {
  if (automaton_ == nullptr) {
    automaton_ = std::make_unique<PatternAutomaton>(
        PatternProgram::Compile(pattern_.c_str()));
  }
  return *automaton_;
}

bool CEnumResultsDictionaryVocorFile::ConstraintIsStateless() const {
  if (constraint_.hasMin) return false;
  if (!constraint_.hasMax) return true;
  return std::all_of(
      constraint_.maxCount, constraint_.maxCount + kLetterTableSize,
      [](int count) { return count == 0 || count == kUnlimited; });
}

void CEnumResultsDictionaryVocorFile::PrepareLetterSummaries() {
  const VocorLetterSummaries* summaries = file_->LetterSummaries();
  if (summaries == nullptr) return;
  auto required = std::make_unique<WalkRequiredLetters>(automaton_.get());
  if (!required->any()) return;  // nothing to rule out
  required_ = std::move(required);
  summaries_ = summaries;
}

void CEnumResultsDictionaryVocorFile::Reset() {
  position_ = 0;
  stack_.clear();
  plain_stack_.clear();
  working_ = constraint_;
  word_[0] = '\0';
  plain_ = pattern_ == "*" && !constraint_.HasAnyPart();
  remember_dead_ = ConstraintIsStateless();
  if (!remember_dead_) dead_.reset();
  if (file_ == nullptr) return;
  const uint32_t root = file_->header.root_offset;
  VocorNode node;
  if (!ReadVocorNode(data(), size(), root, &node)) {
    file_->NoteDamage();
    return;
  }
  if (plain_) {
    plain_stack_.push_back(PlainFrame{root, kWalkUnvisited, 0});
  } else if (Automaton().start() == PatternAutomaton::kDead) {
    position_ = node.all();  // nothing can match: every word is passed
  } else {
    if (!live_tried_) {
      live_tried_ = true;
      PrepareLetterSummaries();
      if (automaton_->program().has_star()) {
        live_ = WalkLiveStates::Create(automaton_.get(), file_.get(),
                                       required_.get(), summaries_);
      }
    }
    stack_.push_back(
        Frame{root, automaton_->start(), kWalkUnvisited, 0, 0, 0, 0, 0, false});
  }
}

std::string CEnumResultsDictionaryVocorFile::Describe(int indent) const {
  const std::string name = file_ ? file_->header.name : "";
  const std::string floor_text =
      floor_ > kMinScore ? " MinScore " + std::to_string(floor_) : "";
  return DescribeIndent(indent) + "DictionaryVocorFilePatternLetters(\"" +
         name + "\",\"" + pattern_ + "\"," + DescribeLetterParts(constraint_) +
         ")" + floor_text + "\n";
}

bool CEnumResultsDictionaryVocorFile::Contains(const char* word) const {
  if (file_ == nullptr) return false;
  VocorNode node;
  if (!ReadVocorNodeShallow(data(), size(), file_->header.root_offset, &node)) {
    return false;
  }
  for (const char* p = word; *p != '\0'; ++p) {
    const auto letter = static_cast<unsigned char>(*p);
    const int i = FindVocorEntry(data(), node, letter);
    if (i < 0) return false;
    const uint32_t child = EntryChildOffset(VocorEntry(data(), node, i));
    if (!ReadVocorNodeShallow(data(), size(), child, &node)) {
      file_->NoteDamage();
      return false;
    }
  }
  return node.terminal() && (pattern_ == "*" || Automaton().Matches(word)) &&
         constraint_.Accepts(word);
}

EnumPtr CEnumResultsDictionaryVocorFile::Pattern(EnumPtr self,
                                                 const char* pattern) {
  std::string inner, outer;
  if (!SplitPatternPair(pattern_, pattern, &inner, &outer)) {
    return std::make_unique<CEnumResultsNone>();
  }
  if (pattern_ != inner) {
    pattern_ = std::move(inner);
    automaton_.reset();
    dead_.reset();  // its states were the old automaton's
    live_.reset();
    required_.reset();
    summaries_ = nullptr;
    live_tried_ = false;
  }
  Reset();
  return CEnumResults::Pattern(std::move(self), outer.c_str());
}

EnumPtr CEnumResultsDictionaryVocorFile::Letters(
    EnumPtr self, const CLetterConstraint& constraint) {
  constraint_.CombineWith(constraint);
  if (!constraint_.IsSatisfiable()) return std::make_unique<CEnumResultsNone>();
  dead_.reset();
  Reset();
  return self;
}

EnumPtr CEnumResultsDictionaryVocorFile::MinScore(EnumPtr self, int floor) {
  if (floor > kMaxScore) return std::make_unique<CEnumResultsNone>();
  const bool scored = file_ != nullptr && file_->has_scores();
  if (!scored && floor > kDefaultScore) {
    return std::make_unique<CEnumResultsNone>();
  }
  floor_ = std::max(floor_, floor);
  return self;
}

const char* CEnumResultsDictionaryVocorFile::Next(int* counter) {
  if (plain_) return NextPlain(counter);
  while (!stack_.empty()) {
    if (counter != nullptr) {
      if (*counter <= 0) return nullptr;
      --*counter;
    }
    if (const char* word = Step()) return word;
  }
  return nullptr;
}

EnumPtr CEnumResultsDictionaryVocorFile::TransformSurvivors(
    int mode, int another_word) const {
  if (file_ == nullptr || !plain_ || mode < kReverse || mode > kRotate) {
    return nullptr;
  }
  return std::make_unique<CEnumResultsVocorFileSurvivors>(file_, floor_, mode,
                                                          another_word);
}

int CEnumResultsDictionaryVocorFile::Score() const {
  return file_ != nullptr ? file_->ScoreAt(last_index_) : kDefaultScore;
}

void CEnumResultsDictionaryVocorFile::CountScores(ScoreCounts* counts) const {
  if (file_ == nullptr) return;
  const ScoreCounts& histogram = file_->ScoreHistogram();
  for (int score = std::max(floor_, kMinScore); score <= kMaxScore; ++score) {
    (*counts)[score] += histogram[score];
  }
}

int CEnumResultsDictionaryVocorFile::GetPosition() const {
  return static_cast<int>(
      std::clamp<int64_t>(position_, 0, static_cast<int64_t>(GetExtent())));
}

int CEnumResultsDictionaryVocorFile::GetExtent() const {
  if (file_ == nullptr) return 1;
  return std::max(file_->header.word_count, 1);
}

}  // namespace vocor
