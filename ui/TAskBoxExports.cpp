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
ExportResult Write(const std::function<ExportResult()>& write, int& error) {
  errno = 0;
  const ExportResult code = write();
  error = errno;
  return code;
}

// True when the file was written; otherwise says why not in an "Error!" box.
bool ReportWriteResult(ExportResult code, int error, const std::string& path, int element) {
  switch (code) {
    case ExportResult::Written:
      return true;
    case ExportResult::CannotCreate:
      ShowError("Cannot write the file " + path + ": " +
                (error ? std::strerror(error) : "unknown error"));
      return false;
    case ExportResult::NoSolution:
      ShowError("There is no solution to export: run Solve Static first");
      return false;
    case ExportResult::NoSuchElement:
      ShowError("There is no element " + std::to_string(element) + " in the solved mesh");
      return false;
    case ExportResult::DegenerateElement:
      ShowError("Element " + std::to_string(element) +
                " is degenerate: its stiffness matrix cannot be computed");
      return false;
  }
  ShowError("Cannot write the file " + path);
  return false;
}

}  // namespace

bool RunCosmosExport(const CosmosWriter& write) { return RunFileExport(kDataFileFilter, write); }

bool RunVtkExport(const TGlobMatrix& solver) {
  return RunFileExport(kVtkFileFilter,
                       [&solver](const std::string& path) { return WriteVtu(solver, path); });
}

bool RunFileExport(const FileFilter& filter, const FileWriter& write) {
  std::string path = CurrentPlatform().ChooseSaveFile(filter);
  if (path.empty()) return false;
  int error = 0;
  const ExportResult code = Write([&] { return write(path); }, error);
  return ReportWriteResult(code, error, path, -1);
}

bool RunCosmosExport(const TGlobMatrix& solver) {
  return RunCosmosExport([&solver](const std::string& path) { return solver.ExportCosmos(path); });
}

bool RunLocalStiffnessExport(const std::string& answer, int elementCount,
                             const StiffnessWriter& write) {
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
  const ExportResult code = Write([&] { return write(path, *element); }, error);
  return ReportWriteResult(code, error, path, *element);
}

bool RunLocalStiffnessExport(TAskBox& prompt, const TGlobMatrix& solver) {
  if (!prompt.Ask()) return false;
  return RunLocalStiffnessExport(prompt.AnswerText(), solver.ResultTriangleCount(),
                                 [&solver](const std::string& path, int element) {
                                   return solver.WriteLocalStiffness(path, element);
                                 });
}

}  // namespace tavrin
