// The inclinometer's readings on the deflection graph: a series of markers
// per measured stage that the results have, in the colour of that stage's
// curve, with English depths drawn in feet as the graph draws them.

#include <gtest/gtest.h>

#include "graphs/MeasuredGraph.h"

namespace terraq::ui {
namespace {

TEST(MeasuredGraph, MarkersBesideTheStagesTheResultsHave) {
  TGraphPlot graph;
  SetLineCount(graph.Lines, 3);  // three stages read from the plot file
  Measurements m;
  m.stages = {{2, "I-3.csv", {{0, 0.75}, {30, 0.5}, {90, -0.125}}}, {5, "I-3b.csv", {{0, 1}}}};

  ASSERT_EQ(AddMeasuredSeries(graph, m, 3, 1, false), 1) << "stage 5 was not analysed";
  ASSERT_EQ(graph.Lines.size(), 4u);
  const TLine& s = graph.Lines.back();
  EXPECT_EQ(graph.Label(3), "Measured 2");
  EXPECT_EQ(s.Style, TLineStyle::Markers);
  EXPECT_EQ(s.ColourAt(3), 1) << "the colour of stage 2's curve, not a running colour of its own";
  ASSERT_EQ(s.Points.size(), 3u);
  // Inches of the data file, feet on the depth axis; deflections as read.
  EXPECT_EQ(s.Points[1], (TFloatPoint{0.5L, 2.5L}));
  EXPECT_EQ(s.Points[2], (TFloatPoint{-0.125L, 7.5L}));

  // SI depths are drawn as read; a short- and long-term analysis has no stages.
  TGraphPlot si;
  SetLineCount(si.Lines, 5);
  ASSERT_EQ(AddMeasuredSeries(si, m, 5, 2, false), 2);
  EXPECT_EQ(si.Lines[5].Points[1], (TFloatPoint{0.5L, 30.0L}));
  EXPECT_EQ(si.Lines[6].ColourNumber, 4);
  TGraphPlot longTerm;
  SetLineCount(longTerm.Lines, 2);
  EXPECT_EQ(AddMeasuredSeries(longTerm, m, 2, 1, true), 0);
  EXPECT_EQ(longTerm.Lines.size(), 2u);
}

}  // namespace
}  // namespace terraq::ui
