// The round trip compares the models entity by entity, exactly (loads and displacements as
// numbers, so -0 and 0 are one), then the texts: the writer must write every number so that it
// reads back to itself, and must lose nothing the reader took in.
#include <array>
#include <string>

#include "fuzz/FuzzChecks.h"
#include "model/TObjCont.h"

namespace tavrin::fuzz {

namespace {

std::string Compare(const TObjCont& a, const TObjCont& b) {
  if (a.NodeCount() != b.NodeCount())
    return "node count " + std::to_string(a.NodeCount()) + " became " +
           std::to_string(b.NodeCount());
  if (a.EdgeCount() != b.EdgeCount())
    return "edge count " + std::to_string(a.EdgeCount()) + " became " +
           std::to_string(b.EdgeCount());
  if (a.PolygonCount() != b.PolygonCount()) return "polygon count changed";
  std::array<double, 6> va{}, vb{};
  int ca = 0, cb = 0;
  for (int i = 0; i < a.NodeCount(); ++i) {
    if (a.NodeX(i) != b.NodeX(i) || a.NodeY(i) != b.NodeY(i))
      return "node " + std::to_string(i) + " moved";
    if (a.IsFreeNode(i) != b.IsFreeNode(i))
      return "node " + std::to_string(i) + " changed its free flag";
    a.GetNodeAttributes(i, va, ca);
    b.GetNodeAttributes(i, vb, cb);
    if (ca != cb || va != vb)
      return "node " + std::to_string(i) + " changed its loads or constraints";
    if (a.NodeSprings(i) != b.NodeSprings(i))
      return "node " + std::to_string(i) + " changed its springs";
  }
  for (int e = 0; e < a.EdgeCount(); ++e) {
    if (a.EdgeBegin(e) != b.EdgeBegin(e) || a.EdgeEnd(e) != b.EdgeEnd(e))
      return "edge " + std::to_string(e) + " changed its nodes";
    a.GetEdgeAttributes(e, va, ca);
    b.GetEdgeAttributes(e, vb, cb);
    if (ca != cb || va != vb)
      return "edge " + std::to_string(e) + " changed its loads or constraints";
    if (a.EdgeSprings(e) != b.EdgeSprings(e))
      return "edge " + std::to_string(e) + " changed its springs";
  }
  for (int p = 0; p <= a.PolygonCount(); ++p) {
    if (a.PolygonEdgeCount(p) != b.PolygonEdgeCount(p))
      return "polygon " + std::to_string(p) + " changed its edge count";
    for (int k = 0; k < a.PolygonEdgeCount(p); ++k) {
      if (a.PolygonEdge(p, k) != b.PolygonEdge(p, k))
        return "polygon " + std::to_string(p) + " changed its edges";
    }
    if (p == a.PolygonCount()) break;  // the open slot's physics are not stored
    std::array<double, 5> pa{}, pb{};
    a.GetPolygonPhysics(p, pa);
    b.GetPolygonPhysics(p, pb);
    if (pa != pb || a.Foundation(p) != b.Foundation(p))
      return "polygon " + std::to_string(p) + " changed its physics";
  }
  if (a.Cases().CaseCount() != b.Cases().CaseCount()) return "the number of load cases changed";
  for (int k = 0; k < a.Cases().CaseCount(); ++k) {
    if (!(a.CaseLoads(k) == b.CaseLoads(k))) return "load case " + std::to_string(k) + " changed";
  }
  if (a.Cases().combinations != b.Cases().combinations) return "a combination changed";
  if (a.Cases().envelopes != b.Cases().envelopes) return "an envelope changed";
  return {};
}

}  // namespace

std::string CheckJobFileRoundTrip(std::string_view data) {
  TObjCont first;
  first.ReadJobText(data);
  const std::string text = first.JobText();
  TObjCont second;
  const JobReadSummary summary = second.ReadJobText(text);
  if (summary.skipped != 0)
    return "the written text has a line the reader skips: " + summary.firstSkippedText;
  if (std::string problem = Compare(first, second); !problem.empty()) return "reload: " + problem;
  if (second.JobText() != text) return "the second write differs from the first";
  return {};
}

}  // namespace tavrin::fuzz
