// Progress reporting of a solve. The solver calls these while it works; a window that shows the
// progress derives from this class and overrides them. The defaults do nothing, so a batch run
// or a test passes no reporter at all (a null pointer) or this base class.
#pragma once

#include <string>

namespace tavrin {

class SolveProgress {
 public:
  virtual ~SolveProgress() = default;

  // One step of a long loop: `caption` names the stage, `position` of `total` is how far it
  // got and `index` is the item being worked on (a triangle or an equation).
  virtual void ShowSolveProgress(const std::string& caption, int position, int index, int total) {
    (void)caption;
    (void)position;
    (void)index;
    (void)total;
  }
  // The solve has ended (successfully or not).
  virtual void HideSolveProgress() {}
  // Called right after every ShowSolveProgress so the application can handle pending events.
  virtual void ProcessEvents() {}
  // Asked between the stages of a solve and inside its long loops (assembly, the envelope
  // factorization's rows, the stress recovery); true ends the solve with SolveCode::Stopped and no
  // results. The sparse factorization itself runs to its end once started.
  virtual bool StopRequested() { return false; }
};

}  // namespace tavrin
