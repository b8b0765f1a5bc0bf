#include "app/search/idle_search_driver.h"

#include <QApplication>

namespace vocor {

IdleSearchDriver::IdleSearchDriver(std::function<bool()> step,
                                   std::function<void()> after_tick,
                                   QObject* parent)
    : QObject(parent),
      step_(std::move(step)),
      after_tick_(std::move(after_tick)) {
  timer_.setInterval(0);
  connect(&timer_, &QTimer::timeout, this, &IdleSearchDriver::Tick);
}

void IdleSearchDriver::Start() {
  timer_.setInterval(0);
  timer_.start();
}

void IdleSearchDriver::Stop() { timer_.stop(); }

bool IdleSearchDriver::Paused() const {
  return QApplication::activeModalWidget() != nullptr;
}

void IdleSearchDriver::Tick() {
  if (in_step_ || Paused()) {
    // A zero-interval timer would spin the processor while the step's
    // message box or another dialog is open; look again now and then.
    timer_.setInterval(kPausedPollMs);
    return;
  }
  timer_.setInterval(0);
  in_step_ = true;
  QElapsedTimer clock;
  clock.start();
  bool more = true;
  do {
    more = step_();
  } while (more && !Paused() && timer_.isActive() &&
           clock.elapsed() < kBudgetMs);
  in_step_ = false;
  if (!more) timer_.stop();
  if (after_tick_) after_tick_();
}

}  // namespace vocor
