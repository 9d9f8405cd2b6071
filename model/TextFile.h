// Whole-file text input and output for the job file. Reading takes the whole file into memory
// before anyone acts on it; writing never leaves a half-written file in place of a good one.
#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// Reads the whole file at path into text. Returns 0, or the errno value of the failure (a
// folder counts as EISDIR); text is then unspecified.
int ReadTextFile(const std::string& path, std::string& text);

// Replaces the file at path by text: written to a new sibling file, flushed to disk and renamed
// over the target, so a failure at any point leaves the previous file intact. A link is
// followed (its target is replaced, the link kept) and an existing file keeps its permission
// bits. Returns 0, or the errno value of the failure (no temporary file is left behind).
int ReplaceTextFile(const std::string& path, std::string_view text);

}  // namespace tavrin
