// A platform for tests: records every box and answers confirmations and file choosers from
// queues filled by the test (an empty queue answers No / cancel).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/Platform.h"

namespace tavrin::test {

struct Box {
  std::string text;
  std::string caption;
};

class TestPlatform : public Platform {
 public:
  TestPlatform() { previous_ = InstallPlatform(this); }
  ~TestPlatform() override { InstallPlatform(previous_); }

  void ShowMessage(const std::string& text, const std::string& caption) override {
    messages.push_back({text, caption});
  }
  bool ConfirmYesNo(const std::string& text, const std::string& caption) override {
    confirmations.push_back({text, caption});
    if (answers.empty()) return false;
    bool yes = answers.front();
    answers.pop_front();
    return yes;
  }
  std::string ChooseOpenFile(const FileFilter& filter) override { return Next(filter); }
  std::string ChooseSaveFile(const FileFilter& filter) override { return Next(filter); }

  std::vector<Box> messages;
  std::vector<Box> confirmations;
  std::vector<FileFilter> filters;  // of every file chooser shown
  std::deque<bool> answers;
  std::deque<std::string> files;

 private:
  std::string Next(const FileFilter& filter) {
    filters.push_back(filter);
    if (files.empty()) return {};
    std::string path = files.front();
    files.pop_front();
    return path;
  }
  Platform* previous_ = nullptr;
};

}  // namespace tavrin::test
