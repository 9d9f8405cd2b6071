#include "ui/JobDocument.h"

namespace tavrin {

void JobDocument::Reset() {
  job_ = std::make_unique<TObjCont>();
  fileName_ = kUntitled;
  modified_ = false;
  meshedRevision_ = kNoRevision;
  NewRevision();
}

void JobDocument::Replace(std::unique_ptr<TObjCont> job) {
  job_ = std::move(job);
  meshedRevision_ = kNoRevision;
  NewRevision();
}

JobFileResult JobDocument::Load(const std::string& path) {
  auto loaded = std::make_unique<TObjCont>();
  JobFileResult result = loaded->LoadJob(path);
  if (result) Replace(std::move(loaded));
  return result;
}

void JobDocument::Changed() {
  modified_ = true;
  NewRevision();
}

// Edges belong to one polygon each, so slot 0 holds another list exactly when its first edge
// changed: the outline was moved there from another slot. (The node tags the preparation sets
// are not part of the file.)
bool JobDocument::PrepareForMeshing() {
  auto firstOutlineEdge = [this] {
    return job_->PolygonCount() > 0 && job_->PolygonEdgeCount(0) > 0 ? job_->PolygonEdge(0, 0) : -1;
  };
  const int before = firstOutlineEdge();
  job_->PrepareForMeshing();
  if (firstOutlineEdge() == before) return false;
  Changed();
  return true;
}

}  // namespace tavrin
