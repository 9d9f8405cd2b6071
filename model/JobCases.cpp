// The job model's load cases: checking a new set against the tables, reading any case out as
// one record, and the job a single case (or a combination's sum) makes. Each is linear in the
// entities the cases name plus, for WithLoads, in the size of the job it copies.
#include <cmath>

#include "model/ConstraintCode.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {

const char* const kFreedomNames[3] = {"lin. Z", "rot. X", "rot. Y"};

// The values of the freedoms the code holds; the others are 0, as the file writes "n" for them.
LoadCase::Triple Held(int code, const LoadCase::Triple& value) {
  const ConstrainedFreedoms fixed = DecodeConstraintCode(code);
  LoadCase::Triple held{0.0, 0.0, 0.0};
  for (std::size_t k = 0; k < held.size(); ++k) {
    if (fixed[k]) held[k] = value[k];
  }
  return held;
}

bool Finite(const LoadCase::Triple& v) {
  return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

}  // namespace

std::string TObjCont::SetCases(LoadCases cases) {
  if (std::string problem = cases.Problem(); !problem.empty()) return problem;
  for (const LoadCase& c : cases.further) {
    const std::string inCase = " in case '" + c.name + "'";
    for (const auto& [p, value] : c.pressure) {
      if (p < 0 || p >= polygonCount_)
        return "polygon " + std::to_string(p) + inCase + " is not a closed polygon of the job";
      if (!std::isfinite(value))
        return "the pressure on polygon " + std::to_string(p) + inCase + " is not a number";
    }
    // Nodes and edges alike: in range, finite, and displaced only where held.
    auto check = [&](const std::map<int, LoadCase::Triple>& table, bool node,
                     bool displacement) -> std::string {
      const std::string kind = node ? "node " : "edge ";
      for (const auto& [i, value] : table) {
        const std::string what = kind + std::to_string(i) + inCase;
        if (!(node ? ValidNode(i) : ValidEdge(i))) return what + " is not in the job";
        if (!Finite(value)) return "a value on " + what + " is not a number";
        if (!displacement) continue;
        const LoadCase::Triple held = Held(GetConstraintCode(i, node), value);
        for (std::size_t k = 0; k < held.size(); ++k) {
          if (held[k] != value[k])
            return what + " is given a " + kFreedomNames[k] +
                   " displacement its constraint code does not hold";
        }
      }
      return {};
    };
    for (const std::string& p :
         {check(c.nodeForce, true, false), check(c.edgeForce, false, false),
          check(c.nodeDisplacement, true, true), check(c.edgeDisplacement, false, true)}) {
      if (!p.empty()) return p;
    }
  }
  cases_ = std::move(cases);
  return {};
}

LoadCase TObjCont::CaseLoads(int k) const {
  LoadCase loads;
  if (k < 0 || k >= cases_.CaseCount()) return loads;
  loads.name = cases_.CaseName(k);
  if (k == 0) {
    for (int p = 0; p < polygonCount_; ++p)
      loads.SetPressure(p, polygons_[static_cast<std::size_t>(p)].physics.pressure);
    for (int i = 0; i < NodeCount(); ++i) {
      const Node& n = nodes_[static_cast<std::size_t>(i)];
      LoadCase::Set(loads.nodeForce, i, n.force);
      LoadCase::Set(loads.nodeDisplacement, i, Held(n.code, n.displacement));
    }
    for (int e = 0; e < EdgeCount(); ++e) {
      const Edge& d = edges_[static_cast<std::size_t>(e)];
      LoadCase::Set(loads.edgeForce, e, d.force);
      LoadCase::Set(loads.edgeDisplacement, e, Held(d.code, d.displacement));
    }
    return loads;
  }
  const LoadCase& c = cases_.further[static_cast<std::size_t>(k - 1)];
  loads.pressure = c.pressure;
  loads.nodeForce = c.nodeForce;
  loads.edgeForce = c.edgeForce;
  // A code changed after the values were given leaves values that mean nothing.
  for (const auto& [i, value] : c.nodeDisplacement)
    LoadCase::Set(loads.nodeDisplacement, i, Held(GetConstraintCode(i, true), value));
  for (const auto& [e, value] : c.edgeDisplacement)
    LoadCase::Set(loads.edgeDisplacement, e, Held(GetConstraintCode(e, false), value));
  return loads;
}

LoadCase TObjCont::CombinationLoads(int c) const {
  LoadCase sum;
  if (c < 0 || c >= static_cast<int>(cases_.combinations.size())) return sum;
  const Combination& combination = cases_.combinations[static_cast<std::size_t>(c)];
  for (const CombinationTerm& term : combination.terms) {
    const int k = cases_.FindCase(term.caseName);
    if (k < 0) return LoadCase{};
    sum.AddScaled(CaseLoads(k), term.factor);
  }
  sum.name = combination.name;
  return sum;
}

TObjCont TObjCont::WithLoads(const LoadCase& loads) const {
  TObjCont job = *this;
  job.cases_ = LoadCases{};
  for (int p = 0; p <= polygonCount_; ++p)
    job.polygons_[static_cast<std::size_t>(p)].physics.pressure = loads.Pressure(p);
  for (int i = 0; i < NodeCount(); ++i) {
    Node& n = job.nodes_[static_cast<std::size_t>(i)];
    n.force = LoadCase::Get(loads.nodeForce, i);
    n.displacement = Held(n.code, LoadCase::Get(loads.nodeDisplacement, i));
  }
  for (int e = 0; e < EdgeCount(); ++e) {
    Edge& d = job.edges_[static_cast<std::size_t>(e)];
    d.force = LoadCase::Get(loads.edgeForce, e);
    d.displacement = Held(d.code, LoadCase::Get(loads.edgeDisplacement, e));
  }
  return job;
}

}  // namespace tavrin
