// NewestJobThread: one worker thread for work too long for the GUI thread whose result only
// matters while no newer request has come (the data of the result view just chosen). Each job
// runs on the thread and hands its results back as steps run on the GUI thread.
//
// The newest job wins: a job replaces one not yet started, a running one is told it is
// abandoned (it may stop at its next question), and a step posted by any job but the newest is
// dropped. Owns the thread (joined on destruction); a job owns what it captures.
#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace tavrin {

class NewestJobThread : public QObject {
 public:
  using Abandoned = std::function<bool()>;
  // Called on the thread by a job: step runs on the GUI thread, unless the job is stale by then.
  using Deliver = std::function<void(std::function<void()> step)>;
  using Job = std::function<void(const Abandoned& abandoned, const Deliver& deliver)>;

  // background: the thread's jobs run at a lower priority (on Linux), so that what they make
  // never slows the threads whose results the user is waiting for.
  explicit NewestJobThread(bool background = false);
  ~NewestJobThread() override;

  void Start(Job job);
  // No job any more: one waiting is dropped, a running one abandoned, their steps dropped.
  void Cancel();
  // Cancel, then wait until the thread runs no job: for a caller about to change what the jobs
  // read (the solver they build from).
  void Settle();
  // Waits until the newest job has returned (its steps then wait for the GUI thread's loop).
  void Wait();
  // The newest job has not returned yet (its last step may still be on its way).
  bool Busy() const { return busy_; }

 private:
  void Work();

  std::atomic<std::uint64_t> generation_{0};  // the newest job's number
  bool busy_ = false;                         // GUI thread only
  std::mutex mutex_;                          // guards job_, running_ and stop_
  std::condition_variable wake_, idle_;
  Job job_;  // the job waiting for the thread
  std::uint64_t jobGeneration_ = 0;
  bool running_ = false;
  bool stop_ = false;
  const bool background_;
  std::thread thread_;  // last: started once the members above exist
};

}  // namespace tavrin
