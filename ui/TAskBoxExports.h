// The export commands, from the dialogs to the file on disk: "COSMOS Input File" (save dialog,
// then the model file), "Export VTK" (save dialog, then the VTK grid of the results) and "Local
// Stiffness Matrix" (element prompt, save dialog, then the element's 9 x 9 matrix). Every refusal
// or failure is an "Error!" box through the platform layer; a cancelled dialog ends the command
// quietly.
//
// The main window calls the TGlobMatrix forms, which hand the solver's writers to the forms
// below that hold the dialog flow. Expects the platform layer for every dialog and box.
#pragma once

#include <functional>
#include <string>

#include "analysis/ExportResult.h"

namespace tavrin {

class TGlobMatrix;
class TAskBox;
struct FileFilter;

// Writes the file at path and says how that ended.
using CosmosWriter = std::function<ExportResult(const std::string& path)>;
using FileWriter = CosmosWriter;
using StiffnessWriter = std::function<ExportResult(const std::string& path, int element)>;

// Both return true when a file was written.
bool RunCosmosExport(const TGlobMatrix& solver);
bool RunCosmosExport(const CosmosWriter& write);
bool RunVtkExport(const TGlobMatrix& solver);
// The flow of both: the save dialog with the given filter, the writer, an error box on failure.
bool RunFileExport(const FileFilter& filter, const FileWriter& write);

bool RunLocalStiffnessExport(TAskBox& prompt, const TGlobMatrix& solver);
// The flow after the prompt: answer is the prompt's text, elementCount the solved triangles.
bool RunLocalStiffnessExport(const std::string& answer, int elementCount,
                             const StiffnessWriter& write);

}  // namespace tavrin
