#include "WallCase.h"

#include "api/ModelAnalysis.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <sstream>

namespace terraq::test {

namespace {

// Full precision, so that the engine reads the very value the test uses in
// its closed-form solution.
std::string num(double v) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17g", v);
  return buffer;
}

std::string num(int v) { return std::to_string(v); }

template <typename... Values>
std::string tabbed(Values... values) {
  std::string line;
  ((line += (line.empty() ? "" : "\t") + num(values)), ...);
  return line + "\n";
}

}  // namespace

std::string WallCase::text() const {
  const int kep = earthPressure.empty() ? 0 : 1;
  const int kpy = curves.empty() ? 0 : 1;
  std::string t = title + "\n";
  t += num(units) + " " + num(static_cast<int>(specified.size())) + "\t" +
       num(static_cast<int>(rigidity.size())) + "\t0\t" + num(kep) + "\t" + num(kpy) + " " +
       num(static_cast<int>(curves.size())) + " 0 " + num(static_cast<int>(sections.size())) +
       "\n";
  t += num(NI) + " " + tabbed(h, WMAX, TOL, HFREE);
  for (const Specified& s : specified) t += tabbed(s.caseCode, s.station, s.deflection, s.slope);
  for (const Rigidity& r : rigidity) t += tabbed(r.from, r.to, r.contd, r.EI);
  t += num(static_cast<int>(loads.size())) + "\n";
  for (const Load& l : loads) t += tabbed(l.contd, l.from, l.to, l.Q, l.T, l.P);
  t += num(static_cast<int>(springs.size())) + "\n";
  for (const Spring& s : springs) t += tabbed(s.from, s.to, s.contd, s.S, s.R);
  if (kep == 1) {
    t += num(static_cast<int>(earthPressure.size())) + "\n";
    for (const auto& [depth, load] : earthPressure) t += tabbed(depth, load);
  }
  for (const Curve& c : curves) {
    t += tabbed(c.station, static_cast<int>(c.yp.size()), c.pMultiplier, c.yMultiplier);
    for (const auto& [y, p] : c.yp) t += tabbed(y, p);
  }
  for (const Section& s : sections) {
    t += tabbed(s.from, s.to, static_cast<int>(s.momentEI.size()));
    for (const auto& [m, ei] : s.momentEI) t += tabbed(m, ei);
  }
  return t + "0\n";
}

std::string StagedText(const std::vector<WallCase>& stages) {
  std::string text;
  for (size_t k = 0; k < stages.size(); ++k) {
    std::string t = stages[k].text();
    const size_t first = t.find('\n') + 1;
    const size_t end = t.find('\n', first);
    std::istringstream words(t.substr(first, end - first));
    std::vector<std::string> control{std::istream_iterator<std::string>(words), {}};
    control[7] = std::to_string(stages.size());
    std::string line;
    for (const std::string& w : control) line += (line.empty() ? "" : " ") + w;
    t.replace(first, end - first, line);
    t.replace(t.size() - 2, 2, std::to_string(k + 1) + "\n");
    text += t;
  }
  return text;
}

std::vector<PlotRow> FinalResultBlock(const std::string& plot, int rows) {
  const std::vector<std::string> words = SplitWords(plot);
  const size_t size = 3 + 5 * static_cast<size_t>(rows);
  if (rows < 1 || words.size() < size) return {};
  const size_t first = words.size() - size;
  if (std::atoi(words[first + 1].c_str()) != rows) return {};
  std::vector<PlotRow> out;
  for (size_t k = first + 3; k < words.size(); k += 5) {
    auto v = [&](size_t i) { return std::strtod(words[k + i].c_str(), nullptr); };
    out.push_back({v(0), v(1), v(2), v(3), v(4)});
  }
  return out;
}

SolvedWall SolveDataFile(const std::string& text) {
  SolvedWall s;
  namespace api = terraq::engine::api;
  api::AnalysisOptions texts;
  texts.reportText = texts.plotText = texts.monitorText = true;
  api::AnalysisResult result = api::Analyse(text, texts, s.model);
  s.files = {std::move(result.report), std::move(result.plot), std::move(result.monitor)};
  s.plot = FinalResultBlock(s.files.plot, s.model.control.NI + 1);
  s.reportLines = SplitLines(s.files.report);
  s.monitorLines = SplitLines(s.files.monitor);
  return s;
}

SolvedWall Solve(const WallCase& wall) { return SolveDataFile(wall.text()); }

bool HasLine(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines)
    if (line.find(text) != std::string::npos) return true;
  return false;
}

bool ReportWarnsOrStops(const SolvedWall& run) {
  for (const char* text : {"DEFLECTION OFF", "ALLOWABLE DEFLECTION EXCEEDED", "NOT CLOSED", "NOT VALID",
                           "WALL WEAKENED", "ERROR",
                           "TOO MUCH DATA"})
    if (HasLine(run.reportLines, text)) return true;
  return false;
}

double Interpolate(const Points& polyline, double x) {
  size_t b = 1;
  while (b + 1 < polyline.size() && x > polyline[b].first) ++b;
  const auto& [x0, y0] = polyline[b - 1];
  const auto& [x1, y1] = polyline[b];
  return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
}

}  // namespace terraq::test
