// Reading a data file (the current, 3.0 and 2.0 layouts) or one stage block
// into the project. Values are read word by word in the order of the
// records; each count sizes its table before the rows are read, and a count
// beyond the table's limits is refused before anything is allocated. For
// English units the file's base units (inches, lb/in^3) are turned back into
// the units the tables display (feet, lb/ft^3).

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "api/Units.h"
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

// A value as read (its shortest exact text) and where.
struct Value {
  std::string text;
  int line = 0;
  int item = 0;
};

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
  // The engine runs every problem the end codes chain; a project holds one,
  // a short-term and a long-term one sharing all but two tables, or one per
  // stage (the blocks of a staged file are read one by one, each checked by
  // readStageBlock). What else the file holds is named in NotKept: saving
  // or converting the project would drop it.
  void readFile() {
    std::vector<Value> shortTerm, longTerm;
    shared_ = &shortTerm;
    const int stages = dataSet(false, false);
    shared_ = nullptr;
    if (layout_ == kLayout20) return;
    const Count flag = count();
    if (stages >= 2) return;
    if (flag.value != 9) {
      d_.NotKept = chainedProblem(
          flag, stages,
          "a project holds one analysis, a short-term and a long-term one (end code 9) "
          "or construction stages");
      return;
    }
    r_.RestOfLine();  // the rest of the flag line
    shared_ = &longTerm;
    const int longTermStages = dataSet(true, false);
    shared_ = nullptr;
    d_.LongTerm = true;
    d_.NotKept = differentSharedValues(shortTerm, longTerm);
    if (!d_.NotKept.empty() || r_.Eof()) return;  // the closing "0" of older writers may be missing
    d_.NotKept =
        chainedProblem(count(), longTermStages,
                       "a project holds a short-term and a long-term analysis, not a third one");
  }

  // One stage block: its data set and the end code that holds its stage
  // number; a further problem chained inside the block would be lost.
  void readStageBlock() {
    const int stages = dataSet(false, true);
    if (layout_ == kLayout20 || r_.Eof()) return;
    const Count end = count();
    // The caller numbers the lines of the whole file in "Error on Line":
    // the message names no other line of the block.
    if (end.value != 0 && end.value != stages && !r_.Eof())
      r_.FailAt(
          end.line, end.item,
          "The end code " + std::to_string(end.value) +
              " chains a further problem after the stage's own, which the engine runs; a stage holds one "
              "problem. Opening, saving or converting the file would lose it. The file runs as it is; to edit "
              "it, split it into data files that a project can hold.");
  }

 private:
  // Every value of a data set passes here, so that the values the two
  // sets of a short-term and long-term file share can be compared.
  int nextInteger() {
    const int value = r_.NextInteger();
    note(std::to_string(value));
    return value;
  }
  double nextReal() {
    const double value = r_.NextReal();
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    note(std::string(text, end));
    return value;
  }
  void note(std::string text) {
    if (shared_ && sharing_) shared_->push_back({std::move(text), r_.Line(), r_.Item()});
  }

  Count count() {
    Count c;
    c.value = nextInteger();
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
    const double value = nextReal();
    auto& c = static_cast<TFloatColumn&>(table.Column(column));
    const long double factor = convert ? FileFactor(c.UnitsCode, d_.Units) : 1.0L;
    table.Cell(column, row).SetFloat(value / factor);
  }

  void integer(TGridTable& table, int column, int row) {
    table.Cell(column, row).SetInteger(nextInteger());
  }

  // The long-term set holds a distributed load and soil layers of its own;
  // everything else a project holds once, for both analyses. A long-term
  // set that differs there would, once read, stand for the short-term one
  // as well: the short-term values would be lost.
  static std::string differentSharedValues(const std::vector<Value>& shortTerm,
                                           const std::vector<Value>& longTerm) {
    const size_t n = std::min(shortTerm.size(), longTerm.size());
    size_t k = 0;
    while (k < n && shortTerm[k].text == longTerm[k].text) ++k;
    if (k == shortTerm.size() && k == longTerm.size()) return {};
    const Value& at = k < longTerm.size() ? longTerm[k] : longTerm.back();
    const std::string shortAt = k < shortTerm.size() ? " (the short-term analysis's line " +
                                                           std::to_string(shortTerm[k].line) + ")"
                                                     : "";
    return "The long-term analysis differs from the short-term one on line " +
           std::to_string(at.line) + ", item " + std::to_string(at.item) + shortAt +
           ". A project holds the wall, its loads, supports, curves and options once for both analyses (only the "
           "distributed earth pressure and the soil layers are the long-term analysis's own): opening, saving or "
           "converting the file would lose the short-term values. The file runs as it is; to edit it, make the two "
           "analyses agree outside those two tables, or split it into two data files.";
  }

  // The engine ends the run at an end code of 0 or of the problem's stage
  // count, and reads any other as the announcement of a further problem. A
  // further problem that is there (the file goes on) cannot be kept: the
  // message that says so, or empty.
  std::string chainedProblem(const Count& end, int stages, const std::string& why) const {
    if (end.value == 0 || end.value == stages || r_.Eof()) return {};
    const std::string from = std::to_string(end.line + 1);
    return "The end code " + std::to_string(end.value) + " on line " + std::to_string(end.line) +
           " chains a further problem, from line " + from + " on, which the engine runs; " + why +
           ". Opening, saving or converting the file would lose the problems from line " + from +
           " on. The file runs as it is; to edit it, split it into data files that a project can hold.";
  }

  // Records 1 to 15 of one data set; returns the stage count of its control
  // line (the value that ends the run as an end code).
  int dataSet(bool longTerm, bool stageBlock) {
    TGridTable& dist = longTerm ? t_.LongTermEarthPressure : t_.EarthPressure;
    TGridTable& soil = longTerm ? t_.LongTermSoilLayers : t_.SoilLayers;

    // 1, 2: title and control line
    const std::string title = r_.RestOfLine();
    // The line is trimmed: look for the marker without its leading blank.
    const bool stageMarker = title.find(kStageMarker.substr(1)) != std::string::npos;
    if (!longTerm && !(stageBlock && stageMarker)) d_.ProjectTitle = title;
    d_.SetUnits(nextInteger());  // values still held convert with the project
    const Count nr = count(), ns = count(), nm = count();
    const int ep = nextInteger();
    const int py = nextInteger();
    const Count nc = count();
    int stages = 1;
    if (layout_ != kLayout20) {
      stages = nextInteger();
      if (stages < 0 || stages > kMaxStages) r_.Fail("The number of stages must be from 1 to 5.");
    }
    Count ne;
    if (layout_ == kLayoutCurrent) ne = count();

    // 3: wall
    d_.IncrementCount = nextInteger();
    d_.IncrementLength = nextReal();
    d_.MaxDeflection = nextReal();
    d_.DeflectionTolerance = nextReal();
    d_.FreeHeight = nextReal();

    // 4 to 8: restraints, stiffness, loads, springs, p-y modification
    size(t_.Restraints, nr);
    for (int row = 0; row < nr.value; ++row) {
      integer(t_.Restraints, 0, row);
      integer(t_.Restraints, 1, row);
      real(t_.Restraints, 2, row);
      real(t_.Restraints, 3, row);
    }
    size(t_.PileSect, ns);
    for (int row = 0; row < ns.value; ++row) {
      integer(t_.PileSect, 0, row);
      integer(t_.PileSect, 1, row);
      integer(t_.PileSect, 2, row);
      real(t_.PileSect, 3, row);
    }
    const Count nl = count();
    size(t_.ConcentratedLoads, nl);
    for (int row = 0; row < nl.value; ++row) {
      for (int column : {0, 1, 2}) integer(t_.ConcentratedLoads, column, row);
      for (int column : {3, 4, 5}) real(t_.ConcentratedLoads, column, row);
    }
    const Count nk = count();
    size(t_.Springs, nk);
    for (int row = 0; row < nk.value; ++row) {
      for (int column : {1, 2, 0}) integer(t_.Springs, column, row);
      for (int column : {3, 4}) real(t_.Springs, column, row);
    }
    size(t_.PYMod, nm);
    for (int row = 0; row < nm.value; ++row)
      for (int column : {0, 1, 2}) real(t_.PYMod, column, row);

    // 9: specified earth pressure
    sharing_ = false;  // the distributed load is each set's own
    if (ep == 1) {
      const Count nd = count();
      size(dist, nd);
      for (int row = 0; row < nd.value; ++row)
        for (int column : {0, 1}) real(dist, column, row);
    }
    sharing_ = true;

    // 10 to 13: wall configuration, surcharge and soil layers
    int surchargeRows = 0;
    if (ep >= 2 || py == 2) {
      d_.FreeHeight = nextReal();
      d_.ActiveWidth = nextReal();
      d_.ResistanceWidth = nextReal();
      d_.WaterDepthBackfill = nextReal();
      d_.WaterDepthExcavation = nextReal();
      d_.ActivePressureFactor = nextReal();
      // A factor of 0.036 in older files was the unit weight of water put in
      // the wrong place; it stands for no modification.
      if (d_.ActivePressureFactor == 0.036) d_.ActivePressureFactor = 1.0;
      d_.PressureSwitch = nextInteger();
      d_.BackfillSlope = nextReal();
      d_.SurchargePressure = nextReal();
      d_.LegacySurchargeDistance = nextReal();
      d_.LegacyPointLoad = nextReal();
      d_.LegacyLineLoad = nextReal();
      d_.LegacyStripLoad = nextReal();
      d_.LegacyStripWidth = nextReal();
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
        using engine::api::Quantity;
        const engine::api::UnitsSystem system = engine::api::UnitsSystemOf(d_.Units);
        const double toTable = engine::api::UnitOf(Quantity::Length, system).toSI /
                               engine::api::UnitOf(Quantity::SmallLength, system).toSI;
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
      sharing_ = false;  // and so are the soil layers
      soilLayers(soil);
      sharing_ = true;
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
    return layout_ == kLayout20 ? 0 : stages;
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
      const int type = nextInteger();
      soil.Cell(0, row).SetInteger(type);  // a new type brings a fresh parameter table
      if (layout_ == kLayout20) {
        // Layer thicknesses, summed to bottom depths, as held.
        bottom += nextReal();
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
          const double value = nextReal();
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
  // The shared values of the data set being read, when they are noted.
  std::vector<Value>* shared_ = nullptr;
  bool sharing_ = true;
};

void TProgramData::readText(const std::string& text, int layout) {
  TDataFileReader(*this, text, layout).readFile();
}

void TProgramData::LoadStageBlockText(const std::string& text, int layout) {
  TDataFileReader(*this, text, layout).readStageBlock();
}

void TProgramData::LoadText(const std::string& text, int layout) { readText(text, layout); }

void TProgramData::LoadStageBlock(const std::filesystem::path& file, int layout) {
  LoadStageBlockText(ReadWholeFile(file), layout);
}

}  // namespace terraq::ui
