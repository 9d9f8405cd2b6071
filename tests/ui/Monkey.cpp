#include "tests/ui/Monkey.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

#include "analysis/AdaptiveSolve.h"
#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "model/TObjCont.h"
#include "ui/PlanView.h"
#include "ui/Platform.h"
#include "ui/RecentFiles.h"
#include "ui/TMainWindow.h"
#include "ui/TMeshInformer.h"
#include "ui/TMesh_params.h"
#include "ui/TSolveInformer.h"
#include "ui/ViewTransform.h"

namespace tavrin::test {
namespace fs = std::filesystem;
namespace {

using Clock = std::chrono::steady_clock;

long long NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
      .count();
}

// Reproducible across standard libraries: only the engine's raw output is used.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : engine_(seed) {}
  int Below(int n) {
    return n <= 1 ? 0 : static_cast<int>(engine_() % static_cast<std::uint64_t>(n));
  }
  bool Chance(double p) { return Unit() < p; }
  double Unit() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
  double Uniform(double a, double b) { return a + (b - a) * Unit(); }
  template <class T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
  }

 private:
  std::mt19937_64 engine_;
};

// Texts a user may type into a number field, the hostile ones first among them.
const char* const kFieldTexts[] = {"",
                                   " ",
                                   "0",
                                   "-0",
                                   "1",
                                   "-1",
                                   "0.5",
                                   "2",
                                   "10",
                                   "100",
                                   "1e308",
                                   "-1e308",
                                   "1e39",
                                   "3.5e38",
                                   "1e-320",
                                   "1e-45",
                                   "nan",
                                   "NaN",
                                   "inf",
                                   "-inf",
                                   "Infinity",
                                   "abc",
                                   "1,5",
                                   "1.5.5",
                                   "0x10",
                                   "1e",
                                   "+",
                                   "-",
                                   "--1",
                                   " 42 ",
                                   "12abc",
                                   "99999999999999999999",
                                   "2147483647",
                                   "2147483648",
                                   "-2147483649",
                                   "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2",
                                   "\xef\xbc\x91\xef\xbc\x92",
                                   "\t7\t",
                                   "1e-6",
                                   "31",
                                   "35",
                                   "35.0001",
                                   "90",
                                   "180",
                                   "-90",
                                   "1e12",
                                   "1e13",
                                   "7"};

std::string FieldText(Rng& rng) {
  const int n = static_cast<int>(std::size(kFieldTexts));
  switch (rng.Below(5)) {
    case 0:
    case 1:
      return kFieldTexts[rng.Below(n)];
    case 2:
      return std::to_string(rng.Below(2000) - 200);
    case 3: {
      char text[64];
      std::snprintf(text, sizeof text, "%.*g", 1 + rng.Below(9), rng.Uniform(-1000, 1000));
      return text;
    }
    default:
      return rng.Chance(0.1) ? std::string(static_cast<size_t>(50 + rng.Below(400)), '9')
                             : std::to_string(rng.Below(50));
  }
}

bool ShowsNonFinite(const QString& text) {
  static const QRegularExpression pattern(
      QStringLiteral("(?<![A-Za-z])(nan|inf|infinity)(?![A-Za-z])"),
      QRegularExpression::CaseInsensitiveOption);
  return pattern.match(text).hasMatch();
}

// Qt warnings that mean the program used Qt wrongly (not the offscreen platform's notes).
bool IsMisuse(const QString& message) {
  static const char* const kPrefixes[] = {"QObject::",
                                          "QPainter::",
                                          "QWidget::repaint",
                                          "QWidget::setTabOrder",
                                          "QLayout",
                                          "QAbstractItemModel",
                                          "QSortFilterProxyModel",
                                          "QBasicTimer",
                                          "QTimer",
                                          "QCoreApplication::",
                                          "QPixmap::",
                                          "QImage::",
                                          "QFont::",
                                          "QString::arg",
                                          "QAbstractItemView",
                                          "QHeaderView"};
  for (const char* prefix : kPrefixes)
    if (message.startsWith(QLatin1String(prefix))) return true;
  return false;
}

// "line N: 'a' against 'b'" for the first line where two texts differ.
std::string FirstDifference(const std::string& a, const std::string& b) {
  size_t line = 1, begin = 0;
  for (size_t i = 0; i < std::min(a.size(), b.size()) && a[i] == b[i]; ++i)
    if (a[i] == '\n') ++line, begin = i + 1;
  auto lineAt = [begin](const std::string& s) {
    return s.substr(begin, s.find('\n', begin) - begin);
  };
  return "line " + std::to_string(line) + ": '" + lineAt(a) + "' against '" + lineAt(b) + "'";
}

struct Chosen {
  std::string path;
  bool save = false;
  bool job = false;  // a job file chooser (else a data file)
};

// Answers the program's boxes and choosers at random, and records them for the step checks.
class MonkeyPlatform : public Platform {
 public:
  MonkeyPlatform(Rng& rng, fs::path dir, std::vector<std::string> examples)
      : rng_(rng), dir_(std::move(dir)), examples_(std::move(examples)) {
    previous_ = InstallPlatform(this);
  }
  ~MonkeyPlatform() override { InstallPlatform(previous_); }

  void ShowMessage(const std::string& text, const std::string& caption) override {
    messages.push_back(caption + ": " + text);
    log("    box " + messages.back());
  }
  bool ConfirmYesNo(const std::string& text, const std::string&) override {
    confirmations.push_back(text);
    const bool yes = rng_.Chance(0.5);
    log("    '" + text + "' answered " + (yes ? "Yes" : "No"));
    return yes;
  }
  std::string ChooseOpenFile(const FileFilter& filter) override {
    // A drawing to import is no job to open: the import dialog itself says what it found.
    const bool job = filter.defaultExtension == kOpenJobFilter.defaultExtension;
    std::string path;
    switch (rng_.Below(10)) {
      case 0:
        break;  // cancelled
      case 1:
        path = (dir_ / "garbage.sam").string();
        break;
      case 2:
        path = (dir_ / "skipped.sam").string();
        break;
      case 3:
        path = (dir_ / "missing.sam").string();
        break;
      case 4:
        path = dir_.string();
        break;
      case 5:
      case 6:
        path = (dir_ / ("job" + std::to_string(rng_.Below(4)) + ".sam")).string();
        break;
      default:
        path = rng_.Pick(examples_);
        break;
    }
    choosers.push_back({path, false, job});
    log("    open chooser answers '" + path + "'");
    return path;
  }
  std::string ChooseSaveFile(const FileFilter& filter) override {
    const bool job = filter.defaultExtension == kSaveJobFilter.defaultExtension;
    std::string path;
    switch (rng_.Below(12)) {
      case 0:
        break;
      case 1:
        path = (dir_ / "no-such-folder" / "x.sam").string();
        break;
      case 2:
        path = dir_.string();
        break;
      default:
        path =
            (dir_ / (job ? "job" + std::to_string(rng_.Below(4)) + ".sam"
                         : "data" + std::to_string(rng_.Below(3)) + "." + filter.defaultExtension))
                .string();
        break;
    }
    choosers.push_back({path, true, job});
    log("    save chooser answers '" + path + "'");
    return path;
  }

  void ClearStep() {
    messages.clear();
    confirmations.clear();
    choosers.clear();
  }

  std::vector<std::string> messages;
  std::vector<std::string> confirmations;
  std::vector<Chosen> choosers;
  std::function<void(const std::string&)> log = [](const std::string&) {};

 private:
  Rng& rng_;
  fs::path dir_;
  std::vector<std::string> examples_;
  Platform* previous_ = nullptr;
};

}  // namespace

class Monkey::Impl {
 public:
  explicit Impl(MonkeyOptions options);
  ~Impl();
  std::vector<std::string> Run();
  MonkeyFigures figures;

 private:
  struct Gesture {
    std::string text;
    std::function<void()> run;
  };

  void MakeWindow();
  void CloseWindow();
  Gesture NextGesture();
  Gesture ActionGesture();
  Gesture PlanGesture(Rng& rng);
  Gesture KeyGesture();
  Gesture ControlGesture(QWidget* root, bool modal, Rng& rng);
  QPoint PlanPoint(Rng& rng);
  std::vector<QWidget*> Controls(QWidget* root, bool modal) const;
  void Tick();
  void BusyTick();
  void DialogTick(QWidget* dialog);
  void Dispatch(Gesture g, QWidget* dialog);
  void ScanTables(QWidget* root);
  void CheckStep(const std::string& command, bool commandEnabled, bool modifiedBefore);
  std::optional<std::string> SavedJobText(const std::string& path) const;
  void Fault(const std::string& what);
  void Log(const std::string& line);
  std::string LogText();
  static void QtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message);

  MonkeyOptions options_;
  Rng rng_;
  // For what the timer does while a mesh or solve runs: how often it fires depends on the
  // machine, and must not shift the main sequence of gestures.
  Rng busyRng_;
  std::unique_ptr<MonkeyPlatform> platform_;
  std::unique_ptr<TMainWindow> window_;
  QTimer timer_;
  std::vector<std::string> faults_;
  int step_ = 0;

  // While busy: when it began, and whether the monkey pressed a stop key in this step.
  long long busySince_ = 0;
  int busyTicks_ = 0, stopAtTick_ = -1;
  bool stoppedThisStep_ = false;
  // The dialog being answered, since when and with how many gestures.
  QPointer<QWidget> dialog_;
  long long dialogSince_ = 0;
  int dialogGestures_ = 0;
  std::vector<QWidget*> answering_;  // the dialogs whose gesture is running
  bool scheduled_ = false;           // a gesture waits for its event

  std::mutex logMutex_;
  std::deque<std::string> log_;
  std::atomic<long long> stepStart_{0};
  std::atomic<bool> quit_{false};
  std::thread watchdog_;

  static Impl* current_;
  static QtMessageHandler previousHandler_;
  std::vector<std::string> qtFaults_;
};

Monkey::Impl* Monkey::Impl::current_ = nullptr;
QtMessageHandler Monkey::Impl::previousHandler_ = nullptr;

Monkey::Impl::Impl(MonkeyOptions options)
    : options_(std::move(options)),
      rng_(options_.seed),
      busyRng_(options_.seed ^ 0x9e3779b97f4a7c15ull) {
  fs::remove_all(options_.dir);
  fs::create_directories(options_.dir);
  std::vector<std::string> examples;
  // Copies, since Save writes over the file a job was opened from.
  for (const auto& entry : fs::directory_iterator(fs::path(TAVRIN_SOURCE_DIR) / "examples"))
    if (entry.path().extension() == ".sam") examples.push_back(entry.path().filename().string());
  std::sort(examples.begin(), examples.end());
  for (std::string& name : examples) {
    fs::copy_file(fs::path(TAVRIN_SOURCE_DIR) / "examples" / name, options_.dir / name);
    name = (options_.dir / name).string();
  }
  {
    std::ofstream garbage(options_.dir / "garbage.sam", std::ios::binary);
    for (int i = 0; i < 300; ++i) garbage.put(static_cast<char>(rng_.Below(256)));
    std::ifstream example(examples.front());
    std::ofstream skipped(options_.dir / "skipped.sam");
    skipped << example.rdbuf() << "Z, what is this\nN, 1, abc, 0\n";
  }
  platform_ = std::make_unique<MonkeyPlatform>(rng_, options_.dir, examples);
  platform_->log = [this](const std::string& line) { Log(line); };
  current_ = this;
  previousHandler_ = qInstallMessageHandler(&Impl::QtMessage);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
  watchdog_ = std::thread([this] {
    while (!quit_) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      const long long start = stepStart_;
      if (start > 0 && NowMs() - start > options_.stepLimitMs) {
        std::fprintf(stderr, "monkey seed %llu: a step ran longer than %d ms; the steps:\n%s\n",
                     static_cast<unsigned long long>(options_.seed), options_.stepLimitMs,
                     LogText().c_str());
        std::fflush(stderr);
        std::abort();
      }
    }
  });
}

Monkey::Impl::~Impl() {
  timer_.stop();
  CloseWindow();
  quit_ = true;
  watchdog_.join();
  qInstallMessageHandler(previousHandler_);
  current_ = nullptr;
  platform_.reset();
  std::error_code ignored;
  fs::remove_all(options_.dir, ignored);
}

void Monkey::Impl::QtMessage(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
  if (current_ &&
      (type == QtCriticalMsg || type == QtFatalMsg || (type == QtWarningMsg && IsMisuse(message))))
    current_->qtFaults_.push_back("Qt said: " + message.toStdString());
  // The offscreen platform's notes on what it cannot do would bury the run's output.
  if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
    return;
  if (previousHandler_) previousHandler_(type, context, message);
}

void Monkey::Impl::MakeWindow() {
  // A restarted program: the process-wide settings are back to their defaults.
  GlobalMeshParameters() = MeshParameters{};
  GlobalMeshStatistics() = MeshStatistics{};
  GlobalAdaptiveSettings() = AdaptiveSettings{};
  window_ = std::make_unique<TMainWindow>();
  window_->SetWaitForRuns(true);
  window_->resize(800, 700);
  window_->show();
  window_->activateWindow();
  QApplication::processEvents();
}

void Monkey::Impl::CloseWindow() {
  if (!window_) return;
  window_->Document().SetModified(false);  // no question while the monkey ends the program
  window_.reset();
  QApplication::processEvents();
}

void Monkey::Impl::Log(const std::string& line) {
  static const bool echo =
      std::getenv("TAVRIN_MONKEY_LOG") != nullptr;  // every step, for a local look
  if (echo) std::printf("%s\n", line.c_str());
  std::lock_guard lock(logMutex_);
  log_.push_back(line);
  if (log_.size() > 25) log_.pop_front();
}

std::string Monkey::Impl::LogText() {
  std::lock_guard lock(logMutex_);
  std::string text;
  for (const std::string& line : log_) text += "  " + line + "\n";
  return text;
}

void Monkey::Impl::Fault(const std::string& what) {
  faults_.push_back("seed " + std::to_string(options_.seed) + ", step " + std::to_string(step_) +
                    ": " + what + "\nthe last steps:\n" + LogText());
}

std::optional<std::string> Monkey::Impl::SavedJobText(const std::string& path) const {
  TObjCont job;
  if (path == "Untitled") return job.JobText();
  if (!job.LoadJob(path)) return std::nullopt;
  return job.JobText();
}

// ---------------------------------------------------------------- gestures

QPoint Monkey::Impl::PlanPoint(Rng& rng) {
  PlanView* plan = window_->PlanArea();
  const TObjCont& job = window_->Structure();
  if (job.NodeCount() > 0 && rng.Chance(0.5)) {
    const int node = rng.Below(job.NodeCount());
    const ViewTransform& t = CurrentViewTransform();
    return QPoint(t.ScreenX(job.NodeX(node)) + rng.Below(5) - 2,
                  t.ScreenY(job.NodeY(node)) + rng.Below(5) - 2);
  }
  return QPoint(rng.Below(std::max(1, plan->width())), rng.Below(std::max(1, plan->height())));
}

Monkey::Impl::Gesture Monkey::Impl::PlanGesture(Rng& rng) {
  PlanView* plan = window_->PlanArea();
  const QPoint p = PlanPoint(rng);
  const Qt::KeyboardModifiers mods = rng.Chance(0.1)    ? Qt::ShiftModifier
                                     : rng.Chance(0.05) ? Qt::ControlModifier
                                                        : Qt::NoModifier;
  const std::string at = " at " + std::to_string(p.x()) + "," + std::to_string(p.y());
  QPointer<PlanView> target(plan);
  const int kind = rng.Below(22);
  if (kind >= 20)  // the read-out of the value under the mouse
    return {"plan hover" + at, [=] {
              if (target) QTest::mouseMove(target, p);
            }};
  if (kind < 11)
    return {"plan left click" + at, [=] {
              if (target) QTest::mouseClick(target, Qt::LeftButton, mods, p);
            }};
  if (kind < 14)
    return {"plan right click" + at, [=] {
              if (target) QTest::mouseClick(target, Qt::RightButton, mods, p);
            }};
  if (kind < 15)
    return {"plan double click" + at, [=] {
              if (target) QTest::mouseDClick(target, Qt::LeftButton, mods, p);
            }};
  if (kind < 18) {
    const Qt::MouseButton button = rng.Chance(0.5)   ? Qt::MiddleButton
                                   : rng.Chance(0.5) ? Qt::LeftButton
                                                     : Qt::RightButton;
    const QPoint q = PlanPoint(rng);
    return {"plan drag button " + std::to_string(button) + at + " to " + std::to_string(q.x()) +
                "," + std::to_string(q.y()),
            [=] {
              if (!target) return;
              QTest::mousePress(target, button, mods, p);
              for (int i = 1; i <= 4 && target; ++i) QTest::mouseMove(target, p + (q - p) * i / 4);
              if (target) QTest::mouseRelease(target, button, mods, q);
            }};
  }
  const int delta = rng.Chance(0.5) ? 120 : -120;
  return {"plan wheel " + std::to_string(delta) + at, [=] {
            if (!target) return;
            QWheelEvent wheel(QPointF(p), QPointF(target->mapToGlobal(p)), QPoint(),
                              QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &wheel);
          }};
}

Monkey::Impl::Gesture Monkey::Impl::KeyGesture() {
  static const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> kKeys = {
      {Qt::Key_Escape, {}},
      {Qt::Key_Delete, {}},
      {Qt::Key_Backspace, {}},
      {Qt::Key_Shift, {}},
      {Qt::Key_Space, {}},
      {Qt::Key_Return, {}},
      {Qt::Key_F, {}},
      {Qt::Key_Plus, {}},
      {Qt::Key_Minus, {}},
      {Qt::Key_Left, {}},
      {Qt::Key_Right, {}},
      {Qt::Key_Up, {}},
      {Qt::Key_Down, {}},
      {Qt::Key_Tab, {}},
      {Qt::Key_A, {}},
      {Qt::Key_1, {}},
      {Qt::Key_Z, Qt::ControlModifier},
      {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
      {Qt::Key_N, Qt::ControlModifier},
      {Qt::Key_O, Qt::ControlModifier},
      {Qt::Key_S, Qt::ControlModifier},
      {Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier},
      {Qt::Key_Q, Qt::ControlModifier}};
  // Copied out of the structured binding: Clang 14 cannot capture bindings in a lambda.
  const auto& picked = rng_.Pick(kKeys);
  const Qt::Key key = picked.first;
  const Qt::KeyboardModifiers mods = picked.second;
  QPointer<QWidget> target = QApplication::focusWidget();
  if (!target || target->window() != window_.get()) target = window_->PlanArea();
  return {
      "key " +
          QKeySequence(static_cast<int>(key) | static_cast<int>(mods)).toString().toStdString() +
          " to " + target->metaObject()->className(),
      [this, target, key, mods] {
        window_->activateWindow();
        if (target) QTest::keyClick(target, key, mods);
      }};
}

// Any enabled command; now and then one of those that lead to a mesh and a solve, which a
// uniform choice among thirty commands (Exit among them) seldom reaches in sequence.
Monkey::Impl::Gesture Monkey::Impl::ActionGesture() {
  static const char* const kPipeline[] = {"Open1", "Generatemesh", "SolveStaticMenu",
                                          "SolveStressMenu"};
  std::vector<QAction*> actions, pipeline;
  for (QAction* a : window_->findChildren<QAction*>()) {
    if (a->isSeparator() || a->menu() || !a->isEnabled() || a->objectName().isEmpty()) continue;
    actions.push_back(a);
    for (const char* name : kPipeline)
      if (a->objectName() == QLatin1String(name)) pipeline.push_back(a);
  }
  if (actions.empty()) return {"no command", [] {}};
  QPointer<QAction> action =
      !pipeline.empty() && rng_.Chance(0.5) ? rng_.Pick(pipeline) : rng_.Pick(actions);
  return {"command " + action->objectName().toStdString(), [action] {
            if (action) action->trigger();
          }};
}

// The controls a user can reach in root's window (and, for the main window, in its tool
// windows): buttons, fields, lists, tabs, sliders and the program's own widgets.
std::vector<QWidget*> Monkey::Impl::Controls(QWidget* root, bool modal) const {
  std::vector<QWidget*> controls;
  PlanView* plan = window_ ? window_->PlanArea() : nullptr;
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (!w->isVisible() || !w->isEnabled()) continue;
    QWidget* top = w->window();
    if (modal ? top != root : (top->isModal() || (top != root && top->parentWidget() != root)))
      continue;
    if (qobject_cast<QDialog*>(top) && top != root) continue;
    if (plan && (w == plan || plan->isAncestorOf(w))) continue;
    if (qobject_cast<QMenuBar*>(w) || qobject_cast<QMenu*>(w)) continue;
    const bool own = QByteArray(w->metaObject()->className()).startsWith("tavrin::");
    if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
        qobject_cast<QComboBox*>(w) || qobject_cast<QTabBar*>(w) ||
        qobject_cast<QAbstractSlider*>(w) ||
        (w->parentWidget() && qobject_cast<QAbstractItemView*>(w->parentWidget())) ||
        (own && !qobject_cast<QDialog*>(w)))
      controls.push_back(w);
  }
  return controls;
}

Monkey::Impl::Gesture Monkey::Impl::ControlGesture(QWidget* root, bool modal, Rng& rng) {
  std::vector<QWidget*> controls = Controls(root, modal);
  // The tool bar's dozen buttons would otherwise take most gestures from the tool windows'
  // fields (the property editor's), where typed values are checked.
  std::vector<QWidget*> tools;
  std::copy_if(controls.begin(), controls.end(), std::back_inserter(tools),
               [root](QWidget* w) { return w->window() != root; });
  if (!tools.empty() && rng.Chance(0.6)) controls = tools;
  if (controls.empty()) return {"no control", [] {}};
  QPointer<QWidget> w = rng.Pick(controls);
  const std::string name =
      std::string(w->metaObject()->className()) + " '" + w->objectName().toStdString() + "'";
  if (qobject_cast<QLineEdit*>(w.data())) {
    const std::string text = FieldText(rng);
    const bool enter = rng.Chance(0.3);
    return {"type '" +
                (text.size() > 30 ? text.substr(0, 30) + "...(" + std::to_string(text.size()) + ")"
                                  : text) +
                "' into " + name + (enter ? " and Enter" : ""),
            [w, text, enter] {
              auto* field = qobject_cast<QLineEdit*>(w.data());
              if (!field) return;
              field->setFocus();
              field->selectAll();
              // Typed when short and printable ASCII (what the test library can type), else pasted.
              const bool typable =
                  text.size() <= 24 && std::all_of(text.begin(), text.end(),
                                                   [](char c) { return c >= ' ' && c <= '~'; });
              if (typable)
                QTest::keyClicks(field, QString::fromStdString(text));
              else
                field->insert(QString::fromStdString(text));
              if (enter && w) QTest::keyClick(w, Qt::Key_Return);
            }};
  }
  if (qobject_cast<QComboBox*>(w.data())) {
    const Qt::Key key = rng.Chance(0.5) ? Qt::Key_Down : Qt::Key_Up;
    return {"key " + std::string(key == Qt::Key_Down ? "Down" : "Up") + " in " + name, [w, key] {
              if (w) QTest::keyClick(w, key);
            }};
  }
  const QPoint p =
      qobject_cast<QAbstractButton*>(w.data())
          ? w->rect().center()
          : QPoint(rng.Below(std::max(1, w->width())), rng.Below(std::max(1, w->height())));
  const bool twice = !qobject_cast<QAbstractButton*>(w.data()) && rng.Chance(0.15);
  return {std::string(twice ? "double click " : "click ") + name + " at " + std::to_string(p.x()) +
              "," + std::to_string(p.y()),
          [w, p, twice] {
            if (!w) return;
            if (twice)
              QTest::mouseDClick(w, Qt::LeftButton, {}, p);
            else
              QTest::mouseClick(w, Qt::LeftButton, {}, p);
          }};
}

Monkey::Impl::Gesture Monkey::Impl::NextGesture() {
  const int kind = rng_.Below(100);
  if (kind < 30) return ActionGesture();
  if (kind == 99 && rng_.Chance(0.3)) return {"close the window", [this] { window_->close(); }};
  if (kind < 58) return PlanGesture(rng_);
  if (kind < 68) return KeyGesture();
  if (kind < 96) return ControlGesture(window_.get(), false, rng_);
  {
    const int w = 300 + rng_.Below(900), h = 250 + rng_.Below(700);
    return {"resize to " + std::to_string(w) + "x" + std::to_string(h),
            [this, w, h] { window_->resize(w, h); }};
  }
}

// ---------------------------------------------------------------- the timer: dialogs and busy work

void Monkey::Impl::Tick() {
  if (!window_ || scheduled_) return;
  if (QWidget* popup = QApplication::activePopupWidget()) {
    popup->close();
    return;
  }
  if (window_->Busy()) {
    BusyTick();
    return;
  }
  busySince_ = 0;
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || std::find(answering_.begin(), answering_.end(), modal) != answering_.end()) return;
  DialogTick(modal);
}

// Qt never fires a timer again while its handler runs, so a gesture that opens a dialog or a
// menu from inside the tick would leave it unanswered: gestures run from an event of their own.
void Monkey::Impl::Dispatch(Gesture g, QWidget* dialog) {
  scheduled_ = true;
  QTimer::singleShot(0, &timer_, [this, g = std::move(g), target = QPointer<QWidget>(dialog)] {
    scheduled_ = false;
    if (!window_) return;
    QWidget* dialog = target.data();
    answering_.push_back(dialog);
    g.run();
    answering_.pop_back();
    if (target && target->isVisible()) ScanTables(target);
  });
}

// The timer fires on every pass of the event loop, so the ticks of one mesh or solve follow
// its passes and what is done on them is the same from run to run, but for the time limit.
void Monkey::Impl::BusyTick() {
  const long long now = NowMs();
  if (busySince_ == 0) {
    busySince_ = now;
    busyTicks_ = 0;
    stopAtTick_ = busyRng_.Chance(0.15) ? busyRng_.Below(40) : -1;
    // The user goes on clicking and typing while the work runs: all of it must be ignored safely.
    if (busyRng_.Chance(0.3)) {
      // Closing waits for the work to end, then asks about a modified job as ever.
      Gesture g = busyRng_.Chance(0.1)   ? Gesture{"close the window", [this] { window_->close(); }}
                  : busyRng_.Chance(0.5) ? PlanGesture(busyRng_)
                                         : ControlGesture(window_.get(), false, busyRng_);
      Log("  while busy: " + g.text);
      Dispatch(std::move(g), nullptr);
      return;
    }
  }
  ++busyTicks_;
  const int nodes = window_->Mesh().NodeCount();
  figures.maxNodes = std::max(figures.maxNodes, nodes);
  const bool tooLong = now - busySince_ > options_.busyLimitMs, tooBig = nodes > options_.nodeCap;
  if (tooLong || tooBig || busyTicks_ == stopAtTick_) {
    ++figures.stops;
    stoppedThisStep_ = true;
    Log("  stop key while busy (" + std::to_string(nodes) + " nodes, " +
        std::to_string(now - busySince_) + " ms)");
    QTest::keyClick(window_.get(), Qt::Key_Escape);
    busySince_ = now;  // one more key after as long again, if this one went unheard
  }
}

void Monkey::Impl::DialogTick(QWidget* dialog) {
  const long long now = NowMs();
  if (dialog_ != dialog) {
    dialog_ = dialog;
    dialogSince_ = now;
    dialogGestures_ = 0;
    ++figures.dialogs;
    ScanTables(dialog);
  }
  ++dialogGestures_;
  ++figures.dialogGestures;
  const std::string title = dialog->windowTitle().toStdString();
  if (dialogGestures_ > 2 * options_.dialogGestureLimit ||
      now - dialogSince_ > options_.dialogLimitMs) {
    Fault("the dialog '" + title + "' stays open after " + std::to_string(dialogGestures_) +
          " gestures and Escape");
    if (auto* d = qobject_cast<QDialog*>(dialog)) d->reject();
    dialog->close();
    return;
  }
  Gesture g;
  QPointer<QWidget> target(dialog);
  if (dialogGestures_ > options_.dialogGestureLimit || rng_.Chance(0.08)) {
    g = {"Escape", [target] {
           if (target) QTest::keyClick(target, Qt::Key_Escape);
         }};
  } else if (rng_.Chance(0.06)) {
    g = {"Enter", [target] {
           if (target) QTest::keyClick(target, Qt::Key_Return);
         }};
  } else {
    g = ControlGesture(dialog, true, rng_);
  }
  Log("  in '" + title + "': " + g.text);
  Dispatch(std::move(g), dialog);
}

// Every cell a table shows (the first rows of it) must be a number or a word, never NaN or inf.
void Monkey::Impl::ScanTables(QWidget* root) {
  for (QAbstractItemView* view : root->findChildren<QAbstractItemView*>()) {
    const QAbstractItemModel* model = view->model();
    if (!model || !view->isVisible()) continue;
    const int rows = std::min(model->rowCount(), 400), columns = model->columnCount();
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < columns; ++c) {
        const QString text = model->data(model->index(r, c)).toString();
        if (ShowsNonFinite(text)) {
          Fault("the table of '" + root->windowTitle().toStdString() + "' shows '" +
                text.toStdString() + "' at row " + std::to_string(r) + ", column " +
                std::to_string(c));
          return;
        }
      }
  }
}

// ---------------------------------------------------------------- the run and the checks

void Monkey::Impl::CheckStep(const std::string& command, bool commandEnabled, bool modifiedBefore) {
  for (const std::string& q : qtFaults_) Fault(q);
  qtFaults_.clear();
  figures.messages += static_cast<int>(platform_->messages.size());
  figures.confirmations += static_cast<int>(platform_->confirmations.size());
  figures.fileChoosers += static_cast<int>(platform_->choosers.size());
  const bool said = !platform_->messages.empty();
  if (QWidget* modal = QApplication::activeModalWidget())
    Fault("a modal window is left open: '" + modal->windowTitle().toStdString() + "'");
  if (window_->Busy()) Fault("the window is still busy after the step");
  if (window_->MeshInformer()->isVisible()) Fault("the mesh progress window stays open");
  if (window_->SolveInformer()->isVisible()) Fault("the solve progress window stays open");

  if (!window_->isVisible()) {
    if (modifiedBefore && platform_->confirmations.empty())
      Fault("a modified job was closed without the question");
    ++figures.restarts;
    CloseWindow();
    MakeWindow();
    return;
  }

  // A caption with Qt's modified mark must show the job's flag.
  if (window_->windowTitle().contains(QLatin1String("[*]")) &&
      window_->isWindowModified() != window_->Modified())
    Fault(std::string("the caption's modified mark is ") +
          (window_->isWindowModified() ? "on" : "off") + " but the job's flag is " +
          (window_->Modified() ? "set" : "clear"));
  const std::string job = window_->Structure().JobText();
  if (!window_->Modified()) {
    const std::optional<std::string> saved = SavedJobText(window_->FileName());
    if (saved && *saved != job)
      Fault("the job is shown as unmodified but differs from " + window_->FileName() + " (" +
            std::to_string(job.size()) + " against " + std::to_string(saved->size()) +
            " characters): " + FirstDifference(job, *saved));
  }
  for (const Chosen& chosen : platform_->choosers) {
    if (chosen.path.empty() || said) continue;
    if (chosen.save) {
      if (!fs::is_regular_file(chosen.path)) {
        Fault("nothing was written to " + chosen.path + " and no message said why");
      } else if (chosen.job && window_->FileName() == chosen.path &&
                 SavedJobText(chosen.path) != job) {
        Fault("the job saved in " + chosen.path + " reads back differently");
      }
    } else if (chosen.job && window_->FileName() != chosen.path) {
      Fault(chosen.path + " was chosen to open, the caption names " + window_->FileName() +
            ", and no message said why");
    }
  }
  if (command == "command Generatemesh" && commandEnabled) {
    ++figures.meshes;
    if (window_->Meshed() && window_->Mesh().IsUsable()) ++figures.usableMeshes;
    figures.maxNodes = std::max(figures.maxNodes, window_->Mesh().NodeCount());
    // A mesh short of the minimal angle is kept and drawn without a word (Solve Static stays
    // off); only a generation that made nothing must say why.
    if (!said && !stoppedThisStep_ && window_->Mesh().TriangleCount() == 0)
      Fault("Generate mesh made no mesh and no message said why");
  }
  if (command == "command SolveStaticMenu" && commandEnabled) {
    if (window_->StaticSolved()) ++figures.solves;
    if (!said && !stoppedThisStep_ && !window_->StaticSolved())
      Fault("Solve Static ended without results and no message");
  }
  // The pipeline's commands are offered only with what they work on.
  auto enabled = [this](const char* name) {
    const QAction* a = window_->findChild<QAction*>(QLatin1String(name));
    return a && a->isEnabled();
  };
  if (enabled("SolveStaticMenu") && window_->Mesh().TriangleCount() == 0)
    Fault("Solve Static is offered without a mesh");
  for (const char* name : {"SolveStressMenu", "CosmosInputFile", "LocalStiffnessMatrix"})
    if (enabled(name) && !window_->StaticSolved())
      Fault(std::string(name) + " is offered without a static solution");
  if (window_->ViewIndex() > 0 && !window_->StaticSolved())
    Fault("a result view is shown without results");
  const QString title = window_->windowTitle();
  if (ShowsNonFinite(title)) Fault("the caption shows " + title.toStdString());
  for (int panel = 0; panel < 5; ++panel)
    if (ShowsNonFinite(window_->PanelText(panel)))
      Fault("status bar panel " + std::to_string(panel) + " shows " +
            window_->PanelText(panel).toStdString());
}

std::vector<std::string> Monkey::Impl::Run() {
  const auto start = Clock::now();
  RecentFiles().Clear();
  MakeWindow();
  timer_.start(0);
  for (step_ = 0; step_ < options_.steps && faults_.empty(); ++step_) {
    platform_->ClearStep();
    stoppedThisStep_ = false;
    Gesture g = NextGesture();
    std::string command = g.text;
    bool enabled = false;
    if (command.rfind("command ", 0) == 0) {
      ++figures.actions;
      enabled = true;  // only enabled commands are chosen
    }
    const bool modifiedBefore = window_->Modified();
    Log("step " + std::to_string(step_) + ": " + g.text);
    stepStart_ = NowMs();
    g.run();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    stepStart_ = 0;
    CheckStep(command, enabled, modifiedBefore);
    ++figures.steps;
  }
  timer_.stop();
  figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return faults_;
}

// ---------------------------------------------------------------- the public face

Monkey::Monkey(MonkeyOptions options) : impl_(std::make_unique<Impl>(std::move(options))) {}
Monkey::~Monkey() = default;
std::vector<std::string> Monkey::Run() { return impl_->Run(); }
const MonkeyFigures& Monkey::Figures() const { return impl_->figures; }

int MonkeyStepsFromEnvironment(int fallback) {
  const char* text = std::getenv("TAVRIN_MONKEY_STEPS");
  if (!text) return fallback;
  const int steps = std::atoi(text);
  return steps > 0 ? steps : fallback;
}

std::uint64_t MonkeySeedOffsetFromEnvironment() {
  const char* text = std::getenv("TAVRIN_MONKEY_SEED_OFFSET");
  return text ? std::strtoull(text, nullptr, 10) : 0;
}

}  // namespace tavrin::test
