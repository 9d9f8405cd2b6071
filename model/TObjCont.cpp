// The job model's tables: construction, queries, setters and the building operations.
// Duplicate edges are refused through a hash set of unordered node pairs, so AddEdge costs
// O(1) on average instead of a scan over all edges (same result).
#include "model/TObjCont.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "containers/NodePairKey.h"
#include "containers/Sentinels.h"

namespace tavrin {

namespace {
constexpr double kLoadFloor = 1e-4;  // loads at or below this draw no symbol

// Infinity or NaN would be written as text no reader accepts, silently losing the record.
bool Finite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}
}  // namespace

TObjCont::TObjCont() { Clear(); }

void TObjCont::Clear() {
  nodes_.clear();
  edges_.clear();
  polygons_.assign(1, PolygonSlot{});
  polygonCount_ = 0;
  newPolygonPending_ = true;
  edgePairs_.clear();
  cases_ = LoadCases{};
  caseBeingRead_ = -1;
}

int TObjCont::NodeCount() const { return static_cast<int>(nodes_.size()); }
int TObjCont::EdgeCount() const { return static_cast<int>(edges_.size()); }
int TObjCont::PolygonCount() const { return polygonCount_; }
int TObjCont::LastNode() const { return NodeCount() - 1; }

double TObjCont::NodeX(int i) const {
  return ValidNode(i) ? nodes_[static_cast<std::size_t>(i)].x : kNoCoordinate;
}

double TObjCont::NodeY(int i) const {
  return ValidNode(i) ? nodes_[static_cast<std::size_t>(i)].y : kNoCoordinate;
}

int TObjCont::EdgeBegin(int e) const {
  return ValidEdge(e) ? edges_[static_cast<std::size_t>(e)].begin : -1;
}

int TObjCont::EdgeEnd(int e) const {
  return ValidEdge(e) ? edges_[static_cast<std::size_t>(e)].end : -1;
}

int TObjCont::PolygonEdgeCount(int p) const {
  if (p < 0 || p > polygonCount_) return -1;
  return static_cast<int>(polygons_[static_cast<std::size_t>(p)].edges.size());
}

int TObjCont::PolygonEdge(int p, int k) const {
  if (p < 0 || p > polygonCount_) return -1;
  const std::vector<int>& list = polygons_[static_cast<std::size_t>(p)].edges;
  if (k < 0 || k >= static_cast<int>(list.size())) return -1;
  return list[static_cast<std::size_t>(k)];
}

bool TObjCont::IsFreeNode(int i) const {
  return ValidNode(i) && nodes_[static_cast<std::size_t>(i)].isFree;
}

int TObjCont::NodePolygon(int i) const {
  return ValidNode(i) ? nodes_[static_cast<std::size_t>(i)].polygon : -1;
}

bool TObjCont::IsHole(int p) const {
  return p >= 0 && p < polygonCount_ && polygons_[static_cast<std::size_t>(p)].physics.isHole;
}

const std::array<double, 3>* TObjCont::Force(int index, bool isNode) const {
  if (isNode) return ValidNode(index) ? &nodes_[static_cast<std::size_t>(index)].force : nullptr;
  return ValidEdge(index) ? &edges_[static_cast<std::size_t>(index)].force : nullptr;
}

bool TObjCont::HasLinZLoad(int index, bool isNode) const {
  const auto* f = Force(index, isNode);
  return f != nullptr && std::fabs((*f)[0]) > kLoadFloor;
}

bool TObjCont::HasRotXLoad(int index, bool isNode) const {
  const auto* f = Force(index, isNode);
  return f != nullptr && std::fabs((*f)[1]) > kLoadFloor;
}

bool TObjCont::HasRotYLoad(int index, bool isNode) const {
  const auto* f = Force(index, isNode);
  return f != nullptr && std::fabs((*f)[2]) > kLoadFloor;
}

int TObjCont::GetConstraintCode(int index, bool isNode) const {
  if (isNode) return ValidNode(index) ? nodes_[static_cast<std::size_t>(index)].code : -1;
  return ValidEdge(index) ? edges_[static_cast<std::size_t>(index)].code : -1;
}

int TObjCont::GetNodeAttributes(int i, std::array<double, 6>& values, int& code) const {
  if (!ValidNode(i)) return -1;
  const Node& n = nodes_[static_cast<std::size_t>(i)];
  values = {n.displacement[0], n.displacement[1], n.displacement[2],
            n.force[0],        n.force[1],        n.force[2]};
  code = n.code;
  return code;
}

DofRecord TObjCont::NodeDof(int i) const {
  return ValidNode(i) ? DofRecord(nodes_[static_cast<std::size_t>(i)]) : DofRecord{};
}

DofRecord TObjCont::EdgeDof(int e) const {
  return ValidEdge(e) ? DofRecord(edges_[static_cast<std::size_t>(e)]) : DofRecord{};
}

int TObjCont::GetEdgeAttributes(int e, std::array<double, 6>& values, int& code) const {
  if (!ValidEdge(e)) return -1;
  const Edge& d = edges_[static_cast<std::size_t>(e)];
  values = {d.displacement[0], d.displacement[1], d.displacement[2],
            d.force[0],        d.force[1],        d.force[2]};
  code = d.code;
  return code;
}

StatusCode TObjCont::GetPolygonPhysics(int p, std::array<double, 5>& values) const {
  if (p < 0 || p > polygonCount_) return StatusCode::BadPolygon;
  const PolygonPhysics& ph = polygons_[static_cast<std::size_t>(p)].physics;
  values = {ph.eModulus, ph.nu, ph.thickness, ph.pressure, ph.isHole ? 1.0 : -1.0};
  return StatusCode::Done;
}

PolygonPhysics TObjCont::Physics(int p) const {
  if (p < 0 || p > polygonCount_) return PolygonPhysics{};
  return polygons_[static_cast<std::size_t>(p)].physics;
}

std::string TObjCont::PolygonName(int p) const {
  if (p < 0 || p > polygonCount_) return std::string();
  return polygons_[static_cast<std::size_t>(p)].name;
}

StatusCode TObjCont::SetNodeLoads(int i, double linZ, double rotX, double rotY) {
  if (!ValidNode(i)) return StatusCode::BadIndex;
  if (!Finite({linZ, rotX, rotY})) return StatusCode::BadNumber;
  nodes_[static_cast<std::size_t>(i)].force = {linZ, rotX, rotY};
  return StatusCode::Done;
}

StatusCode TObjCont::SetEdgeLoads(int e, double linZ, double rotX, double rotY) {
  if (!ValidEdge(e)) return StatusCode::BadIndex;
  if (!Finite({linZ, rotX, rotY})) return StatusCode::BadNumber;
  edges_[static_cast<std::size_t>(e)].force = {linZ, rotX, rotY};
  return StatusCode::Done;
}

StatusCode TObjCont::SetNodeConstraints(int i, int code, double linZ, double rotX, double rotY) {
  if (!ValidNode(i)) return StatusCode::BadNode;
  return SetNodeSupport(i, code, {linZ, rotX, rotY}, NodeSprings(i));
}

StatusCode TObjCont::SetEdgeConstraints(int e, int code, double linZ, double rotX, double rotY) {
  return SetEdgeSupport(e, code, {linZ, rotX, rotY}, EdgeSprings(e));
}

StatusCode TObjCont::SetPolygonPhysics(int p, double pressure, double eModulus, double nu,
                                       double thickness, bool isHole) {
  if (p < 0 || p > polygonCount_) return StatusCode::BadPolygon;
  if (!Finite({pressure, eModulus, nu, thickness})) return StatusCode::BadNumber;
  PolygonPhysics& physics = polygons_[static_cast<std::size_t>(p)].physics;
  physics.eModulus = eModulus;
  physics.nu = nu;
  physics.thickness = thickness;
  physics.pressure = pressure;
  physics.isHole = isHole;
  return StatusCode::Done;
}

StatusCode TObjCont::SetPolygonName(int p, const std::string& name) {
  if (p < 0 || p > polygonCount_) return StatusCode::BadPolygon;
  polygons_[static_cast<std::size_t>(p)].name = name;
  return StatusCode::Done;
}

void TObjCont::SetFreeNode(int i, bool isFree) {
  if (ValidNode(i)) nodes_[static_cast<std::size_t>(i)].isFree = isFree;
}

StatusCode TObjCont::AddNode(double x, double y) {
  Node n;
  n.x = x;
  n.y = y;
  nodes_.push_back(n);
  return StatusCode::Added;
}

StatusCode TObjCont::AddFreeNode(double x, double y) { return AddNode(x, y); }

StatusCode TObjCont::AddEdge(int begin, int end) {
  if (!ValidNode(begin) || !ValidNode(end)) return StatusCode::BadNode;
  if (!edgePairs_.insert(NodePairKey(begin, end)).second) return StatusCode::Exists;
  Edge e;
  e.begin = begin;
  e.end = end;
  edges_.push_back(e);
  nodes_[static_cast<std::size_t>(begin)].isFree = false;
  nodes_[static_cast<std::size_t>(end)].isFree = false;
  return StatusCode::Done;
}

StatusCode TObjCont::AddPolygonEdge(int begin, int end) {
  const StatusCode r = AddEdge(begin, end);
  if (r != StatusCode::Done) return r;
  polygons_[static_cast<std::size_t>(polygonCount_)].edges.push_back(EdgeCount() - 1);
  return StatusCode::Added;
}

StatusCode TObjCont::ClosePolygon() {
  PolygonSlot& open = polygons_[static_cast<std::size_t>(polygonCount_)];
  open.physics = PolygonPhysics{};
  open.physics.isHole = polygonCount_ != 0;
  ++polygonCount_;
  polygons_.emplace_back();  // the next open polygon
  newPolygonPending_ = true;
  return StatusCode::PolygonClosed;
}

}  // namespace tavrin
