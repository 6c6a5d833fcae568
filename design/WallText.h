#pragma once
// One problem of a data file, read record by record with the engine's own
// free-format reader, so that the wall's length can be changed and the
// problem written back as a data file of its own: what the search for the
// shortest wall analyses.
//
// The data file fixes the wall by its number of increments NI and their
// length h; the restraints, stiffness rows, loads, springs, external p-y
// curves and moment-EI sections name stations (nodes), the earth pressure,
// p-y modification factors and soil layers name depths. A longer or shorter
// wall therefore keeps one of two things:
//  - the increments (NI kept, h changed), when every node the tables name is
//    the top (0) or the tip (NI): nothing is fixed in between, and the tip
//    can move by any amount;
//  - the increment length (h kept, NI changed) otherwise: every station
//    keeps its depth, so an anchor, a load or a stiffness change stays
//    where the engineer put it; the tip then moves by whole increments.
// In both, a node reference to the tip follows the tip (a fixed foot, the
// last stiffness row); external p-y curves below the new tip are left out
// (they are soil, not part of the wall), and a specified earth-pressure
// table is cut at the new tip (its value there interpolated), as the
// analysis takes no pressure below the wall.
//
// A study rewrites any value of the records it names (RecordKind): every
// problem of the file is walked the same way (ParseAll) and written back
// with its own end code (text()).
//
// Units: those of the data file. Thread safety: no shared state.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "api/DataRecords.h"

namespace terraq::design {

class WallText {
 public:
  // The records in the data file's order (engine/api/DataRecords.h): a
  // record's kind, its row (layers: the layer; curves and their points: the
  // curve) and its values as read.
  using RecordKind = engine::api::RecordKind;
  using Record = engine::api::DataRecord;

  // Problem `problem` (0-based) of `dataText`; empty with `error` set when
  // the text cannot be walked that far (the analysis says why in detail).
  static std::optional<WallText> Parse(std::string_view dataText, int problem, std::string& error);
  // Every problem of `dataText` in order (stages, a long-term problem);
  // empty with `error` set as Parse does.
  static std::optional<std::vector<WallText>> ParseAll(std::string_view dataText,
                                                       std::string& error);

  int units() const { return units_; }  // the control line's units code
  int increments() const { return increments_; }
  double incrementLength() const { return incrementLength_; }
  // True when no node other than the top and the tip is named (external p-y
  // curves included): the increments may be kept.
  bool nodesOnlyAtEnds() const { return nodesOnlyAtEnds_; }
  // The deepest node other than the tip that belongs to the wall
  // (restraints, stiffness, loads, springs, moment-EI sections; not the
  // external p-y curves): a wall kept at its increment length must reach
  // below it. 0 when there is none.
  int deepestInnerNode() const { return deepestInnerNode_; }

  // True when the wall can be written on increments `coarsening` times as
  // long with every node the tables name at its depth: each node (the
  // wall's tip aside, which follows the tip) is a multiple of `coarsening`,
  // and no load or spring row spreads over more than one node (its value is
  // per node: fewer nodes would carry less).
  bool coarsenable(int coarsening) const;

  // The problem alone as a data file (its long-term flag 0), with the wall
  // of `increments` increments of `incrementLength`; with `coarsening`
  // above 1, every node the tables name divided by it (incrementLength is
  // then `coarsening` times the old one, so that the nodes keep their
  // depths). Precondition: increments > deepestInnerNode() / coarsening,
  // incrementLength > 0, coarsenable(coarsening).
  std::string withWall(int increments, double incrementLength, int coarsening = 1) const;

  // The records as read, for a study to change values of (a value the
  // read did not supply must be added before it is set: `values` grows up
  // to `asked`). The wall record's increments are set by withWall/text.
  std::vector<Record>& records() { return records_; }
  const std::vector<Record>& records() const { return records_; }
  // The last line of the problem: 0, 9 (a long-term problem follows), a
  // stage number.
  int endCode() const { return endCode_; }
  // Makes the problem stage `stage` of `stageCount` of a staged data file:
  // its control line's number of stages and its end code (a single
  // problem, stageCount 1, ends with 0 as the program writes it).
  void setStage(int stage, int stageCount);
  // The problem as written, with the wall of `increments` increments of
  // `incrementLength` and its own end code; with the wall as read by
  // default. Precondition as withWall.
  std::string text(int increments = 0, double incrementLength = 0) const;

 private:
  static bool Walk(std::string_view dataText, int problem, std::vector<WallText>& problems,
                   std::string& error);
  // Takes the problem's records and finds its wall and the nodes it names.
  void take(engine::api::DataProblem&& records);
  std::string written(int increments, double incrementLength, int coarsening = 1) const;

  std::vector<Record> records_;
  int endCode_ = 0;
  int units_ = 0;
  int increments_ = 0;
  double incrementLength_ = 0;
  bool nodesOnlyAtEnds_ = true;
  int deepestInnerNode_ = 0;
};

// The soil layers of each problem of `dataText` (the data file's layer
// table, layers of no thickness counted); empty when it cannot be walked.
std::vector<size_t> SoilLayerCounts(std::string_view dataText);

}  // namespace terraq::design
