// ResultChoice: which result set the workbench's views, read-out, results table and 3D window
// show: a load case, a combination, or the largest or smallest values of an envelope. A job
// without load cases has one item, its first case, answered by the solver itself as always;
// a job with cases has the case solution of its last solve, one item per case and
// combination and two per envelope.
//
// Shares the case solution with the pipeline runner (it stays alive while chosen from); reads
// the solver only for its mesh, and for the first case's design columns of a job without
// cases (computed once, on the first design view, linear in the mesh). Node values are in the
// solver's numbering, which every set of a case solution shares.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tavrin {

class CaseSolution;
class ListingSource;
class ResultColumns;
class TGlobMatrix;
struct ResultView;

class ResultChoice {
 public:
  enum class Kind { set, envelopeMax, envelopeMin };
  struct Item {
    std::string text;  // what the selector shows
    Kind kind = Kind::set;
    int index = 0;  // into the solution's sets or envelopes
  };

  ResultChoice();
  ~ResultChoice();
  // A copy (a worker's own choice) shares the case solution and the design columns' cache:
  // columns one of them made serve the others.
  ResultChoice(const ResultChoice& other);
  ResultChoice& operator=(const ResultChoice&) = delete;

  // The results of a new solve: `cases` null for a job without cases (then `firstName` is
  // its one item). The first item is chosen.
  void Reset(std::shared_ptr<const CaseSolution> cases, const std::string& firstName);
  bool HasCases() const { return cases_ != nullptr; }
  const std::vector<Item>& Items() const { return items_; }
  int Chosen() const { return chosen_; }
  // False, nothing changed, for an index outside Items().
  bool Choose(int index);
  // The chosen item's text, and that of the set the solver answers for (the first case).
  const std::string& ChosenText() const { return items_[static_cast<std::size_t>(chosen_)].text; }
  const std::string& FirstText() const { return items_.front().text; }

  // The view's values at the nodes for the chosen item; empty when the solver's own field is
  // the answer (a job without cases outside the design views, and the per-element error
  // estimate, which only the first case has). The foundation pressure is the chosen set's.
  std::vector<double> NodeValues(const ResultView& view, const TGlobMatrix& solver) const;
  // The results table's source for the chosen item; null when it is the solver's own.
  std::unique_ptr<ListingSource> Listing() const;

 private:
  std::shared_ptr<const CaseSolution> cases_;
  std::vector<Item> items_;
  int chosen_ = 0;
  // The solver's design columns, made on demand by whichever copy needs them first (threads
  // take turns through the mutex); a new solve's Reset starts a new one.
  struct ColumnsCache {
    std::mutex mutex;
    std::unique_ptr<ResultColumns> columns;
  };
  std::shared_ptr<ColumnsCache> plainColumns_;
};

}  // namespace tavrin
