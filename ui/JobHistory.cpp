#include "ui/JobHistory.h"

#include <QStringList>
#include <QUndoStack>

#include "ui/JobEditCommand.h"

namespace tavrin {

JobHistory::JobHistory(JobHistoryHost& host, QObject* parent)
    : host_(host), stack_(new QUndoStack(parent)) {
  stack_->setUndoLimit(kUndoLimit);
}

JobHistory::~JobHistory() = default;

bool JobHistory::Record(const std::function<QString()>& edit) {
  auto before = std::make_shared<const JobState>(host_.CurrentJobState());
  const QString name = edit();
  auto after = std::make_shared<JobState>(host_.CurrentJobState());
  if (SameJob(before->job, after->job)) return false;
  after->revision = host_.JobChanged();
  stack_->push(new JobEditCommand(host_, name, std::move(before), std::move(after)));
  return true;
}

void JobHistory::Clear() { stack_->clear(); }

bool SameJob(const TObjCont& a, const TObjCont& b) {
  return a.NodeCount() == b.NodeCount() && a.NewPolygonPending() == b.NewPolygonPending() &&
         a.PolygonEdgeCount(a.PolygonCount()) == b.PolygonEdgeCount(b.PolygonCount()) &&
         a.JobText() == b.JobText();
}

QString EditRequestName(const EditRequest& r) {
  QString item;
  switch (r.kind) {
    case SelectionKind::node:
      item = QStringLiteral("node %1").arg(r.index);
      break;
    case SelectionKind::edge:
      item = QStringLiteral("edge %1").arg(r.index);
      break;
    case SelectionKind::polygon:
      item = QStringLiteral("polygon %1").arg(r.index);
      break;
    default:
      return QStringLiteral("Edit");
  }
  const bool moves = r.geometryChanged && r.kind != SelectionKind::polygon;
  QStringList groups;
  if (moves) groups << QStringLiteral("position");
  if (r.loadsChanged) groups << QStringLiteral("loads");
  if (r.constraintsChanged) groups << QStringLiteral("constraints");
  if (r.physicsChanged) groups << QStringLiteral("physics");
  if (r.arcChanged && r.kind == SelectionKind::edge) groups << QStringLiteral("arc");
  if (moves && groups.size() == 1) {
    if (r.kind == SelectionKind::node) return QStringLiteral("Move ") + item;
    return QStringLiteral("Move %1 node of ").arg(r.moveBeginNode ? "begin" : "end") + item;
  }
  return QStringLiteral("Edit %1: %2").arg(item, groups.join(QStringLiteral(", ")));
}

}  // namespace tavrin
