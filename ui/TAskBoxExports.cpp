#include "ui/TAskBoxExports.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "analysis/TGlobMatrix.h"
#include "ui/Platform.h"
#include "ui/TAskBox.h"

namespace tavrin {

namespace {

// Why a file cannot be created, in the system's words, found by trying to open it the way the
// writer does (the writer itself reports only that it failed).
std::string CreateFailureReason(const std::string& path) {
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "a");
  if (f) {
    std::fclose(f);
    return "the file could not be written";
  }
  return errno ? std::strerror(errno) : "unknown error";
}

void ReportWriteFailure(int code, const std::string& path, int element) {
  switch (code) {
    case 1: ShowError("Cannot create file " + path + ": " + CreateFailureReason(path)); break;
    case 2: ShowError("There is no solution to export: run Solve Static first"); break;
    case 3: ShowError("There is no element " + std::to_string(element) + " in the solved mesh"); break;
    case 4:
      ShowError("Element " + std::to_string(element) + " is degenerate: its stiffness matrix cannot be computed");
      break;
    default: ShowError("Cannot write " + path); break;
  }
}

}  // namespace

bool RunCosmosExport(const CosmosWriter& write) {
  std::string path = CurrentPlatform().ChooseSaveFile(kDataFileFilter);
  if (path.empty()) return false;
  int code = write(path);
  if (code != 0) {
    ReportWriteFailure(code, path, -1);
    return false;
  }
  return true;
}

bool RunCosmosExport(const TGlobMatrix& solver) {
  return RunCosmosExport([&solver](const std::string& path) { return solver.ExportCosmos(path); });
}

bool RunLocalStiffnessExport(const std::string& answer, int elementCount, const StiffnessWriter& write) {
  std::optional<int> element = ParseElementNumber(answer);
  if (!element) {
    ShowError("'" + answer + "' is not a valid integer value");
    return false;
  }
  // Checked before the file dialog, so that a wrong number never leaves an empty file behind.
  if (*element < 0 || *element >= elementCount) {
    if (elementCount <= 0)
      ShowError("The solved mesh has no elements");
    else
      ShowError("Element # must be from 0 to " + std::to_string(elementCount - 1));
    return false;
  }
  std::string path = CurrentPlatform().ChooseSaveFile(kDataFileFilter);
  if (path.empty()) return false;
  int code = write(path, *element);
  if (code != 0) {
    ReportWriteFailure(code, path, *element);
    return false;
  }
  return true;
}

bool RunLocalStiffnessExport(TAskBox& prompt, const TGlobMatrix& solver) {
  if (!prompt.Ask()) return false;
  return RunLocalStiffnessExport(prompt.AnswerText(), solver.ResultTriangleCount(),
                                 [&solver](const std::string& path, int element) {
                                   return solver.WriteLocalStiffness(path, element);
                                 });
}

}  // namespace tavrin
