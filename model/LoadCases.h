// Load cases, combinations and envelopes of a job.
//
// A job's first load case is the loads its node, edge and polygon tables hold, so a job that
// never names a case is exactly the job it always was. Every further case is a sparse record
// here: only the entities it loads or displaces. The constraint codes are the structure's and
// shared by every case; a case holds only the values of its prescribed displacements.
// A combination is a factored sum of cases; an envelope takes the extremes of a set of
// combinations. Cases refer to each other by name: names are what the engineer sees and what
// the job file stores, so they must be unique and fit a comma-separated record.
//
// Everything here is a plain value: copy it, edit the copy, hand it back to the job model
// (TObjCont::SetCases), which checks it against its tables. Lookups by name are linear in the
// number of cases and combinations (a few dozen at most).
#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// The loads of one case. Maps hold only entries that differ from zero (SetX below keep it so,
// which makes two equal cases compare equal whatever the order of their editing).
struct LoadCase {
  using Triple = std::array<double, 3>;  // lin. Z, rot. X, rot. Y

  std::string name;
  std::map<int, double> pressure;          // polygon index -> pressure
  std::map<int, Triple> nodeForce;         // node index -> force
  std::map<int, Triple> edgeForce;         // edge index (the model's) -> force per length
  std::map<int, Triple> nodeDisplacement;  // node index -> prescribed values
  std::map<int, Triple> edgeDisplacement;  // edge index -> prescribed values

  void SetPressure(int polygon, double value);
  static void Set(std::map<int, Triple>& table, int index, const Triple& value);
  static Triple Get(const std::map<int, Triple>& table, int index);
  double Pressure(int polygon) const;

  // this += factor * other, entry by entry; the name is kept.
  void AddScaled(const LoadCase& other, double factor);

  friend bool operator==(const LoadCase&, const LoadCase&) = default;
};

struct CombinationTerm {
  std::string caseName;
  double factor = 1.0;
  friend bool operator==(const CombinationTerm&, const CombinationTerm&) = default;
};

struct Combination {
  std::string name;
  std::vector<CombinationTerm> terms;  // in the order given; a case may appear once only
  friend bool operator==(const Combination&, const Combination&) = default;
};

struct Envelope {
  std::string name;
  std::vector<std::string> combinations;  // names of combinations, each once
  friend bool operator==(const Envelope&, const Envelope&) = default;
};

inline constexpr std::string_view kFirstCaseName = "Case 1";

struct LoadCases {
  std::string firstName{kFirstCaseName};  // the name of the loads in the job's tables
  std::vector<LoadCase> further;          // cases 1, 2, ...
  std::vector<Combination> combinations;
  std::vector<Envelope> envelopes;

  // Nothing beyond a first case of the default name: the job file then holds no case record.
  bool IsPlain() const;
  int CaseCount() const { return 1 + static_cast<int>(further.size()); }
  std::string CaseName(int k) const;          // "" outside 0 .. CaseCount() - 1
  int FindCase(std::string_view name) const;  // -1 when no case has it
  int FindCombination(std::string_view name) const;
  int FindEnvelope(std::string_view name) const;
  // The cases a run of one set needs: case `name` alone, or the cases of combination `name` in
  // its order; empty when neither has the name.
  std::vector<int> CasesFor(std::string_view name) const;

  // The first fault found, as one line naming the case, combination or envelope, e.g.
  // "combination 'ULS' names the case 'Wind', which the job does not have"; "" when sound.
  // Checks names (NameProblem), their uniqueness across cases, combinations and envelopes
  // (they name the result sets a user picks and the files a run writes), every factor finite,
  // every reference resolved, no combination or envelope empty.
  std::string Problem() const;

  friend bool operator==(const LoadCases&, const LoadCases&) = default;
};

// Why a text cannot be a name, as a phrase ("is empty", "holds a comma"), or "" when it can.
// A name sits in a comma-separated line of the job file that a semicolon would cut short and
// whose blanks around fields are dropped, so: not empty, no comma, no semicolon, no control
// character, no blank at either end.
std::string NameProblem(std::string_view name);

}  // namespace tavrin
