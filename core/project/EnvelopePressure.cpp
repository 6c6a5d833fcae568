#include "project/EnvelopePressure.h"

#include <algorithm>
#include <cmath>

#include "controls/UnitsCode.h"
#include "project/TProgramData.h"
#include "project/TProjectTables.h"
#include "tables/TColumn.h"
#include "tables/TGridTable.h"

namespace terraq::ui {

namespace {

// The table holds English depths in feet and loads per foot; the data
// file, inches.
long double FileFactorOf(TGridTable& table, int column, int units) {
  return FileFactor(static_cast<TFloatColumn&>(table.Column(column)).UnitsCode, units);
}

std::vector<std::array<double, 2>> RowsOf(TGridTable& table, int units) {
  std::vector<std::array<double, 2>> rows;
  for (int r = 0; r < table.RowCount(); ++r)
    rows.push_back(
        {static_cast<double>(table.Cell(0, r).AsFloat() * FileFactorOf(table, 0, units)),
         static_cast<double>(table.Cell(1, r).AsFloat() * FileFactorOf(table, 1, units))});
  return rows;
}

void SetRows(TGridTable& table, const std::vector<std::array<double, 2>>& rows, int units) {
  table.SetRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < table.RowCount(); ++r)
    for (int c = 0; c < 2; ++c)
      table.Cell(c, r).SetFloat(rows[static_cast<size_t>(r)][static_cast<size_t>(c)] /
                                FileFactorOf(table, c, units));
}

bool SameRows(const std::vector<std::array<double, 2>>& a,
              const std::vector<std::array<double, 2>>& b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k)
    for (size_t c = 0; c < 2; ++c)
      if (std::abs(a[k][c] - b[k][c]) > 1e-9 * std::max(1.0, std::abs(b[k][c]))) return false;
  return true;
}

std::string Refusal(const TProgramData& data) {
  if (data.StageCount > 1)
    return "A staged project keeps its earth pressure per stage: enter it in each stage's "
           "Distributed Loads.";
  if (data.LongTerm)
    return "The long-term data set has an earth pressure of its own: a project with a "
           "long-term analysis is not given the envelope.";
  if (!data.GeneratePY)
    return "The data file keeps the soil layers with specified earth pressure only when it "
           "generates the p-y curves from them: switch p-y generation on first, or the layers "
           "the envelope was drawn from would be lost.";
  if (!(data.ActiveWidth > 0))
    return "The wall has no width for earth pressure (Wa) to carry the envelope's pressure.";
  return {};
}

}  // namespace

std::vector<std::array<double, 2>> EnvelopeTableRows(const design::PressureEnvelope& envelope,
                                                     double width) {
  std::vector<std::array<double, 2>> rows;
  for (size_t k = 0; k < envelope.points.size(); ++k) {
    const double depth = envelope.points[k][0];
    // A step at a depth (the pressure jumps): the table interpolates, so
    // the deeper value stands for both.
    if (k + 1 < envelope.points.size() && envelope.points[k + 1][0] <= depth) continue;
    rows.push_back({depth, width * (envelope.points[k][1] + envelope.surchargePressure)});
  }
  return rows;
}

std::optional<EarthPressureChange> SetEnvelopePressure(TProgramData& data,
                                                       const design::PressureEnvelope& envelope,
                                                       std::string& refused) {
  refused = Refusal(data);
  if (!refused.empty()) return std::nullopt;
  TGridTable& table = data.Tables().EarthPressure;
  EarthPressureChange change;
  change.userPressure = data.UserPressure;
  change.option = data.EarthPressureOption;
  change.before = RowsOf(table, data.Units);
  change.after = EnvelopeTableRows(envelope, data.ActiveWidth);
  if (change.after.size() < static_cast<size_t>(table.MinRows()) ||
      change.after.size() > static_cast<size_t>(table.MaxRows())) {
    refused = "The envelope has no rows the Distributed Loads table can hold.";
    return std::nullopt;
  }
  SetRows(table, change.after, data.Units);
  data.UserPressure = true;
  data.EarthPressureOption = 1;
  data.Modified = true;
  return change;
}

bool UndoEnvelopePressure(TProgramData& data, const EarthPressureChange& change,
                          std::string& refused) {
  TGridTable& table = data.Tables().EarthPressure;
  if (!data.UserPressure || !SameRows(RowsOf(table, data.Units), change.after)) {
    refused = "The earth pressure was edited after the envelope was set: the edit is kept.";
    return false;
  }
  SetRows(table, change.before, data.Units);
  data.UserPressure = change.userPressure;
  data.EarthPressureOption = change.option;
  data.Modified = true;
  return true;
}

}  // namespace terraq::ui
