#include "AnchorTendons.h"

#include <algorithm>
#include <cstdio>

namespace terraq::design {

namespace {

// One 15.2 mm strand: nominal area and specified breaking strength
// (ASTM A416/A416M, grade 1860); low-relaxation strand yields (1 %
// extension) at no less than 90 % of it.
constexpr double kStrandArea = 140.0, kStrandUltimate = 260.7, kStrandYield = 0.90;
constexpr int kMaxStrands = 15;

struct BarSize {
  double diameter, area;  // mm, mm²
};
struct BarGrade {
  TendonKind kind;
  double fu, fy;  // MPa
  std::vector<BarSize> sizes;
};

// Nominal areas: ASTM A722/A722M Type II bars (1, 1¼, 1⅜, 1¾, 2½ in) and
// ASTM A615/A615M bars (#8, #9, #10, #11, #14, #18).
const std::vector<BarGrade>& BarGrades() {
  static const std::vector<BarSize> prestressing = {
      {26, 548}, {32, 806}, {36, 1019}, {46, 1690}, {65, 3355}};
  static const std::vector<BarSize> deformed = {{25, 510},  {29, 645},  {32, 819},
                                                {36, 1006}, {43, 1452}, {57, 2581}};
  static const std::vector<BarGrade> grades = {
      {TendonKind::Bar1035, 1035, 0.80 * 1035, prestressing},
      {TendonKind::Bar520, 690, 520, deformed},
      {TendonKind::Bar550, 725, 550, deformed}};
  return grades;
}

std::vector<Tendon> MakeTable() {
  std::vector<Tendon> table;
  char name[64];
  for (int n = 1; n <= kMaxStrands; ++n) {
    std::snprintf(name, sizeof name, "%d × 15.2 mm strand%s", n, n > 1 ? "s" : "");
    table.push_back({name, TendonKind::Strand, n, 15.2, n * kStrandArea, n * kStrandUltimate,
                     n * kStrandYield * kStrandUltimate});
  }
  for (const BarGrade& grade : BarGrades())
    for (const BarSize& size : grade.sizes) {
      std::snprintf(name, sizeof name, "%g mm bar, grade %g", size.diameter,
                    grade.kind == TendonKind::Bar1035 ? 1035.0 : grade.fy);
      // MPa × mm² = N; the table is in kN.
      table.push_back({name, grade.kind, 1, size.diameter, size.area, grade.fu * size.area / 1000,
                       grade.fy * size.area / 1000});
    }
  std::stable_sort(table.begin(), table.end(),
                   [](const Tendon& a, const Tendon& b) { return a.ultimate < b.ultimate; });
  return table;
}

}  // namespace

const std::vector<Tendon>& TendonTable() {
  static const std::vector<Tendon> table = MakeTable();
  return table;
}

std::string_view TendonKindName(TendonKind kind) {
  switch (kind) {
    case TendonKind::Strand: return "15.2 mm strand";
    case TendonKind::Bar1035: return "grade 1035 bar";
    case TendonKind::Bar520: return "grade 520 bar";
    case TendonKind::Bar550: return "grade 550 bar";
  }
  return "";
}

double TendonUtilisation(const Tendon& tendon, double design, double test, double lockOff) {
  const double testLimit = std::min(kTestFraction * tendon.ultimate, tendon.yield);
  return std::max({design / (kDesignFraction * tendon.ultimate), test / testLimit,
                   lockOff / (kLockOffFraction * tendon.ultimate)});
}

}  // namespace terraq::design
