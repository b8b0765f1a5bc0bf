#include "tools/vocor-cli/progress_bar.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace vocor::cli {
namespace {

constexpr auto kDelay = std::chrono::milliseconds(300);
constexpr auto kInterval = std::chrono::milliseconds(100);
constexpr int kWidth = 40;

}  // namespace

ProgressBar::ProgressBar(int extent)
    : enabled_(::isatty(STDERR_FILENO) == 1),
      extent_(extent > 0 ? extent : 1),
      start_(Clock::now()),
      last_draw_(start_) {}

ProgressBar::~ProgressBar() { Erase(); }

void ProgressBar::Hide() {
  if (!drawn_) return;
  std::fprintf(stderr, "\r%*s\r", kWidth + 8, "");
  std::fflush(stderr);
  drawn_ = false;
}

void ProgressBar::Erase() {
  Hide();
  enabled_ = false;
}

void ProgressBar::Update(int position) {
  if (!enabled_) return;
  const auto now = Clock::now();
  if (now - start_ < kDelay || (ever_drawn_ && now - last_draw_ < kInterval)) {
    return;
  }
  last_draw_ = now;
  drawn_ = ever_drawn_ = true;
  if (position < 0) position = 0;
  if (position > extent_) position = extent_;
  const int filled =
      static_cast<int>(static_cast<long long>(position) * kWidth / extent_);
  const int percent =
      static_cast<int>(static_cast<long long>(position) * 100 / extent_);
  std::string bar(filled, '#');
  bar.append(kWidth - filled, '.');
  std::fprintf(stderr, "\r[%s] %3d%%", bar.c_str(), percent);
  std::fflush(stderr);
}

}  // namespace vocor::cli
