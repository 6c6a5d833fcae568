#pragma once
// One data set of a data file (the current, 3.0 or 2.0 layout) read into the
// project in the data file's record order (engine/api/DataRecords.h), word by
// word: each count sizes its table before the rows are read, and a count
// beyond the table's limits is refused before anything is allocated. For
// English units the file's base units (inches, lb/in^3) are turned back into
// the units the tables display (feet, lb/ft^3).

#include <string>
#include <vector>

#include "api/DataRecords.h"
#include "project/TProgramData.h"
#include "project/TWordReader.h"

namespace terraq::ui {

// A value as read (its shortest exact text) and where.
struct ReadValue {
  std::string text;
  int line = 0;
  int item = 0;
};

class DataSetReader : public engine::api::RecordVisitor {
 public:
  // `shared`, when given, receives the values a long-term set must share
  // with the short-term one (all but its earth pressure and soil layers).
  DataSetReader(TProgramData& data, TWordReader& reader, int layout, std::vector<ReadValue>* shared)
      : d_(data), t_(data.Tables()), r_(reader), layout_(layout), shared_(shared) {}

  // Reads the set; returns the stage count of its control line (the value
  // that ends the run as an end code; 0 for the 2.0 layout).
  int read(bool longTerm, bool stageBlock);

  void rows(engine::api::RecordKind kind, int count, int owner) override;
  void record(const engine::api::RecordPlace& place, std::vector<double>& values) override;

 private:
  struct Position {
    int line = 0, item = 0;
  };
  double next(char type);
  void title();
  void controlValue(size_t index, double value);
  void store(const engine::api::RecordPlace& place, const std::vector<double>& values);
  void cells(TGridTable& table, int row, const engine::api::RecordPlace& place,
             const std::vector<double>& values, std::initializer_list<int> columns);
  void wall(const std::vector<double>& values);
  void wallConfiguration(const std::vector<double>& values);
  void surcharge(const std::vector<double>& values);
  void layerLine(int layer, const std::vector<double>& values);
  void layerParameters(int layer, int line, const std::vector<double>& values);
  void options(const engine::api::ControlValues& control, int stages);
  void size(TGridTable& table, int count, Position at);

  TProgramData& d_;
  TProjectTables& t_;
  TWordReader& r_;
  int layout_;
  std::vector<ReadValue>* shared_;
  bool longTerm_ = false, stageBlock_ = false;
  bool sharing_ = true;
  std::vector<Position> read_;     // where the values of the last record stood
  std::vector<Position> control_;  // and those of the control record
  int loads_ = 0, springs_ = 0, surchargeRows_ = 0;
  double bottom_ = 0;  // 2.0: the layer thicknesses summed
};

}  // namespace terraq::ui
