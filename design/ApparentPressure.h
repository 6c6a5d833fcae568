#pragma once
// Apparent-pressure envelopes of walls with several support levels: the
// empirical pressure diagrams drawn round the support loads measured in
// braced and anchored cuts, from which the supports are designed (with the
// loads of ApparentPressureLoads.h). They are envelopes of the largest loads
// over the construction, not the pressure at any one moment, and they hold
// for the retained height H only: the soil below the excavation level and
// water pressure are not part of them.
//
//   EnvelopeInput in{.source = EnvelopeSource::Fhwa, .soil = EnvelopeSoil::Sand, .height = 10,
//                    .unitWeight = 18, .Ka = 0.295, .surcharge = 11, .supports = {2.5, 6.25}};
//   std::string error;
//   std::optional<PressureEnvelope> e = ApparentEnvelope(in, error);
//
// Units: any consistent set, those of the data file in the program: depths
// and H in L below the top of the wall, unit weight F/L^3, strengths and
// pressures F/L^2. Thread safety: pure functions.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace terraq::design {

enum class EnvelopeSource {
  TerzaghiPeck,  // Terzaghi & Peck (1967), as Peck (1969) gives it
  Fhwa,          // Sabatini, Pass & Bachus (1999), FHWA-IF-99-015 (GEC-4)
};

enum class EnvelopeSoil { Sand, SoftClay, StiffClay };

// One envelope as the manual and the calculation package cite it.
struct EnvelopeDeclaration {
  EnvelopeSource source;
  EnvelopeSoil soil;
  const char* name;       // "FHWA, sand"
  const char* rule;       // the ordinate and the shape
  const char* reference;  // the published source
  const char* inputs;     // the inputs and their ranges
};

// The six envelopes, Terzaghi & Peck first.
std::span<const EnvelopeDeclaration> EnvelopeDeclarations();
const EnvelopeDeclaration& DeclarationOf(EnvelopeSource source, EnvelopeSoil soil);
const char* SourceKey(EnvelopeSource source);  // "terzaghi-peck", "fhwa"
const char* SoilKey(EnvelopeSoil soil);        // "sand", "soft-clay", "stiff-clay"

// The stiff-clay factor's published range (0.2 to 0.4 gamma H) and the
// default, its upper end: the engineer lowers it for short, well-supported
// cuts.
constexpr double kLeastClayFactor = 0.2;
constexpr double kMostClayFactor = 0.4;
// The stability number N = gamma H / su at and below which a clay is stiff.
constexpr double kStiffClayNumber = 4.0;

struct EnvelopeInput {
  EnvelopeSource source = EnvelopeSource::Fhwa;
  EnvelopeSoil soil = EnvelopeSoil::Sand;
  double height = 0;                    // H, the excavation depth
  double unitWeight = 0;                // gamma, total, averaged over H
  double Ka = 0;                        // sand: the active coefficient, 0 < Ka <= 1
  double su = 0;                        // clays: the undrained strength averaged over H
  double surcharge = 0;                 // q, uniform on the retained surface, >= 0
  double clayFactor = kMostClayFactor;  // stiff clay: p = factor gamma H, 0.2 to 0.4
  // Terzaghi & Peck, soft clay: m = 0.4 instead of 1 where the cut is
  // underlain by deep, soft, normally consolidated clay (Peck 1969).
  bool softBase = false;
  // FHWA, soft clay (Henkel 1971): the undrained strength below the
  // excavation level (0: su) and the depth d of the failure surface below
  // it (0 leaves the base's term out).
  double baseSu = 0;
  double failureDepth = 0;
  // The support depths, increasing, each above H: the FHWA trapezoids are
  // drawn from the top support (H1) and the lowest (Hn+1 = H - its depth).
  std::vector<double> supports{};
};

struct PressureEnvelope {
  // The soil's apparent pressure, linear between these (depth, pressure)
  // points from the top of the wall (0) to the excavation level (H).
  std::vector<std::array<double, 2>> points;
  double ordinate = 0;     // p, the soil's largest apparent pressure
  double coefficient = 0;  // K of the surcharge's uniform K q
  double surchargePressure = 0;
  double stabilityNumber = 0;  // gamma H / su of a clay; 0 for sand
  double height = 0;
  std::vector<std::string> notes;  // warnings that do not stop the design

  // Soil and surcharge at `depth` (0 to H).
  double PressureAt(double depth) const;
  // The resultant of soil and surcharge over [from, to] (F/L) and its
  // moment about the depth `about` (F L/L, positive below `about`).
  double Load(double from, double to) const;
  double MomentAbout(double from, double to, double about) const;
};

// The envelope of `input`; nullopt with `error` saying which input is out
// of its range.
std::optional<PressureEnvelope> ApparentEnvelope(const EnvelopeInput& input, std::string& error);

// The refusal of support depths: one at or below the excavation level,
// above the top of the wall, or not deeper than the one before. Empty when
// they are sound.
std::string RefuseSupports(const std::vector<double>& supports, double height);

}  // namespace terraq::design
