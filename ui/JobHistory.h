// JobHistory: undo and redo of the changes to the job (drawn vertices and nodes, moves,
// deletions, every Apply of the property editor). Each step keeps the job as it was before and
// after the change, with the polygon-drawing state and the Generate mesh offer that belong to
// it; undo and redo hand one of those states back to the host, which puts it in place. Nothing
// is recomputed, so a job undone to an earlier step saves byte for byte as it did then.
//
// Owns the QUndoStack and, per step, two copies of the job; at most kUndoLimit steps are kept.
// Recording compares the job's file text before and after the change (linear in its size).
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "model/TObjCont.h"
#include "ui/PlanEditing.h"

class QObject;
class QUndoStack;

namespace tavrin {

// Everything an undone step puts back.
struct JobState {
  TObjCont job;
  PolygonDrawing drawing;
  bool meshable = false;       // Generate mesh was offered
  std::uint64_t revision = 0;  // the job document's revision of this state
};

class JobHistoryHost {
 public:
  virtual ~JobHistoryHost() = default;
  virtual JobState CurrentJobState() const = 0;
  // A recorded edit changed the job: the host gives the changed job a new revision and returns
  // it, so that undo can tell the states apart without comparing them.
  virtual std::uint64_t JobChanged() = 0;
  // Puts state in place of the current job (the host decides what else follows from that).
  virtual void RestoreJobState(const JobState& state) = 0;
};

class JobHistory {
 public:
  static constexpr int kUndoLimit = 100;

  JobHistory(JobHistoryHost& host, QObject* parent);
  ~JobHistory();

  // Runs edit, which returns the step's name for the Edit menu ("Move node 3"). When the job
  // changed, the change becomes one step and true is returned; otherwise nothing is recorded.
  bool Record(const std::function<QString()>& edit);
  // Forgets every step (a new or opened job starts without history).
  void Clear();
  QUndoStack& Stack() { return *stack_; }

 private:
  JobHistoryHost& host_;
  QUndoStack* stack_;
};

// Whether two states hold the same job as far as the user can tell: the same file text and the
// same polygon being drawn.
bool SameJob(const TObjCont& a, const TObjCont& b);

// The Edit menu's name of a property editor request: "Move node 3", "Move end node of edge 2",
// "Edit edge 2: loads, constraints", "Edit polygon 0: physics".
QString EditRequestName(const EditRequest& request);

}  // namespace tavrin
