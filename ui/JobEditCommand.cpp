#include "ui/JobEditCommand.h"

#include "ui/JobHistory.h"

namespace tavrin {

JobEditCommand::JobEditCommand(JobHistoryHost& host, const QString& text,
                               std::shared_ptr<const JobState> before,
                               std::shared_ptr<const JobState> after)
    : QUndoCommand(text), host_(host), before_(std::move(before)), after_(std::move(after)) {}

void JobEditCommand::undo() { host_.RestoreJobState(*before_); }

void JobEditCommand::redo() {
  if (pushed_) host_.RestoreJobState(*after_);
  pushed_ = true;
}

}  // namespace tavrin
