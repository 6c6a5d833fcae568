#pragma once
// The steel of ground-anchor tendons: the table the anchor design
// (AnchorDesign.h) chooses from, and the load limits that hold a tendon.
//
// A tendon's strength is its guaranteed ultimate tensile strength (GUTS:
// the specified minimum tensile strength of the steel times its nominal
// area) and its yield load (the load at 1 % extension of strand, the 0.2 %
// proof load of a bar), as the product standards specify them:
//  - seven-wire, low-relaxation strand of 15.2 mm (0.6 in), grade 1860
//    (270): 140 mm², 260.7 kN each, yield 90 % of it (ASTM A416/A416M),
//    1 to 15 strands to a tendon;
//  - threaded prestressing bars, grade 1035 (150): fpu = 1035 MPa, yield
//    80 % of it (ASTM A722/A722M, Type II), 26, 32, 36, 46 and 65 mm;
//  - threaded deformed bars of grade 520 (75): fy = 520 MPa, fu = 690 MPa,
//    and grade 550 (80): fy = 550 MPa, fu = 725 MPa (ASTM A615/A615M),
//    25 to 57 mm.
// A tendon holds a design load T, a test load Tt and a lock-off load Tl
// when (Sabatini et al. 1999): T ≤ 0.60 GUTS, Tt ≤ 0.80 GUTS and
// Tl ≤ 0.70 GUTS. The grade 520 and 550 bars yield below 0.80 GUTS, so the
// test load is held to their yield load as well (the prestressing steels
// yield above 0.80 GUTS and are not affected).
//
// Units: mm, mm², kN. Thread safety: the table is a constant.

#include <string>
#include <string_view>
#include <vector>

namespace terraq::design {

enum class TendonKind {
  Strand,   // 15.2 mm, grade 1860 seven-wire strands
  Bar1035,  // grade 1035 threaded prestressing bar
  Bar520,   // grade 520 threaded bar
  Bar550,   // grade 550 threaded bar
};

struct Tendon {
  std::string name;  // "4 × 15.2 mm strands", "32 mm bar, grade 1035"
  TendonKind kind = TendonKind::Strand;
  int strands = 1;      // strands in the tendon; 1 for a bar
  double diameter = 0;  // mm, of one strand or of the bar
  double area = 0;      // mm², of the whole tendon
  double ultimate = 0;  // kN, GUTS of the whole tendon
  double yield = 0;     // kN, of the whole tendon
};

// Fractions of GUTS a tendon's loads may reach.
constexpr double kDesignFraction = 0.60;
constexpr double kTestFraction = 0.80;
constexpr double kLockOffFraction = 0.70;

// Every tendon of the table, weakest (lowest GUTS) first.
const std::vector<Tendon>& TendonTable();

// "15.2 mm strand", "grade 1035 bar", ...
std::string_view TendonKindName(TendonKind kind);

// The largest of the design, test and lock-off loads (kN) over its limit on
// `tendon` (1 where the binding load is at its limit, above 1: the tendon
// does not hold them).
double TendonUtilisation(const Tendon& tendon, double design, double test, double lockOff);

}  // namespace terraq::design
