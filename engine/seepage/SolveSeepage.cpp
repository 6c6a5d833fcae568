// The seepage of a problem by its method, and the pore pressures and heads
// read from any method's solution.

#include <algorithm>

#include "FlowNet.h"
#include "api/Seepage.h"
#include "driver/ProblemUnits.h"

namespace terraq::engine::api {
namespace {

// No flow: each face carries its own table's head down to the tip.
void Hydrostatic(const SeepageProblem& p, SeepageSolution& s) {
  s.retainedFace = {{s.retainedTop, s.retainedHead},
                    {std::max(s.retainedTop, p.tip), s.retainedHead}};
  s.frontFace = {{s.frontTop, s.frontHead}, {std::max(s.frontTop, p.tip), s.frontHead}};
}

// The equal-path method: the head difference is lost uniformly along the
// shortest path through the saturated soil, down the back face and up the
// front one, whatever the layers' permeabilities (the manuals' method takes
// the soil as uniform).
void Linear(const SeepageProblem& p, SeepageSolution& s) {
  const double down = p.tip - s.retainedTop, up = p.tip - s.frontTop;
  const double lost = s.retainedHead - s.frontHead;
  const double tipHead = s.retainedHead - lost * down / (down + up);
  s.retainedFace = {{s.retainedTop, s.retainedHead}, {p.tip, tipHead}};
  s.frontFace = {{s.frontTop, s.frontHead}, {p.tip, tipHead}};
  s.exitGradient = lost / (down + up);
}

// The head of a face at `depth`, linear between its points and constant
// beyond its ends.
double FaceHeadAt(const std::vector<FaceHead>& face, double depth) {
  if (depth <= face.front().depth) return face.front().head;
  for (size_t k = 1; k < face.size(); ++k)
    if (depth <= face[k].depth) {
      const FaceHead &a = face[k - 1], &b = face[k];
      return a.head + (b.head - a.head) * (depth - a.depth) / (b.depth - a.depth);
    }
  return face.back().head;
}

}  // namespace

SeepageResult SolveSeepage(const SeepageProblem& p, SeepageMethod method) {
  if (std::string fault = SeepageProblemFault(p, method); !fault.empty()) return {{}, fault};
  SeepageSolution s;
  s.method = method;
  s.unitWeightOfWater = UnitWeightOfWater(p.units);
  s.tip = p.tip;
  s.retainedTop = std::max(p.retainedSurface, p.retainedWater);
  s.frontTop = std::max(p.excavationLevel, p.frontWater);
  s.retainedHead = -p.retainedWater;
  s.frontHead = -p.frontWater;
  switch (method) {
    case SeepageMethod::Hydrostatic: Hydrostatic(p, s); break;
    case SeepageMethod::Linear: Linear(p, s); break;
    case SeepageMethod::FlowNet:
      if (std::string fault = seepage::SolveFlowNet(p, s); !fault.empty()) return {{}, fault};
      break;
  }
  return {std::move(s), {}};
}

double PorePressureOnFace(const SeepageSolution& s, WallFace face, double depth) {
  const bool front = face == WallFace::Front;
  const double top = front ? s.frontTop : s.retainedTop;
  const double table = front ? s.frontHead : s.retainedHead;
  const double z = std::min(depth, std::max(top, s.tip));
  const double head = z <= top ? table : FaceHeadAt(front ? s.frontFace : s.retainedFace, z);
  return s.unitWeightOfWater * std::max(0.0, head + z);
}

double HeadInFront(const SeepageSolution& s, double depth, double distance) {
  if (s.flowNet) return seepage::FlowNetHeadInFront(s, depth, distance);
  return FaceHeadAt(s.frontFace, depth);
}

}  // namespace terraq::engine::api
