// Test support for the application and frame tests: small compiled
// dictionaries on disk and answers to the modal message boxes that
// start-up and the commands show.
#ifndef VOCOR_APP_WINDOW_TEST_SUPPORT_H_
#define VOCOR_APP_WINDOW_TEST_SUPPORT_H_

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "dictionary/vocor_file_writer.h"

namespace vocor::testing {

// Writes a binary dictionary named `name` holding `words`; returns false
// when the writer refuses them.
inline bool WriteDicFile(const std::string& path, const std::string& name,
                         const std::vector<std::string>& words) {
  VocorFileInfo info;
  info.name = name;
  std::string bytes, error;
  VocorFileStats stats;
  if (!BuildVocorFile(words, info, &bytes, &stats, &error)) return false;
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  return static_cast<bool>(out);
}

inline void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Answers every modal message box that opens while it lives with the
// button given for it, in order (the last answer repeats), and records the
// texts it saw. Polls, because the boxes run their own event loops.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(
      std::vector<QMessageBox::StandardButton> answers = {QMessageBox::No})
      : answers_(std::move(answers)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(5);
  }

  const QStringList& texts() const { return texts_; }
  // Called with each box before it is answered, while it is open.
  void OnEachBox(std::function<void(QMessageBox*)> hook) {
    hook_ = std::move(hook);
  }

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || box->property("answered").toBool()) return;
    box->setProperty("answered", true);
    texts_.append(box->text());
    if (hook_) hook_(box);
    const size_t index =
        std::min(static_cast<size_t>(texts_.size()) - 1, answers_.size() - 1);
    QAbstractButton* button = box->button(answers_[index]);
    if (button == nullptr) button = box->buttons().value(0);
    button->click();
  }

  std::vector<QMessageBox::StandardButton> answers_;
  QStringList texts_;
  std::function<void(QMessageBox*)> hook_;
  QTimer timer_;
};

}  // namespace vocor::testing

#endif  // VOCOR_APP_WINDOW_TEST_SUPPORT_H_
