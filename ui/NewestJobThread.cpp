#include "ui/NewestJobThread.h"

#include <utility>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace tavrin {

NewestJobThread::NewestJobThread(bool background)
    : background_(background), thread_([this] { Work(); }) {}

NewestJobThread::~NewestJobThread() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    job_ = nullptr;
    ++generation_;  // abandons a job in progress
  }
  wake_.notify_one();
  thread_.join();
}

void NewestJobThread::Start(Job job) {
  {
    std::lock_guard lock(mutex_);
    job_ = std::move(job);
    jobGeneration_ = ++generation_;
  }
  busy_ = true;
  wake_.notify_one();
}

void NewestJobThread::Cancel() {
  std::lock_guard lock(mutex_);
  job_ = nullptr;
  ++generation_;
  busy_ = false;
}

void NewestJobThread::Settle() {
  Cancel();
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return !running_; });
}

void NewestJobThread::Wait() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return !running_ && job_ == nullptr; });
}

void NewestJobThread::Work() {
#ifdef __linux__
  // Linux gives each thread its own nice value; a thread may always lower its own priority.
  if (background_) setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
#endif
  for (;;) {
    Job job;
    std::uint64_t generation = 0;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || job_ != nullptr; });
      if (stop_) return;
      job = std::move(job_);
      job_ = nullptr;
      generation = jobGeneration_;
      running_ = true;
    }
    const Abandoned abandoned = [this, generation] { return generation_ != generation; };
    // Steps are run on the GUI thread in the order posted; a thread destroyed meanwhile runs
    // none (Qt drops the events posted to a deleted object).
    const Deliver deliver = [this, generation](std::function<void()> step) {
      QMetaObject::invokeMethod(
          this,
          [this, generation, step = std::move(step)] {
            if (generation == generation_) step();
          },
          Qt::QueuedConnection);
    };
    job(abandoned, deliver);
    job = nullptr;  // what it captured goes before the thread says it is idle
    deliver([this] { busy_ = false; });
    {
      std::lock_guard lock(mutex_);
      running_ = false;
    }
    idle_.notify_all();
  }
}

}  // namespace tavrin
