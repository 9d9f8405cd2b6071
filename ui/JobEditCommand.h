// JobEditCommand: one step of the job's undo stack. It holds the job state before and after a
// change that has already been made when the command is pushed, so the push's own redo does
// nothing; later undos and redos hand the recorded states to the host.
#pragma once

#include <QUndoCommand>
#include <memory>

namespace tavrin {

struct JobState;
class JobHistoryHost;

class JobEditCommand final : public QUndoCommand {
 public:
  JobEditCommand(JobHistoryHost& host, const QString& text, std::shared_ptr<const JobState> before,
                 std::shared_ptr<const JobState> after);
  void undo() override;
  void redo() override;

 private:
  JobHistoryHost& host_;
  std::shared_ptr<const JobState> before_;
  std::shared_ptr<const JobState> after_;
  bool pushed_ = false;
};

}  // namespace tavrin
