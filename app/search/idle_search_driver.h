// Runs a search in the event loop's idle time. Qt has no idle hook: a
// zero-interval timer fires whenever the event queue has been drained, and
// each tick runs search steps until the step reports no more work or a
// small time budget is spent, so that input is handled between ticks and
// a search is not slowed down by one event-loop round per step.
//
// No step runs while another is on the stack (a step may open a message box
// whose event loop ticks the timer) or while any modal dialog is open: the
// search pauses until it is closed.
#ifndef VOCOR_APP_SEARCH_IDLE_SEARCH_DRIVER_H_
#define VOCOR_APP_SEARCH_IDLE_SEARCH_DRIVER_H_

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace vocor {

class IdleSearchDriver : public QObject {
  Q_OBJECT

 public:
  // `step` runs one slice of work and returns whether there is more.
  // `after_tick`, when given, runs after the steps of each tick: the place
  // to show what they produced, once per tick rather than once per step.
  explicit IdleSearchDriver(std::function<bool()> step,
                            std::function<void()> after_tick = {},
                            QObject* parent = nullptr);

  // Starts ticking; ticks stop by themselves when a step returns false.
  void Start();
  void Stop();
  bool active() const { return timer_.isActive(); }
  bool in_step() const { return in_step_; }

  // Time budget of one tick; a tick always runs at least one step.
  static constexpr int kBudgetMs = 4;
  // How often a paused search looks whether the modal dialog has closed.
  static constexpr int kPausedPollMs = 50;

 private:
  void Tick();
  bool Paused() const;

  std::function<bool()> step_;
  std::function<void()> after_tick_;
  QTimer timer_;
  bool in_step_ = false;
};

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_IDLE_SEARCH_DRIVER_H_
