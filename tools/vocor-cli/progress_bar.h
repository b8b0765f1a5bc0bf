// A progress bar on stderr for searches that take more than a moment.
// Draws nothing unless stderr is a terminal.
#ifndef VOCOR_TOOLS_VOCOR_CLI_PROGRESS_BAR_H_
#define VOCOR_TOOLS_VOCOR_CLI_PROGRESS_BAR_H_

#include <chrono>

namespace vocor::cli {

class ProgressBar {
 public:
  explicit ProgressBar(int extent);
  // Erases the bar if one was drawn.
  ~ProgressBar();

  // Redraws at most ten times a second, and only after a short delay.
  void Update(int position);
  // Takes the bar off the terminal, so that what is written next starts a
  // clean line; the next Update may draw it again.
  void Hide();
  // Removes the bar from the terminal for good.
  void Erase();

 private:
  using Clock = std::chrono::steady_clock;

  bool enabled_;
  bool drawn_ = false;  // the bar is on the terminal now
  bool ever_drawn_ = false;
  int extent_;
  Clock::time_point start_;
  Clock::time_point last_draw_;
};

}  // namespace vocor::cli

#endif  // VOCOR_TOOLS_VOCOR_CLI_PROGRESS_BAR_H_
