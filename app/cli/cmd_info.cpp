// tavrin-cli info JOB.sam: prints the loaded job model, one record a line, every number in the
// shortest form that reads back to the same double, and a last line on the lines not read.
#include <cstdio>
#include <string>

#include "Commands.h"
#include "model/ArcGeometry.h"
#include "model/TObjCont.h"

namespace tavrin::cli {

namespace {

std::string Num(double v) { return ShortestNumber(v); }

std::string Attributes(int code, const std::array<double, 6>& v) {
  return "code " + std::to_string(code) + " disp " + Num(v[0]) + " " + Num(v[1]) + " " + Num(v[2]) +
         " force " + Num(v[3]) + " " + Num(v[4]) + " " + Num(v[5]);
}

}  // namespace

int RunInfo(const Args& args) {
  if (args.size() != 1) return UsageError(kInfoUsage);
  TObjCont job;
  const JobFileResult r = job.LoadJob(args[0]);
  if (!r) {
    std::fprintf(stderr, "tavrin-cli: %s\n", r.error.c_str());
    return 1;
  }

  std::string out;
  out += "nodes: " + std::to_string(job.NodeCount()) + "\n";
  out += "edges: " + std::to_string(job.EdgeCount()) + "\n";
  out += "polygons: " + std::to_string(job.PolygonCount()) + "\n";
  out += "open-polygon-edges: " + std::to_string(job.PolygonEdgeCount(job.PolygonCount())) + "\n";
  std::array<double, 6> attr{};
  int code = 0;
  for (int i = 0; i < job.NodeCount(); ++i) {
    job.GetNodeAttributes(i, attr, code);
    out += "node " + std::to_string(i) + ": x " + Num(job.NodeX(i)) + " y " + Num(job.NodeY(i)) +
           " free " + (job.IsFreeNode(i) ? "yes" : "no") + " polygon " +
           std::to_string(job.NodePolygon(i)) + " " + Attributes(code, attr) + "\n";
  }
  for (int e = 0; e < job.EdgeCount(); ++e) {
    job.GetEdgeAttributes(e, attr, code);
    out += "edge " + std::to_string(e) + ": begin " + std::to_string(job.EdgeBegin(e)) + " end " +
           std::to_string(job.EdgeEnd(e)) + " " + Attributes(code, attr);
    // Only an arc edge says more, so a job without arcs prints what it always did.
    if (const double bulge = job.EdgeBulge(e); bulge != 0.0) {
      const int b = job.EdgeBegin(e), f = job.EdgeEnd(e);
      const Arc arc = ArcThrough(job.NodeX(b), job.NodeY(b), job.NodeX(f), job.NodeY(f), bulge);
      out += " arc bulge " + Num(bulge) + " centre " + Num(arc.cx) + " " + Num(arc.cy) +
             " radius " + Num(arc.radius) + " angle " +
             Num(arc.sweep * 180 / 3.14159265358979323846);
    }
    out += "\n";
  }
  for (int p = 0; p < job.PolygonCount(); ++p) {
    out += "polygon " + std::to_string(p) + ": edges";
    for (int k = 0; k < job.PolygonEdgeCount(p); ++k)
      (out += ' ') += std::to_string(job.PolygonEdge(p, k));
    const PolygonPhysics ph = job.Physics(p);
    out += " pressure " + Num(ph.pressure) + " E " + Num(ph.eModulus) + " nu " + Num(ph.nu) +
           " thickness " + Num(ph.thickness) + " hole " + (ph.isHole ? "yes" : "no") + "\n";
  }
  // Springs and foundations only where they exist, so a job without them prints as it did.
  for (int pass = 0; pass < 2; ++pass) {
    const bool node = pass == 0;
    for (int i = 0; i < (node ? job.NodeCount() : job.EdgeCount()); ++i) {
      const std::array<double, 3> k = node ? job.NodeSprings(i) : job.EdgeSprings(i);
      if (k[0] != 0.0 || k[1] != 0.0 || k[2] != 0.0)
        out += std::string(node ? "node " : "edge ") + std::to_string(i) +
               " springs: " + Num(k[0]) + " " + Num(k[1]) + " " + Num(k[2]) + "\n";
    }
  }
  for (int p = 0; p < job.PolygonCount(); ++p)
    if (job.Foundation(p) != 0.0)
      out += "polygon " + std::to_string(p) + " foundation: " + Num(job.Foundation(p)) + "\n";
  // Reinforcement angles only where steel does not run along x and y.
  for (int p = 0; p < job.PolygonCount(); ++p)
    if (job.ReinforcementAngle(p) != 0.0)
      out += "polygon " + std::to_string(p) +
             " reinforcement angle: " + Num(job.ReinforcementAngle(p)) + "\n";
  // Load cases only where the job has them, so a plain job prints what it always did.
  const LoadCases& cases = job.Cases();
  for (int k = 0; !cases.IsPlain() && k < cases.CaseCount(); ++k) {
    const LoadCase c = job.CaseLoads(k);
    out += "case " + std::to_string(k) + ": " + c.name + " pressures " +
           std::to_string(c.pressure.size()) + " node-loads " + std::to_string(c.nodeForce.size()) +
           " edge-loads " + std::to_string(c.edgeForce.size()) + " node-values " +
           std::to_string(c.nodeDisplacement.size()) + " edge-values " +
           std::to_string(c.edgeDisplacement.size()) + "\n";
  }
  for (const Combination& c : cases.combinations) {
    out += "combination " + c.name + ":";
    for (const CombinationTerm& t : c.terms) out += " " + t.caseName + " " + Num(t.factor);
    out += "\n";
  }
  for (const Envelope& e : cases.envelopes) {
    out += "envelope " + e.name + ":";
    for (const std::string& c : e.combinations) out += " " + c;
    out += "\n";
  }
  if (const std::string problem = cases.Problem(); !problem.empty())
    out += "case-problem: " + problem + "\n";
  if (r.read.skipped > 0) {
    out += "skipped-lines: " + std::to_string(r.read.skipped) + ", the first line " +
           std::to_string(r.read.firstSkippedLine) + ": " + r.read.firstSkippedReason + "\n";
  }
  if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "tavrin-cli: cannot write to standard output\n");
    return 1;
  }
  return 0;
}

}  // namespace tavrin::cli
