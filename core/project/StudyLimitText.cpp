#include "project/StudyLimitText.h"

#include "FourDigits.h"
#include "project/StudyUnits.h"

namespace terraq::ui {

using design::FourDigits;

namespace {

std::vector<std::string> LimitRow(const design::LimitStateResult& l, size_t samples) {
  return {l.name, std::to_string(l.failures) + " of " + std::to_string(samples),
          FourDigits(l.probability), FourDigits(l.lower) + " to " + FourDigits(l.upper),
          FourDigits(l.beta)};
}

}  // namespace

TextRows SamplingLimitRows(const design::SamplingResult& r) {
  TextRows rows{{"limit state", "failures", "probability", "95 % interval", "beta"}};
  for (const design::LimitStateResult& l : r.limitStates) rows.push_back(LimitRow(l, r.samples));
  return rows;
}

std::vector<std::string> SamplingSystemRow(const design::SamplingResult& r) {
  if (!r.system) return {};
  std::vector<std::string> row = LimitRow(*r.system, r.samples);
  row.front() = "system";
  return row;
}

std::string SamplingSystemLine(const design::SamplingResult& r) {
  const std::vector<std::string> row = SamplingSystemRow(r);
  if (row.empty()) return {};
  return "system (" + std::string(kSystemMeaning) + "): " + row[1] + ", probability " + row[2] +
         " (" + row[3] + "), beta " + row[4];
}

FormModeWords FormModeText(const design::FormResult& r, const std::vector<std::string>& names,
                           int unitsCode) {
  FormModeWords w;
  w.convergence = (r.converged ? "Converged in " : "Did not converge in ") +
                  std::to_string(r.iterations) + " iterations (" + std::to_string(r.evaluations) +
                  " analyses)";
  w.beta = FourDigits(r.beta);
  w.probability = FourDigits(r.probability);
  w.index = "beta " + w.beta + ", probability of failure " + w.probability;
  w.designPoint.push_back({"parameter", "design point", "unit", "importance"});
  for (size_t k = 0; k < names.size() && k < r.designPoint.size(); ++k)
    w.designPoint.push_back({names[k], FourDigits(r.designPoint[k]),
                             ParameterUnit(names[k], unitsCode),
                             k < r.importance.size() ? FourDigits(r.importance[k]) : "-"});
  return w;
}

}  // namespace terraq::ui
