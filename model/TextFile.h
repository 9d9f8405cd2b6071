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
// bits. Returns 0, or the errno value of the failure (no temporary file is left behind): among
// them ENOSPC for a full disk, EFBIG past a file-size limit (see IgnoreFileSizeSignal), EACCES
// or EROFS for a folder that cannot be written, ENOENT when the folder has vanished. In every
// one of these the previous file, if any, is left as it was.
int ReplaceTextFile(const std::string& path, std::string_view text);

// Makes a write past the process's file-size limit fail with EFBIG, reported like a full disk,
// instead of killing the process (SIGXFSZ) and the unsaved job with it. Called once at start-up
// by the programs.
void IgnoreFileSizeSignal();

}  // namespace tavrin
