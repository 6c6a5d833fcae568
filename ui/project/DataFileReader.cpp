// Reading a data file (the current, 3.0 and 2.0 layouts) or one stage block
// into the project. Values are read word by word in the order of the
// records; each count sizes its table before the rows are read, and a count
// beyond the table's limits is refused before anything is allocated. For
// English units the file's base units (inches, lb/in^3) are turned back into
// the units the tables display (feet, lb/ft^3).

#include <algorithm>
#include <string>

#include "controls/UnitsCode.h"
#include "project/SoilParameterLines.h"
#include "project/StageFiles.h"
#include "project/TProgramData.h"
#include "project/TWordReader.h"

namespace terraq::ui {

namespace {

// Rows accepted for a table without an upper limit: as many as the engine
// can hold in its earth-pressure table.
constexpr int kUnlimitedTableRows = 1200;

// A count with the place it was read, for an error that names it later.
struct Count {
  int value = 0;
  int line = 0;
  int item = 0;
};

}  // namespace

class TDataFileReader {
 public:
  TDataFileReader(TProgramData& data, const std::string& text, int layout)
      : d_(data), t_(data.Tables()), r_(text), layout_(layout == kLayoutCurrent || layout == kLayout30 ? layout
                                                                                                      : kLayout20) {}

  // The whole file: one data set, and the long-term set after a flag 9.
  void readFile() {
    dataSet(false, false);
    if (layout_ == kLayout20) return;
    const int flag = r_.NextInteger();
    if (flag == 9) {
      r_.RestOfLine();  // the rest of the flag line
      dataSet(true, false);
      d_.LongTerm = true;
    }
  }

  void readStageBlock() { dataSet(false, true); }

 private:
  Count count() {
    Count c;
    c.value = r_.NextInteger();
    c.line = r_.Line();
    c.item = r_.Item();
    return c;
  }

  void size(TGridTable& table, const Count& c) {
    const int most = table.MaxRows() > 0 ? table.MaxRows() : kUnlimitedTableRows;
    if (c.value < 0 || c.value > most)
      r_.FailAt(c.line, c.item,
                std::to_string(c.value) + " rows were given for the table \"" + table.Caption() +
                    "\", which holds 0 to " + std::to_string(most) + ".");
    table.SetRowCount(c.value);
  }

  // A real from the file into a table cell, back in display units.
  void real(TGridTable& table, int column, int row, bool convert = true) {
    const double value = r_.NextReal();
    auto& c = static_cast<TFloatColumn&>(table.Column(column));
    const long double factor = convert ? FileFactor(c.UnitsCode, d_.Units) : 1.0L;
    table.Cell(column, row).SetFloat(value / factor);
  }

  void integer(TGridTable& table, int column, int row) { table.Cell(column, row).SetInteger(r_.NextInteger()); }

  void dataSet(bool longTerm, bool stageBlock) {
    TGridTable& dist = longTerm ? t_.LongDist : t_.DistLoad;
    TGridTable& soil = longTerm ? t_.LongSoil : t_.NewSoil;

    // 1, 2: title and control line
    const std::string title = r_.RestOfLine();
    // The line is trimmed: look for the marker without its leading blank.
    const bool stageMarker = title.find(kStageMarker.substr(1)) != std::string::npos;
    if (!longTerm && !(stageBlock && stageMarker)) d_.ProjectTitle = title;
    d_.SetUnits(r_.NextInteger());  // values still held convert with the project
    const Count nr = count(), ns = count(), nm = count();
    const int ep = r_.NextInteger();
    const int py = r_.NextInteger();
    const Count nc = count();
    int stages = 1;
    if (layout_ != kLayout20) {
      stages = r_.NextInteger();
      if (stages < 0 || stages > kMaxStages) r_.Fail("The number of stages must be from 1 to 5.");
    }
    Count ne;
    if (layout_ == kLayoutCurrent) ne = count();

    // 3: wall
    d_.IncrementCount = r_.NextInteger();
    d_.IncrementLength = r_.NextReal();
    d_.MaxDeflection = r_.NextReal();
    d_.DeflectionTolerance = r_.NextReal();
    d_.FreeHeight = r_.NextReal();

    // 4 to 8: restraints, stiffness, loads, springs, p-y modification
    size(t_.SoilLayer, nr);
    for (int row = 0; row < nr.value; ++row) {
      integer(t_.SoilLayer, 0, row);
      integer(t_.SoilLayer, 1, row);
      real(t_.SoilLayer, 2, row);
      real(t_.SoilLayer, 3, row);
    }
    size(t_.PileSect, ns);
    for (int row = 0; row < ns.value; ++row) {
      integer(t_.PileSect, 0, row);
      integer(t_.PileSect, 1, row);
      integer(t_.PileSect, 2, row);
      real(t_.PileSect, 3, row);
    }
    const Count nl = count();
    size(t_.BoundCond, nl);
    for (int row = 0; row < nl.value; ++row) {
      for (int column : {0, 1, 2}) integer(t_.BoundCond, column, row);
      for (int column : {3, 4, 5}) real(t_.BoundCond, column, row);
    }
    const Count nk = count();
    size(t_.SoilStrength, nk);
    for (int row = 0; row < nk.value; ++row) {
      for (int column : {1, 2, 0}) integer(t_.SoilStrength, column, row);
      for (int column : {3, 4}) real(t_.SoilStrength, column, row);
    }
    size(t_.PYMod, nm);
    for (int row = 0; row < nm.value; ++row)
      for (int column : {0, 1, 2}) real(t_.PYMod, column, row);

    // 9: specified earth pressure
    if (ep == 1) {
      const Count nd = count();
      size(dist, nd);
      for (int row = 0; row < nd.value; ++row)
        for (int column : {0, 1}) real(dist, column, row);
    }

    // 10 to 13: wall configuration, surcharge and soil layers
    int surchargeRows = 0;
    if (ep >= 2 || py == 2) {
      d_.FreeHeight = r_.NextReal();
      d_.ActiveWidth = r_.NextReal();
      d_.ResistanceWidth = r_.NextReal();
      d_.WaterDepthBackfill = r_.NextReal();
      d_.WaterDepthExcavation = r_.NextReal();
      d_.ActivePressureFactor = r_.NextReal();
      // A factor of 0.036 in older files was the unit weight of water put in
      // the wrong place; it stands for no modification.
      if (d_.ActivePressureFactor == 0.036) d_.ActivePressureFactor = 1.0;
      d_.PressureSwitch = r_.NextInteger();
      d_.BackfillSlope = r_.NextReal();
      d_.SurchargePressure = r_.NextReal();
      d_.LegacySurchargeDistance = r_.NextReal();
      d_.LegacyPointLoad = r_.NextReal();
      d_.LegacyLineLoad = r_.NextReal();
      d_.LegacyStripLoad = r_.NextReal();
      d_.LegacyStripWidth = r_.NextReal();
      if (layout_ == kLayoutCurrent) {
        const Count nu = count();
        size(t_.SurchargeTable, nu);
        for (int row = 0; row < nu.value; ++row) {
          integer(t_.SurchargeTable, 0, row);
          for (int column : {1, 2, 3}) real(t_.SurchargeTable, column, row);
        }
        surchargeRows = nu.value;
      } else if (d_.LegacySurchargeDistance > 0) {
        // The single surcharge of older files becomes a point, a line and a
        // strip load at the same distance. Its distance and width are in the
        // wall's length unit (inches or metres); the table holds them in its
        // smaller one (inches or millimetres).
        constexpr double kMillimetresPerMetre = 1000.0;
        const double toTable = d_.Units == 2 ? kMillimetresPerMetre : 1.0;
        TGridTable& s = t_.SurchargeTable;
        s.SetRowCount(3);
        const double loads[3] = {d_.LegacyPointLoad, d_.LegacyLineLoad, d_.LegacyStripLoad};
        for (int row = 0; row < 3; ++row) {
          s.Cell(0, row).SetInteger(row + 1);
          s.Cell(1, row).SetFloat(loads[row]);
          s.Cell(2, row).SetFloat(d_.LegacySurchargeDistance * toTable);
          s.Cell(3, row).SetFloat(d_.LegacyStripWidth * toTable);
        }
        surchargeRows = 3;
      }
      soilLayers(soil);
    }

    // 14: external p-y curves
    if (nc.value > 0) {
      size(t_.PYCurves, nc);
      for (int row = 0; row < nc.value; ++row) {
        integer(t_.PYCurves, 0, row);
        const Count np = count();
        if (layout_ == kLayoutCurrent) {
          real(t_.PYCurves, 2, row);
          real(t_.PYCurves, 3, row);
        }
        points(t_.PYCurves.Cell(1, row).SubTable(), np);
      }
    }
    // 15: moment-EI curves
    if (ne.value > 0) {
      size(t_.MEICurves, ne);
      for (int row = 0; row < ne.value; ++row) {
        integer(t_.MEICurves, 0, row);
        integer(t_.MEICurves, 1, row);
        points(t_.MEICurves.Cell(2, row).SubTable(), count());
      }
    }

    // The options follow from what the file holds.
    d_.UseRestraints = nr.value > 0;
    d_.UseConcentratedLoads = nl.value > 0;
    d_.UseSprings = nk.value > 0;
    d_.UseSurcharge = surchargeRows > 0;
    d_.UseExternalPY = nc.value > 0;
    d_.UsePYMod = nm.value > 0;
    d_.UseMEICurves = ne.value > 0;
    d_.UserPressure = ep == 1;
    if (py == 2) d_.GeneratePY = true;
    else if (py < 2) d_.GeneratePY = false;
    d_.PressureGenerated = ep >= 2;
    d_.EarthPressureOption = ep;
    d_.EarthPressureMode = ep;
    d_.PYMode = py;
    d_.MEICurveCount = ne.value;
    d_.StageCount = std::max(1, stages);
    d_.CurrentStage = std::min(std::max(1, d_.CurrentStage), d_.StageCount);
  }

  // The two-column point table of a curve (y and p, or moment and EI).
  void points(TGridTable* table, const Count& np) {
    if (!table) r_.FailAt(np.line, np.item, "A curve without a point table was found.");
    size(*table, np);
    for (int row = 0; row < np.value; ++row) {
      real(*table, 0, row);
      real(*table, 1, row);
    }
  }

  void soilLayers(TGridTable& soil) {
    const Count layers = count();
    size(soil, layers);
    double bottom = 0;
    for (int row = 0; row < layers.value; ++row) {
      const int type = r_.NextInteger();
      soil.Cell(0, row).SetInteger(type);  // a new type brings a fresh parameter table
      if (layout_ == kLayout20) {
        // Layer thicknesses, summed to bottom depths, as held.
        bottom += r_.NextReal();
        soil.Cell(1, row).SetFloat(bottom);
      } else {
        real(soil, 1, row);
      }
      TGridTable* parameters = soil.Cell(2, row).SubTable();
      // 2.0: one line of five values for top and bottom, as held.
      const int lines = layout_ == kLayout20 ? 1 : 2;
      const int positions = layout_ == kLayout20 ? 5 : kParameterPositions;
      for (int line = 0; line < lines; ++line) {
        for (int position = 0; position < positions; ++position) {
          const double value = r_.NextReal();
          const int column = SoilParameterColumn(type, position);
          if (!parameters || column < 0 || column >= parameters->ColumnCount()) continue;
          const auto& c = static_cast<const TFloatColumn&>(parameters->Column(column));
          const long double held = layout_ == kLayout20 ? value : value / FileFactor(c.UnitsCode, d_.Units);
          for (int target = 0; target < parameters->RowCount(); ++target)
            if (lines == 1 || target == line) parameters->Cell(column, target).SetFloat(held);
        }
      }
    }
  }

  TProgramData& d_;
  TProjectTables& t_;
  TWordReader r_;
  int layout_;
};

void TProgramData::readText(const std::string& text, int layout) {
  TDataFileReader(*this, text, layout).readFile();
}

void TProgramData::LoadStageBlockText(const std::string& text, int layout) {
  TDataFileReader(*this, text, layout).readStageBlock();
}

void TProgramData::LoadStageBlock(const std::filesystem::path& file, int layout) {
  LoadStageBlockText(ReadWholeFile(file), layout);
}

}  // namespace terraq::ui
