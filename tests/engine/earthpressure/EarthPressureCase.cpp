#include "EarthPressureCase.h"

#include <cmath>
#include <sstream>

#include "textio/FreeFormatReader.h"

namespace terraq::test {

namespace {

std::string num(double v) {
  std::ostringstream s;
  s.precision(17);
  s << v;
  return s.str();
}

// Parses every blank-separated word of `line` as a number; false when one
// is not a number (a heading or a note).
bool allNumbers(const std::string& line, std::vector<double>& values) {
  values.clear();
  std::istringstream in(line);
  std::string word;
  while (in >> word) {
    double v = 0;
    if (!terraq::engine::ParseReal(word, v)) return false;
    values.push_back(v);
  }
  return !values.empty();
}

}  // namespace

std::string EarthPressureCase::text() const {
  std::ostringstream f;
  // Linear soil springs below the excavation, interpolated between curves.
  std::vector<int> curveStations;
  if (KPY != 2)
    for (int s = static_cast<int>(std::ceil(H / h - 1e-9)); s <= NI; s += 2) curveStations.push_back(s);
  const double spring = k > 0 ? k : units == 1 ? 1e4 : 1e5;
  const double stiffness = EI > 0 ? EI : units == 1 ? 1e11 : 1e6;

  f << "Earth pressure test wall\n";
  f << units << " 0 1 0 " << KEP << " " << KPY << " " << curveStations.size() << " 0 0\n";
  f << NI << " " << num(h) << " 100 " << num(tolerance) << " " << num(H) << "\n";
  f << "0 " << NI << " 1 " << num(stiffness) << "\n";
  f << "0\n";
  f << anchors.size() << "\n";
  for (const auto& [station, S] : anchors) f << station << " " << station << " 1 " << num(S) << " 0\n";
  if (KEP == 1) {
    f << specified.size() << "\n";
    for (const auto& [d, p] : specified) f << num(d) << " " << num(p) << "\n";
  }
  if (KEP >= 2 || KPY == 2) {
    f << num(H) << " " << num(Wa) << " " << num(Wp) << " " << num(waterBackfill) << " "
      << num(waterExcavation) << " " << num(factor) << " " << pressureSwitch << " " << num(beta) << "\n";
    f << num(q);
    for (double v : legacy) f << " " << num(v);
    f << "\n" << loads.size() << "\n";
    // The data file holds surcharge distances in millimetres in SI units.
    const double toFile = units == 2 ? 1000.0 : 1.0;
    for (const Load& l : loads)
      f << l.type << " " << num(l.magnitude) << " " << num(l.x * toFile) << " "
        << num(l.width * toFile) << "\n";
    f << layers.size() << "\n";
    for (const Layer& l : layers) {
      f << l.code << " " << num(l.bottom) << "\n";
      for (int row = 0; row < 2; ++row)
        f << num(l.gamma) << " " << num(l.c) << " " << num(l.phi) << " 0 0 0\n";
    }
  }
  for (int s : curveStations)
    f << s << " 3 1 1\n-1 " << num(spring) << "\n0 0\n1 " << num(-spring) << "\n";
  f << "0\n";
  return f.str();
}

std::vector<PressureRow> PlotPressureRows(const std::string& plot) {
  const std::vector<std::string> words = SplitWords(plot);
  std::vector<PressureRow> rows;
  if (words.empty()) return rows;
  const size_t n = std::stoul(words[0]);
  for (size_t r = 0; r < n && 4 * r + 4 < words.size(); ++r) {
    double v[4];
    // A field of asterisks (a value that is not a finite number) reads as NaN.
    for (size_t c = 0; c < 4; ++c)
      if (!terraq::engine::ParseReal(words[1 + 4 * r + c], v[c])) v[c] = std::nan("");
    rows.push_back({v[0], v[1], v[2], v[3]});
  }
  return rows;
}

std::vector<std::vector<double>> SectionNumbers(const std::string& report, const std::string& title) {
  const std::vector<std::string> lines = SplitLines(report);
  std::vector<std::vector<double>> rows;
  size_t k = 0;
  while (k < lines.size() && !Contains(lines[k], title)) ++k;
  // Past the title and the lower frame line: the section ends at the next
  // frame or depth table.
  for (k += 2; k < lines.size(); ++k) {
    if (Contains(lines[k], "*****") || Contains(lines[k], "DEPTH  ")) break;
    std::vector<double> values;
    if (allNumbers(lines[k], values)) rows.push_back(values);
  }
  return rows;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace terraq::test
