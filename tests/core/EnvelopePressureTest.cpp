// The apparent-pressure envelope as the project's specified earth pressure:
// in an English project the table shows feet and pounds per foot of the
// data file's inches and pounds per inch, the change is taken back exactly
// but never over a later edit, and a project that would lose its soil
// layers is refused unchanged.

#include <gtest/gtest.h>

#include "project/EnvelopePressure.h"
#include "project/TProject.h"
#include "project/TProjectTables.h"
#include "tables/TGridTable.h"

namespace terraq::test {
namespace {

// Terzaghi & Peck, sand: p = 0.65 Ka gamma H, uniform over H = 240 in
// (20 ft), gamma = 120 lb/ft3, Ka = 0.3: 3.25 lb/in2.
design::PressureEnvelope Uniform() {
  design::EnvelopeInput in{.source = design::EnvelopeSource::TerzaghiPeck,
                           .height = 240,
                           .unitWeight = 120.0 / 1728,
                           .Ka = 0.3,
                           .supports = {60, 150}};
  std::string error;
  return *design::ApparentEnvelope(in, error);
}

TEST(EnvelopePressure, TableInTheProjectsUnitsAndTakenBack) {
  ui::TProject project;
  ui::TProgramData& data = project.Data();
  data.GeneratePY = true;
  data.ActiveWidth = 12;  // in
  ui::TGridTable& table = data.Tables().EarthPressure;
  const int rowsBefore = table.RowCount();
  std::string refused;
  const auto change = ui::SetEnvelopePressure(data, Uniform(), refused);
  ASSERT_TRUE(change) << refused;
  EXPECT_EQ(data.WrittenEarthPressureMode(), 1);
  ASSERT_EQ(table.RowCount(), 2);
  // 3.25 lb/in2 x 12 in = 39 lb/in, 468 lb/ft; at 0 and 20 ft.
  EXPECT_NEAR(double(table.Cell(0, 1).AsFloat()), 20, 1e-9);
  EXPECT_NEAR(double(table.Cell(1, 0).AsFloat()), 468, 1e-9);
  EXPECT_NEAR(double(table.Cell(1, 1).AsFloat()), 468, 1e-9);

  table.Cell(1, 1).SetFloat(400);  // edited since: the edit is kept
  EXPECT_FALSE(ui::UndoEnvelopePressure(data, *change, refused));
  EXPECT_EQ(double(table.Cell(1, 1).AsFloat()), 400);
  table.Cell(1, 1).SetFloat(468);
  ASSERT_TRUE(ui::UndoEnvelopePressure(data, *change, refused)) << refused;
  EXPECT_EQ(table.RowCount(), rowsBefore);
  EXPECT_NE(data.WrittenEarthPressureMode(), 1);

  data.GeneratePY = false;  // the layers would not be written
  EXPECT_FALSE(ui::SetEnvelopePressure(data, Uniform(), refused));
  EXPECT_NE(refused.find("p-y generation"), std::string::npos) << refused;
  EXPECT_EQ(table.RowCount(), rowsBefore);
}

}  // namespace
}  // namespace terraq::test
