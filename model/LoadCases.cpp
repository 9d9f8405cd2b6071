// Load case records: the sparse tables' upkeep, the factored sum and the consistency check.
// The check is quadratic in the number of names (a few dozen), linear in everything else.
#include "model/LoadCases.h"

#include <cmath>
#include <set>

namespace tavrin {

namespace {

bool IsZero(const LoadCase::Triple& v) { return v[0] == 0.0 && v[1] == 0.0 && v[2] == 0.0; }

void AddScaledTable(std::map<int, LoadCase::Triple>& into,
                    const std::map<int, LoadCase::Triple>& from, double factor) {
  for (const auto& [index, value] : from) {
    LoadCase::Triple sum = LoadCase::Get(into, index);
    for (std::size_t k = 0; k < sum.size(); ++k) sum[k] += factor * value[k];
    LoadCase::Set(into, index, sum);
  }
}

// Appended piecewise: GCC 12 at -O3 misreads "literal" + std::string&& as an overlapping copy.
std::string Quoted(std::string_view s) {
  std::string quoted;
  quoted.reserve(s.size() + 2);
  quoted += '\'';
  quoted += s;
  quoted += '\'';
  return quoted;
}

}  // namespace

void LoadCase::SetPressure(int polygon, double value) {
  if (value == 0.0)
    pressure.erase(polygon);
  else
    pressure[polygon] = value;
}

void LoadCase::Set(std::map<int, Triple>& table, int index, const Triple& value) {
  if (IsZero(value))
    table.erase(index);
  else
    table[index] = value;
}

LoadCase::Triple LoadCase::Get(const std::map<int, Triple>& table, int index) {
  const auto it = table.find(index);
  return it == table.end() ? Triple{0.0, 0.0, 0.0} : it->second;
}

double LoadCase::Pressure(int polygon) const {
  const auto it = pressure.find(polygon);
  return it == pressure.end() ? 0.0 : it->second;
}

void LoadCase::AddScaled(const LoadCase& other, double factor) {
  for (const auto& [polygon, value] : other.pressure)
    SetPressure(polygon, Pressure(polygon) + factor * value);
  AddScaledTable(nodeForce, other.nodeForce, factor);
  AddScaledTable(edgeForce, other.edgeForce, factor);
  AddScaledTable(nodeDisplacement, other.nodeDisplacement, factor);
  AddScaledTable(edgeDisplacement, other.edgeDisplacement, factor);
}

bool LoadCases::IsPlain() const {
  return firstName == kFirstCaseName && further.empty() && combinations.empty() &&
         envelopes.empty();
}

std::string LoadCases::CaseName(int k) const {
  if (k == 0) return firstName;
  if (k < 0 || k >= CaseCount()) return {};
  return further[static_cast<std::size_t>(k - 1)].name;
}

int LoadCases::FindCase(std::string_view name) const {
  for (int k = 0; k < CaseCount(); ++k) {
    if (CaseName(k) == name) return k;
  }
  return -1;
}

int LoadCases::FindCombination(std::string_view name) const {
  for (std::size_t k = 0; k < combinations.size(); ++k) {
    if (combinations[k].name == name) return static_cast<int>(k);
  }
  return -1;
}

std::vector<int> LoadCases::CasesFor(std::string_view name) const {
  if (const int k = FindCase(name); k >= 0) return {k};
  std::vector<int> cases;
  if (const int c = FindCombination(name); c >= 0)
    for (const CombinationTerm& term : combinations[static_cast<std::size_t>(c)].terms)
      cases.push_back(FindCase(term.caseName));
  return cases;
}

int LoadCases::FindEnvelope(std::string_view name) const {
  for (std::size_t k = 0; k < envelopes.size(); ++k) {
    if (envelopes[k].name == name) return static_cast<int>(k);
  }
  return -1;
}

std::string NameProblem(std::string_view name) {
  if (name.empty()) return "is empty";
  if (name.front() == ' ' || name.back() == ' ') return "begins or ends with a blank";
  for (const char c : name) {
    if (c == ',') return "holds a comma";
    if (c == ';') return "holds a semicolon";
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return "holds a control character";
  }
  return {};
}

std::string LoadCases::Problem() const {
  std::set<std::string> names;
  // One pass over every name a user picks from, in the order they appear in the file.
  auto claim = [&names](const std::string& kind, const std::string& name) -> std::string {
    if (std::string why = NameProblem(name); !why.empty())
      return "the " + kind + " name " + Quoted(name) + " " + why;
    if (!names.insert(name).second)
      return "the name " + Quoted(name) +
             " is given to more than one case, combination or envelope";
    return {};
  };
  for (int k = 0; k < CaseCount(); ++k) {
    if (std::string p = claim("case", CaseName(k)); !p.empty()) return p;
  }
  for (const Combination& c : combinations) {
    if (std::string p = claim("combination", c.name); !p.empty()) return p;
    if (c.terms.empty()) return "combination " + Quoted(c.name) + " names no case";
    std::set<std::string> used;
    for (const CombinationTerm& term : c.terms) {
      if (FindCase(term.caseName) < 0)
        return "combination " + Quoted(c.name) + " names the case " + Quoted(term.caseName) +
               ", which the job does not have";
      if (!used.insert(term.caseName).second)
        return "combination " + Quoted(c.name) + " names the case " + Quoted(term.caseName) +
               " twice";
      if (!std::isfinite(term.factor))
        return "combination " + Quoted(c.name) + " has a factor for " + Quoted(term.caseName) +
               " that is not a finite number";
    }
  }
  for (const Envelope& e : envelopes) {
    if (std::string p = claim("envelope", e.name); !p.empty()) return p;
    if (e.combinations.empty()) return "envelope " + Quoted(e.name) + " names no combination";
    std::set<std::string> used;
    for (const std::string& c : e.combinations) {
      if (FindCombination(c) < 0)
        return "envelope " + Quoted(e.name) + " names the combination " + Quoted(c) +
               ", which the job does not have";
      if (!used.insert(c).second)
        return "envelope " + Quoted(e.name) + " names the combination " + Quoted(c) + " twice";
    }
  }
  return {};
}

}  // namespace tavrin
