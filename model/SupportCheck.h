// The elastic supports' part of the check a job passes before it is meshed (CheckGeometry runs
// it after the loads and the physics): every spring stiffness and foundation modulus finite,
// not negative and at most kMaxPhysicalValue, so that stiffness times deflection stays far from
// overflow, and no freedom both held rigidly and on a spring. Where a spring sits (a free node
// outside the plate) is left to the containment check, which names the spring. Reads the job,
// changes nothing; linear in nodes, edges and polygons.
#pragma once

#include <string>

namespace tavrin {

class TObjCont;

// One sentence naming the node, edge or polygon at fault ("Edge 3 has a spring (rot. X) of
// -2: ..."), or "" when the supports are sound.
std::string ElasticSupportProblem(const TObjCont& job);

}  // namespace tavrin
