// Temporary bodies so the model links while the rest is written.
#include "model/TObjCont.h"

#include <ostream>
#include <sstream>

namespace tavrin {
bool SegmentsCross(double, double, double, double, double, double, double, double) { return false; }
double PointDistance(double, double, double, double) { return 0; }
double PointSegmentDistance(double, double, double, double, double, double) { return 1e200; }
int ParseNumber(std::string_view, double&) { return stBadNumber; }
std::string FormatNumber(double v) { std::ostringstream s; s << v; return s.str(); }
int TObjCont::AddPolygonVertex(double, double, double) { return stRejected; }
int TObjCont::MoveNode(int, double, double) { return stRejected; }
int TObjCont::FindVertexNear(int, double, double, double) const { return -1; }
int TObjCont::FindCrossedEdge(int, double, double, double, double) const { return -1; }
JobFileResult TObjCont::SaveJob(const std::string&) const { return {false, "not yet"}; }
JobFileResult TObjCont::LoadJob(const std::string&) { return {false, "not yet"}; }
void TObjCont::WriteJob(std::ostream&) const {}
std::string TObjCont::JobText() const { return {}; }
void TObjCont::ReadJobText(std::string_view) {}
int TObjCont::ParseJobLine(std::string_view) { return stComment; }
void TObjCont::PrepareForMeshing() {}
void TObjCont::SelectOutline() {}
void TObjCont::AssignNodePolygons() {}
int TObjCont::FindPolygonAt(double, double) const { return -1; }
void TObjCont::ExchangeEdgeLists(int) {}
}  // namespace tavrin
