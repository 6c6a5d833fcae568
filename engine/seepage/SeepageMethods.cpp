// The seepage methods, declared once, and the faults that keep a problem
// from being solved.

#include <array>
#include <cmath>

#include "api/Seepage.h"
#include "api/Subgrade.h"

namespace terraq::engine::api {
namespace {

constexpr std::array<SeepageMethodInfo, 3> kMethods{{
    {SeepageMethod::Hydrostatic, "hydrostatic", "Hydrostatic",
     "the water of each side's table at rest, no flow"},
    {SeepageMethod::Linear, "linear", "Linear (equal path)",
     "USACE 1994, EM 1110-2-2504 Design of Sheet Pile Walls, line-of-creep seepage; "
     "CIRIA 2003, C580 Embedded retaining walls"},
    {SeepageMethod::FlowNet, "flow-net", "Flow net",
     "Harr 1962, Groundwater and Seepage; finite-volume solution of Laplace's equation"},
}};

std::string Positive(std::string_view what, double value) {
  if (std::isfinite(value) && value > 0) return {};
  return std::string(what) + " must be > 0, not " + ShownValue(value);
}

// A layer's permeabilities are read by the flow net only: the equal-path
// method knows none, and a project that chooses it need not give them.
std::string LayerFault(const SeepageLayer& layer, size_t index, bool permeabilities) {
  const std::string at = "layer " + std::to_string(index + 1) + ": the ";
  if (std::string fault = Positive(at + "thickness", layer.thickness); !fault.empty()) return fault;
  if (permeabilities)
    for (const std::string& fault : {Positive(at + "horizontal permeability kx", layer.kx),
                                     Positive(at + "vertical permeability kz", layer.kz)})
      if (!fault.empty()) return fault;
  if (!std::isfinite(layer.unitWeight) || layer.unitWeight < 0)
    return at + "unit weight must be >= 0, not " + ShownValue(layer.unitWeight);
  return {};
}

// What any flow round the wall needs: a wall that cuts into the saturated
// soil on both sides.
std::string WallFault(const SeepageProblem& p, SeepageMethod method) {
  if (!(p.tip > p.excavationLevel))
    return "the wall's tip (" + ShownValue(p.tip) + ") must lie below the excavation level (" +
           ShownValue(p.excavationLevel) + ")";
  if (!(p.tip > p.retainedSurface))
    return "the wall's tip must lie below the retained ground surface";
  if (!(p.tip > p.retainedWater) || !(p.tip > p.frontWater))
    return "both water tables must lie above the wall's tip for water to flow round it";
  for (size_t i = 0; i < p.layers.size(); ++i)
    if (std::string fault = LayerFault(p.layers[i], i, method == SeepageMethod::FlowNet);
        !fault.empty())
      return fault;
  return {};
}

// What a flow net needs besides: a base below the tip, room on each side.
std::string DomainFault(const SeepageProblem& p) {
  if (!(p.base > p.tip))
    return "the impermeable base (" + ShownValue(p.base) + ") must lie below the wall's tip (" +
           ShownValue(p.tip) + ")";
  for (const std::string& fault : {Positive("the width of soil behind the wall", p.retainedWidth),
                                   Positive("the width of soil in front of the wall", p.frontWidth),
                                   Positive("the mesh refinement", p.meshRefinement)})
    if (!fault.empty()) return fault;
  // Beyond 8 the grid grows past a million cells for no accuracy a wall needs.
  if (p.meshRefinement > 8)
    return "the mesh refinement must be <= 8, not " + ShownValue(p.meshRefinement);
  if (p.layers.empty()) return "there must be at least one soil layer";
  return {};
}

}  // namespace

std::span<const SeepageMethodInfo> SeepageMethods() { return kMethods; }

const SeepageMethodInfo& SeepageMethodOf(SeepageMethod method) {
  return kMethods[static_cast<size_t>(method)];
}

const SeepageMethodInfo* FindSeepageMethod(std::string_view key) {
  for (const SeepageMethodInfo& m : kMethods)
    if (m.key == key) return &m;
  return nullptr;
}

std::string SeepageProblemFault(const SeepageProblem& p, SeepageMethod method) {
  for (double depth : {p.retainedSurface, p.excavationLevel, p.retainedWater, p.frontWater, p.tip,
                       p.base, p.retainedWidth, p.frontWidth, p.meshRefinement})
    if (!std::isfinite(depth)) return "every depth and width must be a finite number";
  if (method == SeepageMethod::Hydrostatic) return {};
  if (std::string fault = WallFault(p, method); !fault.empty()) return fault;
  return method == SeepageMethod::FlowNet ? DomainFault(p) : std::string();
}

}  // namespace terraq::engine::api
