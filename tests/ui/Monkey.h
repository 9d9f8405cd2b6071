// A seeded monkey for the workbench: a main window shown offscreen receives random clicks,
// drags, wheel turns, key strokes, menu and tool bar commands, property editor edits and
// window resizes, and every modal dialog it opens is answered with random field texts, clicks
// and keys. The commands are found at run time (every action of the window), and the dialogs,
// the editor and the other controls are driven by walking their widget trees, so commands and
// windows added later are exercised without changes here.
//
// After every step the monkey checks what must hold whatever was done: Qt reported no critical
// message and no misuse warning, the work is over and its progress windows are gone, a job
// shown as unmodified reads the same as its file (both through the model's own reader and
// writer), a modified job was not closed without the question, every file chosen in a save
// chooser was written or a message box said why not, every file chosen to open was opened or a
// message said why not, Generate mesh and Solve Static that ran to their end gave their result
// or said why not, and no number shown is NaN or infinite (status bar, caption, tables).
// A fault ends the run; its text names the seed, the step and the steps before it.
// TAVRIN_MONKEY_LOG (set to anything) prints every step as it is taken.
//
// Owns the main window (re-created when the monkey closed it, as a restarted program), a
// platform that answers the program's boxes and file choosers, a timer that answers modal
// dialogs and presses the stop key while a mesh or a solve runs too long, a Qt message handler,
// a thread that aborts the process (printing the step log) when one step takes far too long,
// and a scratch folder for the files it saves.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tavrin::test {

struct MonkeyOptions {
  std::uint64_t seed = 1;
  int steps = 500;
  std::filesystem::path dir;  // scratch folder; created, and removed by the destructor
  // A mesh or solve is stopped by the stop key once the mesh has more nodes than this, or
  // once it has run longer than busyLimitMs.
  int nodeCap = 1500;
  int busyLimitMs = 3000;
  // A modal dialog still open after this many gestures is sent Escape; one still open after
  // twice as many, or after dialogLimitMs, is a stuck dialog (a fault, then rejected).
  int dialogGestureLimit = 40;
  int dialogLimitMs = 20000;
  // A step that has not ended after this long aborts the process with the step log.
  int stepLimitMs = 120000;
};

struct MonkeyFigures {
  int steps = 0;
  int actions = 0;  // commands triggered
  int dialogs = 0;  // modal dialogs answered
  int dialogGestures = 0;
  int messages = 0;  // boxes shown through the platform
  int confirmations = 0;
  int fileChoosers = 0;
  int meshes = 0;  // generations that ran
  int usableMeshes = 0;
  int stops = 0;   // stop keys pressed while busy
  int solves = 0;  // successful static solves
  int restarts = 0;
  int maxNodes = 0;  // the largest mesh made
  double seconds = 0;
};

class Monkey {
 public:
  explicit Monkey(MonkeyOptions options);
  ~Monkey();
  Monkey(const Monkey&) = delete;
  Monkey& operator=(const Monkey&) = delete;

  // Runs the steps. Returns the faults found (empty when none); the first ends the run.
  std::vector<std::string> Run();
  const MonkeyFigures& Figures() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

// The steps per seed: TAVRIN_MONKEY_STEPS when set to a positive number, else fallback.
int MonkeyStepsFromEnvironment(int fallback);
// Added to every seed, to try other sequences locally: TAVRIN_MONKEY_SEED_OFFSET, else 0.
std::uint64_t MonkeySeedOffsetFromEnvironment();

}  // namespace tavrin::test
