#pragma once
// The subgrade-reaction soil model, beside the p-y model (which stays the
// default): at every station one elasto-plastic spring on each side of the
// wall, over the whole height of that side's soil, in effective horizontal
// stress (total stress in undrained layers, as the earth-pressure rules of
// SoilDescription.h take them), with the water pressure apart.
//
// One spring's law, with v its compression (the wall's deflection towards
// the soil of its side, from where the soil was placed), sigma its
// horizontal stress:
//   at rest      sigma0 = K0 * sv, K0 = (1 - sin phi') * OCR^sin phi' unless
//                given (1 in an undrained layer, phi' = 0);
//   limits       active  FA * max(0, Ka sv - 2 c sqrt(Ka)) (sv - 2 su in an
//                undrained layer, never below zero) and passive
//                Kp sv + 2 c sqrt(Kp) (sv + 2 su), Rankine;
//   first load   slope kh (the layer's subgrade modulus, linear from its top
//                to its bottom) from at rest in the direction it first moves;
//   reversal     slope kur = R * kh, back along the same line on reloading,
//                and on along the first-load line beyond where it left it;
//   plastic      at a limit the spring slides; it leaves the limit along
//                kur when the wall turns back.
// A change of the vertical stress between stages (an excavation in front,
// a surcharge, a fill) moves a spring's stress by K0 times that change,
// within its new limits. Excavated soil's springs leave the model and their
// force with them; placed soil gets fresh springs at rest against the wall
// as it stands. Uniform surcharge adds to sv; point, line and strip
// surcharges press on the retained side as the p-y model applies them.
//
// Units: the problem's own F and L (AnalysisOptions, Analysis.h); depths
// below the top of the wall. Thread safety: values and pure functions.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "SoilModelTable.h"
#include "Units.h"

namespace terraq::engine::api {

// The parameters of one soil layer of the data file.
struct SubgradeLayer {
  double khTop = 0, khBottom = 0;  // F/L^3, subgrade modulus at the layer's top and bottom, > 0
  double k0 = 0;                   // at-rest coefficient; 0: from phi' and OCR
  double ocr = 1;                  // over-consolidation ratio, >= 1
  double reloadRatio = 1;          // R: the unloading-reloading slope is R * kh, >= 1
  bool operator==(const SubgradeLayer&) const = default;
};

struct SubgradeOptions {
  // One per soil layer of the data file (its layer table, every problem),
  // in order.
  std::vector<SubgradeLayer> layers;
  bool operator==(const SubgradeOptions&) const = default;
};

// A parameter of the model, declared once: the project file's key, the
// names the program and the package show, its quantity and its range.
struct SubgradeParameter {
  std::string_view key;     // "khTop"
  std::string_view name;    // "subgrade modulus at the layer's top"
  std::string_view symbol;  // "kh,top"
  Quantity quantity;
  double lower = 0, upper = 0;
  bool lowerIncluded = true;  // the range is [lower, upper] or (lower, upper]
  double SubgradeLayer::*value;
};

// Every parameter, in the order of the layer table's columns.
std::span<const SubgradeParameter> SubgradeParameters();
// The parameter named `key`; nullptr when there is none.
const SubgradeParameter* FindSubgradeParameter(std::string_view key);

// The range of a declared parameter or input as messages say it: ">= 1",
// "> 0 and < 0.5" (no upper part at kNoUpperBound and above), and a value
// in the form those messages give it.
std::string RangeText(double lower, bool lowerIncluded, double upper, bool upperIncluded);
std::string ShownValue(double value);

// The at-rest coefficient of a layer of friction angle `phiDegrees` with
// `layer`'s parameters: its own K0 when given, else (1 - sin phi') *
// OCR^sin phi'.
double AtRestCoefficient(const SubgradeLayer& layer, double phiDegrees);

// Why `options` cannot be analysed with a data file of `layerCount` soil
// layers (a count that differs, a value out of its range: "layer 2: the
// subgrade modulus at the layer's top must be > 0"); empty when they can.
std::string SubgradeOptionsFault(const SubgradeOptions& options, size_t layerCount);
// Why `value` is not a value of `parameter` ("the over-consolidation ratio
// must be >= 1, not 0.5"); empty when it is.
std::string SubgradeParameterFault(const SubgradeParameter& parameter, double value);

// The mobilised pressure on one face of the wall at one station: the
// springs of that side's soil under the station's hat function, their
// stresses and limits averaged by their shares of it (F/L^2, effective
// where the layer drains). `present` is false where that side has no soil.
struct MobilisedPressure {
  bool present = false;
  double pressure = 0, active = 0, atRest = 0, passive = 0;
  double water = 0;  // the pore-water pressure on that face
};

// One station of a subgrade-reaction analysis.
struct SubgradeStation {
  double depth = 0;  // L
  MobilisedPressure retained, front;
};

}  // namespace terraq::engine::api
