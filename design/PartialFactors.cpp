// The recommended partial factors; the technical manual's "Design
// situations" gives each with its table.
#include "PartialFactors.h"

#include <cctype>
#include <cmath>
#include <sstream>

namespace terraq::design {

namespace {

// EN 1997-1:2004 Annex A: actions A1 (Table A.3: γG 1.35, γQ 1.5) and A2
// (γG 1.0, γQ 1.3), soil M1 (all 1.0) and M2 (Table A.4: γφ' 1.25, γc' 1.25,
// γcu 1.4, γqu 1.4, γγ 1.0), resistance of retaining structures R1/R3 (1.0)
// and R2 (Table A.13: γR;e 1.4). DA3 takes A2 for the geotechnical actions
// that earth pressure is. AASHTO LRFD at Strength I: EH (active earth
// pressure) 1.50, WA (water load) 1.00, LS (live load surcharge) 1.75
// (Table 3.4.1-1), passive resistance of vertical elements φ = 0.75: the
// effects of the permanent actions are the water's (γG = WA = 1.0) and the
// active earth pressure alone carries EH (γEH = 1.5).
std::vector<FactorSet> MakeStandardSets() {
  return {
      {.name = "DA1-1",
       .description = "Design approach 1, combination 1: A1 + M1 + R1",
       .gammaG = 1.35,
       .gammaQ = 1.5,
       .unplannedExcavation = true},
      {.name = "DA1-2",
       .description = "Design approach 1, combination 2: A2 + M2 + R1",
       .gammaQ = 1.3,
       .gammaPhi = 1.25,
       .gammaC = 1.25,
       .gammaCu = 1.4,
       .gammaQu = 1.4,
       .unplannedExcavation = true},
      {.name = "DA2",
       .description = "Design approach 2: A1 + M1 + R2",
       .gammaG = 1.35,
       .gammaQ = 1.5,
       .gammaRe = 1.4,
       .unplannedExcavation = true},
      {.name = "DA3",
       .description = "Design approach 3: A2 (geotechnical actions) + M2 + R3",
       .gammaQ = 1.3,
       .gammaPhi = 1.25,
       .gammaC = 1.25,
       .gammaCu = 1.4,
       .gammaQu = 1.4,
       .unplannedExcavation = true},
      {.name = "SLS",
       .description = "Characteristic values: serviceability",
       .serviceability = true},
      {.name = "LRFD",
       .description = "Load and resistance factor design, Strength I: EH 1.50 on the active earth "
                      "pressure, WA 1.00, LS 1.75, passive resistance phi 0.75",
       .gammaG = 1.0,
       .gammaQ = 1.75,
       .gammaRe = 1 / 0.75,
       .gammaEH = 1.5},
  };
}

// The seismic design situations. EN 1998-5:2004 3.1(3) (Note: recommended
// values) divides the soil's strength by γφ' = 1.25 (on tan φ'), γc' = 1.25,
// γcu = 1.4 and γqu = 1.4, with the actions of the seismic combination of EN
// 1990:2002 6.4.3.4 unfactored (Gk + AEd + ψ2 Qk: γQ 1.0 here, ψ2 the
// engineer's to set). AASHTO LRFD Extreme Event I (Tables 3.4.1-1/-2): EH
// γp = 1.50 on the active earth pressure, WA 1.00, EQ 1.00, the live load
// surcharge γEQ (project-specific; 0.5 as the commentary C3.4.1 offers), and
// resistance factors of 1.0 at the extreme event limit state (11.5.8). The
// wall is checked as built: no unplanned excavation.
std::vector<FactorSet> MakeSeismicSets() {
  const engine::api::SeismicOptions still{};  // kh 0: the project's to set
  return {
      {.name = "SEISMIC",
       .description = "Seismic design situation, EN 1997-1 with EN 1998-5: actions unfactored, "
                      "M2 soil factors of EN 1998-5 3.1(3)",
       .gammaPhi = 1.25,
       .gammaC = 1.25,
       .gammaCu = 1.4,
       .gammaQu = 1.4,
       .seismic = still},
      {.name = "LRFD-EE1",
       .description = "Load and resistance factor design, Extreme Event I: EH 1.50 on the active "
                      "earth pressure, WA 1.00, EQ 1.00, LS 0.5, resistance phi 1.0",
       .gammaQ = 0.5,
       .gammaEH = 1.5,
       .seismic = still},
  };
}

std::string Lower(std::string_view text) {
  std::string out;
  for (char c : text) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

const std::vector<std::string_view>& FactorSymbols() {
  static const std::vector<std::string_view> symbols{"gammaG",     "gammaQ",  "gammaPhi",
                                                     "gammaC",     "gammaCu", "gammaQu",
                                                     "gammaGamma", "gammaRe", "gammaEH"};
  return symbols;
}

const std::vector<std::string_view>& GroundFactorSymbols() {
  static const std::vector<std::string_view> symbols{"gammaRHeave", "gammaRSlip"};
  return symbols;
}

double* FactorOf(FactorSet& set, std::string_view symbol) {
  if (symbol == "gammaG") return &set.gammaG;
  if (symbol == "gammaQ") return &set.gammaQ;
  if (symbol == "gammaPhi") return &set.gammaPhi;
  if (symbol == "gammaC") return &set.gammaC;
  if (symbol == "gammaCu") return &set.gammaCu;
  if (symbol == "gammaQu") return &set.gammaQu;
  if (symbol == "gammaGamma") return &set.gammaGamma;
  if (symbol == "gammaRe") return &set.gammaRe;
  if (symbol == "gammaEH") return &set.gammaEH;
  if (symbol == "gammaRHeave") return &set.gammaRHeave;
  if (symbol == "gammaRSlip") return &set.gammaRSlip;
  return nullptr;
}

double FactorOf(const FactorSet& set, std::string_view symbol) {
  FactorSet copy = set;
  const double* factor = FactorOf(copy, symbol);
  return factor ? *factor : std::nan("");
}

const std::vector<FactorSet>& StandardFactorSets() {
  static const std::vector<FactorSet> sets = MakeStandardSets();
  return sets;
}

const std::vector<FactorSet>& SeismicFactorSets() {
  static const std::vector<FactorSet> sets = MakeSeismicSets();
  return sets;
}

std::vector<FactorSet> ShippedFactorSets() {
  std::vector<FactorSet> sets = StandardFactorSets();
  sets.insert(sets.end(), SeismicFactorSets().begin(), SeismicFactorSets().end());
  return sets;
}

std::optional<FactorSet> StandardFactorSet(std::string_view name) {
  for (const FactorSet& set : ShippedFactorSets())
    if (Lower(set.name) == Lower(name)) return set;
  return std::nullopt;
}

std::string FactorSetError(const FactorSet& set) {
  if (set.name.empty()) return "a set of partial factors needs a name";
  std::vector<std::string_view> symbols = FactorSymbols();
  symbols.insert(symbols.end(), GroundFactorSymbols().begin(), GroundFactorSymbols().end());
  for (std::string_view symbol : symbols) {
    const double value = FactorOf(set, symbol);
    if (!(std::isfinite(value) && value > 0)) {
      std::ostringstream out;
      out << set.name << ": " << symbol << " must be a number above 0, not " << value;
      return out.str();
    }
  }
  if (set.seismic) {
    const engine::api::SeismicOptions& s = *set.seismic;
    std::ostringstream out;
    if (!(s.kh >= 0 && s.kh < 1))
      out << set.name << ": the horizontal seismic coefficient kh must lie from 0 to below 1, not "
          << s.kh;
    else if (!(std::fabs(s.kv) < 1))
      out << set.name << ": the vertical seismic coefficient kv must lie between -1 and 1, not "
          << s.kv;
    return out.str();
  }
  return "";
}

std::string SeismicSetError(const FactorSet& set) {
  if (!set.seismic || set.seismic->kh > 0) return "";
  return set.name +
         ": a seismic design situation needs the site's horizontal seismic coefficient kh "
         "above 0; set kh (and kv) for the set in the Design Situations window or with --kh";
}

}  // namespace terraq::design
