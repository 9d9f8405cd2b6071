// The job file's elastic support records, after the loads:
//
//   KN, node index, k lin. Z, k rot. X, k rot. Y     (springs of a node)
//   KE, edge index, k lin. Z, k rot. X, k rot. Y     (springs of an edge, per unit length)
//   KP, polygon index, k                              (foundation modulus under a polygon)
//
// 0 is no spring on that freedom. A line is written only for a node or edge with a spring and a
// polygon with a foundation, so a job without them writes the file it always did. A reader
// without these records dispatches a keyword starting with K to no record and skips the line
// (one starting with C would close a polygon, E add an edge, D or F set physics): it reads the
// plate with rigid supports only. The records come after the DN and DE lines so that a spring
// is checked against the constraint code it stands beside. Linear in nodes, edges and polygons.
#include <ostream>

#include "model/TObjCont.h"

namespace tavrin {

namespace {

const char* const kSeparator = "; --------------------------------------------------";

bool NonZero(const std::array<double, 3>& v) { return v[0] != 0.0 || v[1] != 0.0 || v[2] != 0.0; }

std::string Triple(const std::array<double, 3>& v) {
  return FormatNumber(v[0]) + ", " + FormatNumber(v[1]) + ", " + FormatNumber(v[2]);
}

// An index field as the other records read it: truncated toward zero, -1 when it cannot be one.
int IndexOf(double v) {
  if (!(v > -2147483649.0 && v < 2147483648.0)) return -1;
  return static_cast<int>(v);
}

}  // namespace

void TObjCont::WriteSupports(std::ostream& out, const std::vector<int>& fileOrder) const {
  if (!HasElasticSupport()) return;
  out << "\n"
      << kSeparator << "\n"
      << "; Section <ELASTIC SUPPORTS> format:\n"
         "; KN (node springs), node index, k lin.Z, k rot.X, k rot.Y\n"
         "; KE (edge springs per unit length), edge index, k lin.Z, k rot.X, k rot.Y\n"
         "; KP (foundation), polygon index, modulus\n"
      << kSeparator << "\n\n";
  for (int i = 0; i < NodeCount(); ++i) {
    const std::array<double, 3> k = NodeSprings(i);
    if (NonZero(k)) out << "KN, " << i << ", " << Triple(k) << "\n";
  }
  for (std::size_t f = 0; f < fileOrder.size(); ++f) {
    const std::array<double, 3> k = EdgeSprings(fileOrder[f]);
    if (NonZero(k)) out << "KE, " << f << ", " << Triple(k) << "\n";
  }
  for (int p = 0; p < polygonCount_; ++p) {
    if (Foundation(p) != 0.0) out << "KP, " << p << ", " << FormatNumber(Foundation(p)) << "\n";
  }
}

StatusCode TObjCont::ParseSupportLine(std::string_view keyword, const std::array<double, 6>& value,
                                      const std::array<bool, 6>& isNumber, int fieldCount) {
  if (!keyword.empty() && keyword.back() == ',') keyword.remove_suffix(1);
  const bool node = keyword == "KN", edge = keyword == "KE", polygon = keyword == "KP";
  if (!(node || edge || polygon)) return StatusCode::UnknownRecord;
  const int needed = polygon ? 2 : 4;
  if (fieldCount < needed) return StatusCode::BadNumber;
  for (int k = 0; k < needed; ++k)
    if (!isNumber[static_cast<std::size_t>(k)]) return StatusCode::BadNumber;
  const int index = IndexOf(value[0]);
  if (polygon) return SetPolygonFoundation(index, value[1]);
  const std::array<double, 3> k{value[1], value[2], value[3]};
  return node ? SetNodeSprings(index, k) : SetEdgeSprings(index, k);
}

}  // namespace tavrin
