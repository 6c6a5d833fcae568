#include "Subgrade.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace terraq::engine::api {

namespace {

// clang-format off
constexpr std::array kParameters{
    SubgradeParameter{"khTop", "subgrade modulus at the layer's top", "kh,top",
                      Quantity::UnitWeight, 0, kNoUpperBound, false, &SubgradeLayer::khTop},
    SubgradeParameter{"khBottom", "subgrade modulus at the layer's bottom", "kh,bottom",
                      Quantity::UnitWeight, 0, kNoUpperBound, false, &SubgradeLayer::khBottom},
    // 0 stands for "from the friction angle and OCR"; the engine bounds a
    // given K0 by the layer's active and passive coefficients.
    SubgradeParameter{"k0", "at-rest coefficient (0: from phi' and OCR)", "K0",
                      Quantity::Ratio, 0, kNoUpperBound, true, &SubgradeLayer::k0},
    SubgradeParameter{"ocr", "over-consolidation ratio", "OCR",
                      Quantity::Ratio, 1, kNoUpperBound, true, &SubgradeLayer::ocr},
    SubgradeParameter{"reloadRatio", "unloading-reloading stiffness ratio", "R",
                      Quantity::Ratio, 1, kNoUpperBound, true, &SubgradeLayer::reloadRatio},
};
// clang-format on

}  // namespace

std::string ShownValue(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

std::string RangeText(double lower, bool lowerIncluded, double upper, bool upperIncluded) {
  std::string range = (lowerIncluded ? ">= " : "> ") + ShownValue(lower);
  if (upper < kNoUpperBound) range += (upperIncluded ? " and <= " : " and < ") + ShownValue(upper);
  return range;
}

std::span<const SubgradeParameter> SubgradeParameters() { return kParameters; }

const SubgradeParameter* FindSubgradeParameter(std::string_view key) {
  for (const SubgradeParameter& p : kParameters)
    if (p.key == key) return &p;
  return nullptr;
}

double AtRestCoefficient(const SubgradeLayer& layer, double phiDegrees) {
  if (layer.k0 > 0) return layer.k0;
  const double sinPhi = std::sin(phiDegrees * 3.14159265358979323846 / 180.0);
  return (1.0 - sinPhi) * std::pow(layer.ocr, sinPhi);
}

std::string SubgradeOptionsFault(const SubgradeOptions& options, size_t layerCount) {
  if (options.layers.size() != layerCount)
    return "the subgrade-reaction model gives " + std::to_string(options.layers.size()) +
           " layers, the data file has " + std::to_string(layerCount);
  for (size_t k = 0; k < options.layers.size(); ++k) {
    for (const SubgradeParameter& p : kParameters) {
      const std::string fault = SubgradeParameterFault(p, options.layers[k].*p.value);
      if (!fault.empty()) return "layer " + std::to_string(k + 1) + ": " + fault;
    }
  }
  return {};
}

std::string SubgradeParameterFault(const SubgradeParameter& p, double v) {
  const bool below = p.lowerIncluded ? v < p.lower : v <= p.lower;
  if (std::isfinite(v) && !below && v <= p.upper) return {};
  return "the " + std::string(p.name) + " must be " +
         RangeText(p.lower, p.lowerIncluded, p.upper, true) + ", not " + ShownValue(v);
}

}  // namespace terraq::engine::api
