// The time to open Configure Dictionaries with 200 installed dictionaries
// (100 binary, 100 text lists of 2000 words each): from the dialog's
// construction, which copies the lists and fills the rows, to the dialog
// shown with its events handled. Runs on the offscreen platform unless
// the caller names another one, with a settings store of its own.
//
// Usage: configure_dialog_bench [runs]
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/dictionaries/configure_dictionaries_dlg.h"
#include "dictionary/dictionary_state.h"
#include "dictionary/vocor_file_writer.h"
#include "settings/settings_store.h"

namespace {

constexpr int kDictionaries = 200;
constexpr int kWords = 2000;

std::vector<std::string> Words(int seed) {
  std::vector<std::string> words;
  for (int i = 0; i < kWords; ++i) {
    std::string word;
    for (int n = i * 7919 + seed; word.size() < 3 || n > 0; n /= 26) {
      word += static_cast<char>('a' + n % 26);
    }
    words.push_back(word);
  }
  return words;
}

bool WriteDictionary(const std::string& folder, int index) {
  const std::vector<std::string> words = Words(index);
  const std::string stem = folder + "/list" + std::to_string(index);
  if (index % 2 == 1) {
    std::ofstream text(stem + ".txt");
    for (const auto& word : words) text << word << '\n';
    return static_cast<bool>(text);
  }
  vocor::VocorFileInfo info;
  info.name = "List " + std::to_string(index);
  std::string bytes, error;
  vocor::VocorFileStats stats;
  if (!vocor::BuildVocorFile(words, info, &bytes, &stats, &error)) return false;
  std::ofstream(stem + ".dic", std::ios::binary) << bytes;
  return true;
}

bool InstallAll(vocor::DictionaryState* state, const std::string& folder) {
  for (int i = 0; i < kDictionaries; ++i) {
    if (!WriteDictionary(folder, i)) return false;
    const std::string stem = folder + "/list" + std::to_string(i);
    if (state->Install(stem + (i % 2 == 1 ? ".txt" : ".dic")) == nullptr) {
      return false;
    }
  }
  return state->Save() == vocor::ListsResult::kOk;
}

double OpenOnce(vocor::DictionaryState* state) {
  QElapsedTimer timer;
  timer.start();
  vocor::CConfigureDictionariesDlg dialog(state, 7, nullptr);
  dialog.show();
  QApplication::processEvents();
  const double ms = timer.nsecsElapsed() / 1e6;
  dialog.reject();
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  // Keep the user's own settings store out of the measurement.
  QTemporaryDir home;
  for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
    qputenv(variable, home.path().toLocal8Bit());
  }
  QApplication application(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  vocor::DictionaryState state;
  state.LoadDictionaries();
  if (!home.isValid() || !InstallAll(&state, home.path().toStdString())) {
    std::fprintf(stderr, "cannot install the dictionaries\n");
    return 1;
  }
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) times.push_back(OpenOnce(&state));
  std::sort(times.begin(), times.end());
  std::printf(
      "Configure Dictionaries with %d dictionaries, %d runs: median %.1f ms, "
      "min %.1f ms, max %.1f ms\n",
      kDictionaries, runs, times[times.size() / 2], times.front(),
      times.back());
  return 0;
}
