#include "PyCase.h"

#include <sstream>
#include <stdexcept>

#include "EngineRun.h"

namespace terraq::test {

namespace {

void row(std::ostringstream& out, const std::array<double, 6>& v) {
  for (double x : v) out << x << ' ';
  out << '\n';
}

}  // namespace

std::string PyCase::dataFile() const {
  std::ostringstream out;
  out.precision(10);
  const int kep = pressure.empty() ? 0 : 1;
  out << "Generated p-y curves\n";
  out << units << " 0 1 " << modification.size() << ' ' << kep << " 2 " << userCurveCount
      << " 1 0\n";
  out << ni << ' ' << h << " 100 " << tolerance << ' ' << H << '\n';
  out << "0 " << ni << " 1 " << ei << '\n';
  if (topLoad != 0) out << "1\n0 0 0 " << topLoad << " 0 0\n";
  else out << "0\n";
  out << "0\n";
  for (const auto& m : modification) out << m[0] << ' ' << m[1] << ' ' << m[2] << '\n';
  if (kep == 1) {
    out << pressure.size() << '\n';
    for (const auto& p : pressure) out << p[0] << ' ' << p[1] << '\n';
  }
  out << H << ' ' << WA << ' ' << WP << ' ' << waterBackfill << ' ' << waterBackfill
      << " 1 1 0\n";
  out << "0 0 0 0 0 0\n0\n";
  out << layers.size() << '\n';
  for (const TestLayer& l : layers) {
    out << l.code << ' ' << l.bottom << '\n';
    row(out, l.top);
    row(out, l.base);
  }
  out << userCurves;
  out << "0\n";
  return out.str();
}

TestLayer Sand(double bottom, double weight, double phiDegrees, double k) {
  TestLayer l;
  l.code = 4;
  l.bottom = bottom;
  l.top = l.base = {weight, 0, phiDegrees, 0, k, 0};
  return l;
}

TestLayer SoftClay(double bottom, double weight, double cohesion, double e50) {
  TestLayer l;
  l.code = 1;
  l.bottom = bottom;
  l.top = l.base = {weight, cohesion, 0, e50, 0, 0};
  return l;
}

PyBlock ReadPyBlock(const std::string& plotText) {
  const std::vector<std::string> w = SplitWords(plotText);
  size_t k = 0;
  auto next = [&]() {
    if (k >= w.size()) throw std::runtime_error("plot file ends in the p-y block");
    return std::stod(w[k++]);
  };
  const int pressureRows = static_cast<int>(next());
  k += static_cast<size_t>(4 * pressureRows);
  PyBlock block;
  block.units = static_cast<int>(next());
  const int count = static_cast<int>(next());
  for (int c = 0; c < count; ++c) {
    PlotCurve curve;
    curve.header = next();
    const int n = static_cast<int>(next());
    for (int i = 0; i < n; ++i) {
      curve.y.push_back(next());
      curve.p.push_back(next());
    }
    block.curves.push_back(curve);
  }
  return block;
}

}  // namespace terraq::test
