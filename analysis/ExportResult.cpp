#include "analysis/ExportResult.h"

namespace tavrin {

ExportResult CloseExport(std::FILE* f) {
  const bool ok = std::ferror(f) == 0;
  return std::fclose(f) == 0 && ok ? ExportResult::Written : ExportResult::CannotCreate;
}

}  // namespace tavrin
