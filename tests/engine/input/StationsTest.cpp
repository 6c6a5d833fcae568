// Spreading the station tables over the wall: the row rule that lets rows
// meeting at a station share it, continued runs, the order and range
// checks; the specified conditions; the loads of an earth-pressure table.

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "driver/EngineModel.h"
#include "input/Stations.h"

using namespace terraq::engine;

namespace {

constexpr int kNI = 20;

class Table : public ::testing::Test {
 protected:
  Table() {
    m.resetProblem();
    m.control.NI = kNI;
    m.control.h = 2.0;
  }
  // One row of the flexural-rigidity table.
  void row(int from, int to, int contd, double ei) {
    RealStations* const arrays[] = {&m.st.F};
    const double values[] = {ei};
    DistributeTableRow(state, kNI, from, to, contd, arrays, values);
  }
  double F(int station) const { return m.st.F[Pos(station)]; }

  EngineModel m;
  DistributionState state;
};

std::vector<std::string> stopLines(const std::function<void()>& action) {
  try {
    action();
  } catch (const ErrorStop& e) {
    return e.reportLines();
  }
  return {"no error stop"};
}

const std::vector<std::string> kNotInOrder = {"", "", "     ERROR STOP -- STATIONS NOT IN ORDER"};
const std::vector<std::string> kBeyondEnd = {"", "",
                                             "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"};

}  // namespace

TEST_F(Table, OneRowOverTheWallIsHalvedAtBothEnds) {
  row(0, kNI, 1, 1000.0);
  EXPECT_EQ(F(0), 500.0);
  EXPECT_EQ(F(kNI), 500.0);
  for (int i = 1; i < kNI; ++i) EXPECT_EQ(F(i), 1000.0) << i;
  EXPECT_EQ(F(-1), 0.0);
  EXPECT_EQ(F(kNI + 1), 0.0);
}

TEST_F(Table, TwoRowsShareTheirCommonStation) {
  row(0, 10, 1, 1000.0);
  row(10, kNI, 1, 3000.0);
  EXPECT_EQ(F(5), 1000.0);
  EXPECT_EQ(F(10), 2000.0);
  EXPECT_EQ(F(15), 3000.0);
  EXPECT_EQ(F(kNI), 1500.0);
}

TEST_F(Table, ContinuedPairVariesLinearlyAndIsHalvedAtItsEnds) {
  row(0, 99, 2, 100.0);   // TO of a run's first row is not used
  EXPECT_EQ(F(5), 0.0);   // nothing is spread until the run's next row
  row(99, 10, 1, 200.0);  // FROM of a later row is not used
  EXPECT_DOUBLE_EQ(F(0), 50.0);
  for (int i = 1; i < 10; ++i) EXPECT_DOUBLE_EQ(F(i), 100.0 + 10.0 * i) << i;
  EXPECT_DOUBLE_EQ(F(10), 100.0);
  EXPECT_EQ(F(11), 0.0);
}

TEST_F(Table, MiddleRowOfARunCarriesItOn) {
  row(0, 0, 2, 100.0);
  row(0, 10, 2, 200.0);
  row(0, 20, 1, 100.0);
  EXPECT_DOUBLE_EQ(F(5), 150.0);
  EXPECT_DOUBLE_EQ(F(10), 200.0);  // two halves of the two segments
  EXPECT_DOUBLE_EQ(F(15), 150.0);
  EXPECT_DOUBLE_EQ(F(20), 50.0);
}

TEST_F(Table, RowOnOneStationPutsItsFullValueThere) {
  row(7, 7, 1, 1000.0);
  EXPECT_EQ(F(6), 0.0);
  EXPECT_EQ(F(7), 1000.0);
  EXPECT_EQ(F(8), 0.0);
  row(7, 7, 1, 500.0);  // values add up
  EXPECT_EQ(F(7), 1500.0);
}

TEST_F(Table, EveryValueOfARowGoesToItsOwnArray) {
  RealStations* const arrays[] = {&m.st.Q, &m.st.T, &m.st.P};
  const double values[] = {10.0, 20.0, 30.0};
  DistributeTableRow(state, kNI, 2, 4, 1, arrays, values);
  EXPECT_EQ(m.st.Q[Pos(3)], 10.0);
  EXPECT_EQ(m.st.T[Pos(2)], 10.0);
  EXPECT_EQ(m.st.P[Pos(4)], 15.0);
}

TEST_F(Table, BackwardRowsStop) {
  EXPECT_EQ(stopLines([&] { row(10, 5, 1, 1.0); }), kNotInOrder);
  DistributionState fresh;
  state = fresh;
  row(10, 0, 2, 1.0);
  EXPECT_EQ(stopLines([&] { row(0, 5, 1, 1.0); }), kNotInOrder);
}

TEST_F(Table, StationsOutsideTheArraysStop) {
  EXPECT_EQ(stopLines([&] { row(0, kNI + 4, 1, 1.0); }), kBeyondEnd);
  EXPECT_EQ(stopLines([&] { row(0, INT_MAX, 1, 1.0); }), kBeyondEnd);
  EXPECT_EQ(stopLines([&] { row(-1, 3, 1, 1.0); }),
            (std::vector<std::string>{"", "", "     ERROR STOP -- STATION NUMBER BELOW ZERO"}));
  EXPECT_EQ(stopLines([&] { row(INT_MIN, 3, 1, 1.0); }).back(),
            "     ERROR STOP -- STATION NUMBER BELOW ZERO");
}

TEST_F(Table, ValueBeyondTheLastStationFailsTheEndCheck) {
  row(kNI, kNI + 1, 1, 0.0);  // a zero there is harmless
  EXPECT_NO_THROW(CheckEnd(m));
  row(kNI + 1, kNI + 1, 1, 5.0);
  EXPECT_EQ(stopLines([&] { CheckEnd(m); }), kBeyondEnd);
  // Any array, at any of the three stations past the tip, and values of
  // opposite sign do not cancel out.
  EngineModel other;
  other.resetProblem();
  other.control.NI = kNI;
  other.st.R[Pos(kNI + 3)] = 1.0;
  EXPECT_EQ(stopLines([&] { CheckEnd(other); }), kBeyondEnd);
  other.st.R[Pos(kNI + 3)] = 0.0;
  other.st.Q[Pos(kNI + 1)] = 1.0;
  other.st.T[Pos(kNI + 2)] = -1.0;
  EXPECT_EQ(stopLines([&] { CheckEnd(other); }), kBeyondEnd);
}

TEST_F(Table, ContinuationCodesOutsideOneAndTwo) {
  // A first row that claims to continue a run nobody started.
  EXPECT_EQ(stopLines([&] { row(0, 10, 3, 1.0); }).back(),
            "     ERROR STOP -- A TABLE ROW CONTINUES A RUN THAT NO ROW STARTED");
  // Extreme codes stand alone and must not overflow the row arithmetic.
  DistributionState fresh;
  state = fresh;
  row(0, 2, INT_MAX, 1.0);
  row(2, 4, INT_MAX, 1.0);
  row(4, 6, INT_MIN, 1.0);
  row(6, 8, INT_MIN, 1.0);
  EXPECT_EQ(F(2), 1.0);
  EXPECT_EQ(F(5), 1.0);
  EXPECT_EQ(ClassifyRow(INT_MAX, INT_MIN), RowKind::Alone);
  EXPECT_EQ(ClassifyRow(0, 2), RowKind::FirstOfRun);
  EXPECT_EQ(ClassifyRow(1, 1), RowKind::LaterInRun);
  EXPECT_EQ(ClassifyRow(1, 2), RowKind::LaterInRun);
  EXPECT_EQ(ClassifyRow(0, 1), RowKind::Alone);
}

TEST(SpecifiedConditions, CodesAroundEachStation) {
  EngineModel m;
  m.resetProblem();
  m.control.NI = kNI;
  SpecifiedOrder order;
  SetSpecifiedCondition(m, 1, 1, 0, 0.5, 0.0, order);    // deflection at the top
  SetSpecifiedCondition(m, 2, 2, 5, 0.0, 0.01, order);   // slope
  SetSpecifiedCondition(m, 3, 3, 10, 0.2, 0.03, order);  // both
  SetSpecifiedCondition(m, 4, 0, 12, 0.1, 0.0, order);   // CASE <= 0: deflection
  SetSpecifiedCondition(m, 5, 7, kNI, 0.0, 0.0, order);  // CASE >= 4: both
  const auto code = [&](int station) { return m.st.code[Pos(station)]; };
  EXPECT_EQ(code(0), 2);
  EXPECT_EQ(code(4), 3);
  EXPECT_EQ(code(5), 1);  // the slope's own station stays free
  EXPECT_EQ(code(6), 5);
  EXPECT_EQ(code(9), 3);
  EXPECT_EQ(code(10), 4);
  EXPECT_EQ(code(11), 5);
  EXPECT_EQ(code(12), 2);
  EXPECT_EQ(code(kNI - 1), 3);
  EXPECT_EQ(code(kNI), 4);
  EXPECT_EQ(code(kNI + 1), 5);
  EXPECT_EQ(code(1), 1);
  EXPECT_EQ(m.spec.DEFL[1], 0.5);
  EXPECT_EQ(m.spec.SLOPE[2], 0.01);
  EXPECT_EQ(m.spec.DEFL[3], 0.2);
  EXPECT_EQ(m.spec.SLOPE[3], 0.03);
}

TEST(SpecifiedConditions, OrderAndRangeStops) {
  EngineModel m;
  m.resetProblem();
  m.control.NI = kNI;
  SpecifiedOrder order;
  SetSpecifiedCondition(m, 1, 1, 8, 0.0, 0.0, order);
  EXPECT_EQ(stopLines([&] { SetSpecifiedCondition(m, 2, 1, 7, 0.0, 0.0, order); }), kNotInOrder);
  for (int station : {-1, kNI + 1, INT_MAX, INT_MIN + 1}) {
    SpecifiedOrder fresh;
    EXPECT_EQ(stopLines([&] { SetSpecifiedCondition(m, 1, 1, station, 0.0, 0.0, fresh); }).back(),
              station < -1 ? "     ERROR STOP -- STATIONS NOT IN ORDER"
                           : "     ERROR STOP -- SPECIFIED DEFLECTION OR SLOPE OUTSIDE THE WALL")
        << station;
  }
  // Two slopes one station apart would share a marked station, which the
  // solution cannot pair with its conditions.
  SpecifiedOrder close;
  SetSpecifiedCondition(m, 1, 2, 5, 0.0, 0.0, close);
  EXPECT_EQ(stopLines([&] { SetSpecifiedCondition(m, 2, 2, 6, 0.0, 0.0, close); }).back(),
            "     ERROR STOP -- SPECIFIED CONDITIONS TOO CLOSE TOGETHER AT STATION 6");
}

// Force and moment about the top of a pressure diagram given as rows, straight
// from (0, 0) to the first row and between rows: the integrals of p and p x
// over each straight piece, p x being the product of two straight lines.
struct Resultant {
  double force = 0, moment = 0;
};
Resultant diagramResultant(const std::vector<EarthPressureRow>& rows) {
  Resultant r;
  double x0 = 0, p0 = 0;
  for (const EarthPressureRow& row : rows) {
    const double x1 = row.depth, p1 = row.total, L = x1 - x0;
    r.force += L * (p0 + p1) / 2;
    r.moment += L / 6 * (2 * p0 * x0 + p0 * x1 + p1 * x0 + 2 * p1 * x1);
    x0 = x1;
    p0 = p1;
  }
  return r;
}

Resultant stationResultant(const EngineModel& m) {
  Resultant r;
  for (int k = 0; k <= m.control.NI + 3; ++k) {
    r.force += m.st.Q[Pos(k)];
    r.moment += m.st.Q[Pos(k)] * k * m.control.h;
  }
  return r;
}

TEST(EarthPressureLoads, CarryTheForceAndMomentOfTheDiagram) {
  EngineModel m;
  m.resetProblem();
  m.control.NI = kNI;
  m.control.h = 2.0;
  // Ends and corners between stations, a step at 7.3, a first row below the
  // top (the diagram rises from zero to it).
  m.earthPressure = {{1.1, 3.0, 0, 0}, {7.3, 10.0, 0, 0}, {7.3, 6.0, 0, 0}, {13.1, 4.0, 0, 0}};
  ApplyEarthPressureLoads(m);
  const Resultant expected = diagramResultant(m.earthPressure), got = stationResultant(m);
  EXPECT_NEAR(got.force, expected.force, 1e-12 * expected.force);
  EXPECT_NEAR(got.moment, expected.moment, 1e-12 * expected.moment);
  for (int k = 8; k <= kNI + 3; ++k) EXPECT_EQ(m.st.Q[Pos(k)], 0.0) << k;
  EXPECT_NO_THROW(CheckEnd(m));
}

TEST(EarthPressureLoads, AnEndOnAStationIsNotDecidedByRounding) {
  // 9 * 0.3 is just below 2.7 in binary: the loads of a diagram ending at
  // 2.7 must be those of one ending a hair above or below it.
  auto loads = [](double depth) {
    EngineModel m;
    m.resetProblem();
    m.control.NI = 20;
    m.control.h = 0.3;
    m.earthPressure = {{0.0, 1.0, 0, 0}, {depth, 5.0, 0, 0}};
    ApplyEarthPressureLoads(m);
    return m.st.Q;
  };
  const RealStations at = loads(2.7), above = loads(2.7 - 1e-9), below = loads(2.7 + 1e-9);
  for (int k = 0; k <= 12; ++k) {
    EXPECT_NEAR(at[Pos(k)], above[Pos(k)], 1e-8) << k;
    EXPECT_NEAR(at[Pos(k)], below[Pos(k)], 1e-8) << k;
  }
}

TEST(EarthPressureLoads, TheDiagramMustLieOnTheWallInOrder) {
  EngineModel m;
  m.resetProblem();
  m.control.NI = 4;
  m.control.h = 1.0;
  // Within half an increment below the tip: cut at the tip.
  m.earthPressure = {{4.4, 4.4, 0, 0}};
  ApplyEarthPressureLoads(m);
  EXPECT_NEAR(stationResultant(m).force, 8.0, 1e-12);
  EXPECT_NO_THROW(CheckEnd(m));
  // Half an increment or more below it: wall that does not exist.
  m.resetProblem();
  m.earthPressure = {{4.5, 1.0, 0, 0}};
  EXPECT_EQ(stopLines([&] { ApplyEarthPressureLoads(m); }), kBeyondEnd);
  m.earthPressure = {{1e300, 1.0, 0, 0}};
  EXPECT_EQ(stopLines([&] { ApplyEarthPressureLoads(m); }), kBeyondEnd);
  // Depths running backwards.
  m.earthPressure = {{2.0, 1.0, 0, 0}, {1.0, 1.0, 0, 0}};
  EXPECT_EQ(stopLines([&] { ApplyEarthPressureLoads(m); }).back(),
            "     ERROR STOP -- THE DEPTHS OF THE EARTH-PRESSURE TABLE MUST NOT DECREASE");
  // Above the top of the wall nothing is loaded.
  m.resetProblem();
  m.earthPressure = {{-5.0, 1.0, 0, 0}};
  ApplyEarthPressureLoads(m);
  for (int k = 0; k <= 7; ++k) EXPECT_EQ(m.st.Q[Pos(k)], 0.0);
}
