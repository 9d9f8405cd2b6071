// One page of the property editor (TRollup): it builds its controls, fills them from the
// selection and the values shown for it, validates what the user typed when Apply is pressed
// and writes the validated values into the edit request. Each page knows whether it holds a
// change the user typed; filling it does not count as one.
//
// A page owns only its controls. The editor owns the selection and the shown values and hands
// them in; pages never talk to the host.
#pragma once

#include <QWidget>
#include <array>

#include "ui/EditRequest.h"

class QCheckBox;
class QLineEdit;

namespace tavrin {

// What the editor shows: the selected item and, for an edge or a node, the coordinates of the
// sketch (see TRollup::ShowSelection for the meaning of c).
struct RollupSelection {
  SelectionKind kind = SelectionKind::none;
  int id = -1;
  std::array<double, 6> c{};
  bool endSelected = false;  // for an edge: the endpoint, not the begin, is the one shown
};

class RollupPage : public QWidget {
  Q_OBJECT
 public:
  // objectName names the page for tests and style sheets (e.g. "TabLoads").
  explicit RollupPage(const char* objectName);

  // Shows the selection in the controls; afterwards the page holds no typed change.
  virtual void Fill(const RollupSelection& selection, const EditRequest& shown) = 0;
  // Reads the fields. When each is valid, writes them, the page's changed flag and the address
  // into r and returns true; otherwise every bad field shows its own message, r keeps this
  // page's values as they were, and false is returned.
  virtual bool Validate(const RollupSelection& selection, EditRequest& r) = 0;
  // Copies what this page changed in an applied request into the selection or the values
  // shown, so that showing the selection again shows what the item now holds.
  virtual void KeepApplied(const EditRequest& applied, RollupSelection& selection,
                           EditRequest& shown) = 0;

  bool Changed() const { return changed_; }
  void ForgetChange() { changed_ = false; }

 signals:
  // A refused field on this page is about to take the focus: the editor turns to the page.
  void ShowMe();

 protected:
  // Controls whose edits count as the user's change of this page.
  void Watch(QLineEdit* edit);
  void Watch(QCheckBox* box);

  // Programmatic updates inside a Filling's lifetime are not the user's change.
  class Filling {
   public:
    explicit Filling(RollupPage& page) : page_(page), was_(page.filling_) { page.filling_ = true; }
    ~Filling() { page_.filling_ = was_; }
    Filling(const Filling&) = delete;
    Filling& operator=(const Filling&) = delete;

   private:
    RollupPage& page_;
    bool was_;
  };

  // The fields of every page look and parse alike.
  QLineEdit* AddField(const char* objectName);
  QCheckBox* AddCheck(const char* objectName, const QString& caption);
  static QString Text(double value);
  static double Value(const QLineEdit* field);
  // Reads three fields; every bad one shows its own message. False when any was bad.
  static bool ReadThree(const std::array<QLineEdit*, 3>& fields,
                        const std::array<const char*, 3>& messages, std::array<double, 3>& out);
  // The selection a validated page applies to; the end choice only matters to a node or an edge.
  static void Address(const RollupSelection& selection, EditRequest& r, bool withEnd);

 private:
  bool changed_ = false;
  bool filling_ = false;
};

}  // namespace tavrin
