// JobDocument: the job the workbench edits, as a document: the model, the file it belongs to,
// whether it changed since it was opened or saved, and a revision number that names each state
// of the job. A revision is never reused, so "the mesh still belongs to the job" is one integer
// comparison (the revision meshed against the current one) instead of comparing the job's file
// text, and an undone step that brings back a meshed state finds its mesh still valid.
//
// Owns the TObjCont for the life of the document (Replace swaps in another); every operation
// costs constant time except Load and Save (linear in the file) and PrepareForMeshing (that of
// the model's preparation).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/TObjCont.h"

namespace tavrin {

class JobDocument {
 public:
  using Revision = std::uint64_t;
  static constexpr const char* kUntitled = "Untitled";

  JobDocument() : job_(std::make_unique<TObjCont>()) {}

  TObjCont& Job() { return *job_; }
  const TObjCont& Job() const { return *job_; }
  // A new empty job (New): no file, not modified, a fresh revision.
  void Reset();
  // A job read elsewhere takes the place of this one, under a fresh revision.
  void Replace(std::unique_ptr<TObjCont> job);

  // In: a path. Reads into a fresh model, so that a file that cannot be read leaves the job
  // as it was; out: the model's read result (ok, error text, what was skipped).
  [[nodiscard]] JobFileResult Load(const std::string& path);
  // Writes the job to path; the file name is the caller's to change (Save As sets it, the
  // documented Save keeps it).
  [[nodiscard]] JobFileResult SaveTo(const std::string& path) const { return job_->SaveJob(path); }

  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name) { fileName_ = name; }
  bool Untitled() const { return fileName_ == kUntitled; }

  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  // The job changed: modified, and a revision no earlier state had.
  void Changed();

  Revision CurrentRevision() const { return revision_; }
  // An undone or redone step put back the job as it was at that revision.
  void RestoreRevision(Revision r) { revision_ = r; }

  // Prepares the model for the mesher; true (and Changed) when that reordered the polygons,
  // so that Save writes the new order.
  bool PrepareForMeshing();
  // The mesh in hand was made of the job as it is now.
  void MarkMeshed() { meshedRevision_ = revision_; }
  void ForgetMesh() { meshedRevision_ = kNoRevision; }
  bool MeshMatchesJob() const {
    return meshedRevision_ != kNoRevision && meshedRevision_ == revision_;
  }

 private:
  static constexpr Revision kNoRevision = 0;
  void NewRevision() { revision_ = ++lastIssued_; }

  std::unique_ptr<TObjCont> job_;
  std::string fileName_ = kUntitled;
  bool modified_ = false;
  Revision lastIssued_ = 1;
  Revision revision_ = 1;
  Revision meshedRevision_ = kNoRevision;
};

}  // namespace tavrin
