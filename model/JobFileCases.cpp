// The job file's load case records, after the loads of the first case:
//
//   LC0, name                          the first case's name, when it is not "Case 1"
//   LC, name                           opens a further case; it runs to the next LC, LCO or
//                                      LEN line or to the end of the file, and holds
//   LP, polygon index, pressure
//   LN, node index, lin. Z, rot. X, rot. Y        (node loads)
//   LE, edge index, lin. Z, rot. X, rot. Y        (edge loads)
//   LD, node index, lin. Z, rot. X, rot. Y        (prescribed values, "n" where not held)
//   LDE, edge index, lin. Z, rot. X, rot. Y
//   LCO, name, case name, factor[, case name, factor ...]
//   LEN, name, combination name[, combination name ...]
//
// Every keyword starts with L, which a reader of the plain job dispatches to no record: it sees
// the first case and nothing else. (A keyword starting with C would close a polygon in that
// reader and one starting with E could add an edge, so combinations and envelopes carry the L
// too.) Nothing is written for a plain job, so its file is what it always was.
//
// Unlike the plain records, whose blanks are all dropped, a name keeps its inner blanks: fields
// are split at commas and trimmed at both ends only. Writing and reading are linear in the
// records.
#include <algorithm>
#include <ostream>
#include <vector>

#include "model/ConstraintCode.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {

const char* const kSeparator = "; --------------------------------------------------";

std::string Triple(const LoadCase::Triple& v) {
  return FormatNumber(v[0]) + ", " + FormatNumber(v[1]) + ", " + FormatNumber(v[2]);
}

// The held values of a prescribed triple, "n" for the others, as the DN records write them.
std::string HeldFields(int code, const LoadCase::Triple& v) {
  const ConstrainedFreedoms fixed = DecodeConstraintCode(code);
  std::string s;
  for (std::size_t k = 0; k < fixed.size(); ++k) {
    if (k > 0) s += ", ";
    s += fixed[k] ? FormatNumber(v[k]) : std::string("n");
  }
  return s;
}

std::vector<std::string> SplitFields(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view f = text.substr(start, end - start);
    while (!f.empty() && f.front() == ' ') f.remove_prefix(1);
    while (!f.empty() && f.back() == ' ') f.remove_suffix(1);
    fields.emplace_back(f);
    start = end + 1;
  }
  // A line's trailing comma leaves no field.
  if (!fields.empty() && fields.back().empty()) fields.pop_back();
  return fields;
}

// An index field: a plain non-negative decimal integer, nothing else.
bool ParseIndex(const std::string& field, int& index) {
  if (field.empty() || field.size() > 9) return false;
  int v = 0;
  for (const char c : field) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  index = v;
  return true;
}

}  // namespace

void TObjCont::WriteCases(std::ostream& out, const std::vector<int>& fileIndex) const {
  if (cases_.IsPlain()) return;
  out << "\n"
      << kSeparator << "\n"
      << "; Section <LOAD CASES> format:\n"
         "; LC0, name of the case the records above hold\n"
         "; LC, name of a further case, then its own records:\n"
         ";   LP, polygon index, pressure\n"
         ";   LN (node forces) or LE (edge forces), index, lin.Z, rot.X, rot.Y\n"
         ";   LD (node) or LDE (edge displacement), index, lin.Z, rot.X, rot.Y\n"
         "; LCO (combination), name, case name, factor, case name, factor, ...\n"
         "; LEN (envelope), name, combination name, combination name, ...\n"
      << kSeparator << "\n\n";
  if (cases_.firstName != kFirstCaseName) out << "LC0, " << cases_.firstName << "\n";
  // Edges in file order, as the reader will number them.
  std::vector<std::pair<int, int>> edgeOrder;  // (file index, model index)
  for (std::size_t e = 0; e < fileIndex.size(); ++e) {
    if (fileIndex[e] >= 0) edgeOrder.emplace_back(fileIndex[e], static_cast<int>(e));
  }
  std::sort(edgeOrder.begin(), edgeOrder.end());
  for (const LoadCase& c : cases_.further) {
    out << "LC, " << c.name << "\n";
    for (const auto& [p, value] : c.pressure) {
      if (p < polygonCount_) out << "LP, " << p << ", " << FormatNumber(value) << "\n";
    }
    for (const auto& [i, value] : c.nodeForce) out << "LN, " << i << ", " << Triple(value) << "\n";
    for (const auto& [k, e] : edgeOrder) {
      if (const auto it = c.edgeForce.find(e); it != c.edgeForce.end())
        out << "LE, " << k << ", " << Triple(it->second) << "\n";
    }
    const LoadCase held = CaseLoads(cases_.FindCase(c.name));
    for (const auto& [i, value] : held.nodeDisplacement)
      out << "LD, " << i << ", " << HeldFields(GetConstraintCode(i, true), value) << "\n";
    for (const auto& [k, e] : edgeOrder) {
      if (const auto it = held.edgeDisplacement.find(e); it != held.edgeDisplacement.end())
        out << "LDE, " << k << ", " << HeldFields(GetConstraintCode(e, false), it->second) << "\n";
    }
  }
  for (const Combination& c : cases_.combinations) {
    out << "LCO, " << c.name;
    for (const CombinationTerm& t : c.terms)
      out << ", " << t.caseName << ", " << FormatNumber(t.factor);
    out << "\n";
  }
  for (const Envelope& e : cases_.envelopes) {
    out << "LEN, " << e.name;
    for (const std::string& c : e.combinations) out << ", " << c;
    out << "\n";
  }
}

StatusCode TObjCont::ParseCaseLine(std::string_view keyword, std::string_view rest) {
  if (!keyword.empty() && keyword.back() == ',') keyword.remove_suffix(1);
  const std::vector<std::string> f = SplitFields(rest);
  const std::size_t n = f.size();

  // A name that cannot be written back, or one the job has already given, is refused whole.
  auto nameTaken = [this](const std::string& name) {
    return cases_.FindCase(name) >= 0 || cases_.FindCombination(name) >= 0 ||
           cases_.FindEnvelope(name) >= 0;
  };
  if (keyword == "LC0") {
    if (n != 1 || !NameProblem(f[0]).empty()) return StatusCode::BadName;
    if (f[0] != cases_.firstName && nameTaken(f[0])) return StatusCode::BadName;
    cases_.firstName = f[0];
    return StatusCode::Done;
  }
  if (keyword == "LC") {
    caseBeingRead_ = -1;  // the lines after a refused LC belong to no case
    if (n != 1 || !NameProblem(f[0]).empty() || nameTaken(f[0])) return StatusCode::BadName;
    LoadCase c;
    c.name = f[0];
    cases_.further.push_back(std::move(c));
    caseBeingRead_ = static_cast<int>(cases_.further.size()) - 1;
    return StatusCode::Done;
  }
  if (keyword == "LCO" || keyword == "LEN") {
    caseBeingRead_ = -1;
    if (n < 2 || !NameProblem(f[0]).empty() || nameTaken(f[0])) return StatusCode::BadName;
    // References are kept as written, resolved or not: LoadCases::Problem() names a missing
    // one when the job is solved, and nothing the engineer wrote is dropped.
    if (keyword == "LEN") {
      Envelope e{f[0], {}};
      for (std::size_t k = 1; k < n; ++k) {
        if (!NameProblem(f[k]).empty()) return StatusCode::BadName;
        e.combinations.push_back(f[k]);
      }
      cases_.envelopes.push_back(std::move(e));
      return StatusCode::Done;
    }
    if (n % 2 == 0) return StatusCode::BadNumber;  // a case name without its factor
    Combination c{f[0], {}};
    for (std::size_t k = 1; k + 1 < n; k += 2) {
      double factor = 0.0;
      if (!NameProblem(f[k]).empty()) return StatusCode::BadName;
      if (ParseNumber(f[k + 1], factor) != StatusCode::Done) return StatusCode::BadNumber;
      c.terms.push_back({f[k], factor});
    }
    cases_.combinations.push_back(std::move(c));
    return StatusCode::Done;
  }

  const bool pressure = keyword == "LP";
  const bool nodeLoad = keyword == "LN", edgeLoad = keyword == "LE";
  const bool nodeValue = keyword == "LD", edgeValue = keyword == "LDE";
  if (!(pressure || nodeLoad || edgeLoad || nodeValue || edgeValue))
    return StatusCode::UnknownRecord;
  if (caseBeingRead_ < 0) return StatusCode::OutsideCase;
  LoadCase& c = cases_.further[static_cast<std::size_t>(caseBeingRead_)];
  int index = -1;
  if (n < 1 || !ParseIndex(f[0], index)) return StatusCode::BadNumber;
  if (pressure) {
    double value = 0.0;
    if (n < 2 || ParseNumber(f[1], value) != StatusCode::Done) return StatusCode::BadNumber;
    if (index >= polygonCount_) return StatusCode::BadPolygon;
    c.SetPressure(index, value);
    return StatusCode::Done;
  }
  if (n < 4) return StatusCode::BadNumber;
  const bool node = nodeLoad || nodeValue;
  if (!(node ? ValidNode(index) : ValidEdge(index))) return StatusCode::BadIndex;
  LoadCase::Triple value{0.0, 0.0, 0.0};
  for (std::size_t k = 0; k < value.size(); ++k) {
    // Loads need all three numbers; prescribed values take "n" for a freedom not held.
    if (ParseNumber(f[k + 1], value[k]) == StatusCode::Done) continue;
    if ((nodeValue || edgeValue) && f[k + 1] == "n") continue;
    return StatusCode::BadNumber;
  }
  std::map<int, LoadCase::Triple>& table = nodeLoad    ? c.nodeForce
                                           : edgeLoad  ? c.edgeForce
                                           : nodeValue ? c.nodeDisplacement
                                                       : c.edgeDisplacement;
  LoadCase::Set(table, index, value);
  return StatusCode::Done;
}

}  // namespace tavrin
