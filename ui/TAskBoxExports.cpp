#include "ui/TAskBoxExports.h"

#include <cerrno>
#include <cstring>

#include "analysis/TGlobMatrix.h"
#include "analysis/VtkExport.h"
#include "ui/Platform.h"
#include "ui/TAskBox.h"

namespace tavrin {

namespace {

// The writers open their file with the C library, which leaves the system's reason in errno;
// it is read right after the writer returns, before anything else can change it.
int Write(const std::function<int()>& write, int& error) {
  errno = 0;
  int code = write();
  error = errno;
  return code;
}

void ReportWriteFailure(int code, int error, const std::string& path, int element) {
  switch (code) {
    case 1:
      ShowError("Cannot write the file " + path + ": " + (error ? std::strerror(error) : "unknown error"));
      break;
    case 2: ShowError("There is no solution to export: run Solve Static first"); break;
    case 3: ShowError("There is no element " + std::to_string(element) + " in the solved mesh"); break;
    case 4:
      ShowError("Element " + std::to_string(element) + " is degenerate: its stiffness matrix cannot be computed");
      break;
    default: ShowError("Cannot write the file " + path); break;
  }
}

}  // namespace

bool RunCosmosExport(const CosmosWriter& write) { return RunFileExport(kDataFileFilter, write); }

bool RunVtkExport(const TGlobMatrix& solver) {
  return RunFileExport(kVtkFileFilter, [&solver](const std::string& path) { return WriteVtu(solver, path); });
}

bool RunFileExport(const FileFilter& filter, const FileWriter& write) {
  std::string path = CurrentPlatform().ChooseSaveFile(filter);
  if (path.empty()) return false;
  int error = 0;
  int code = Write([&] { return write(path); }, error);
  if (code != 0) {
    ReportWriteFailure(code, error, path, -1);
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
  int error = 0;
  int code = Write([&] { return write(path, *element); }, error);
  if (code != 0) {
    ReportWriteFailure(code, error, path, *element);
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
