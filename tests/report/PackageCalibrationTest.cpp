// The package of a project that holds measured deflections: the readings
// drawn on the deflection figure with a line naming their file, and the
// calibration chapter setting each reading beside the computed deflection,
// with the RMS of the differences; a measured stage the analysis does not
// have is said, not compared.

#include <gtest/gtest.h>

#include <cmath>

#include "PackageContents.h"
#include "StagedExamplePackage.h"

namespace terraq::report {
namespace {

TEST(PackageCalibration, ReadingsBesideTheComputedDeflectionWithTheirRms) {
  // The staged tie-back example is in SI: depths and deflections in m.
  const Document d = StagedExamplePackage(
      R"(, "measurements": {"units": {"length": "m"}, "stages": [)"
      R"({"stage": 3, "file": "I-3 stage 3.csv", "readings": [[0, 0.012], [1.5, 0.009], [4.2, 0.003]]},)"
      R"({"stage": 9, "file": "I-3 later.csv", "readings": [[0, 0.02]]}]})",
      "calibration");
  bool heading = false, line = false, skipped = false;
  const Table* table = nullptr;
  std::string rms;
  for (const Block& b : d.blocks) {
    if (const Heading* h = std::get_if<Heading>(&b)) heading = heading || h->text == "Calibration";
    if (const Table* t = std::get_if<Table>(&b);
        t && t->caption == "Measured and computed deflection, stage 3")
      table = t;
    if (const Paragraph* p = std::get_if<Paragraph>(&b)) {
      line = line || p->text ==
                         "Measured deflections (markers): 4 readings of stage 3: I-3 "
                         "stage 3.csv; stage 9: I-3 later.csv.";
      skipped = skipped || p->text.rfind("Stage 9 is measured but not analysed", 0) == 0;
      if (p->text.rfind("Root mean square", 0) == 0) rms = p->text;
    }
  }
  EXPECT_TRUE(heading);
  EXPECT_TRUE(line);
  EXPECT_TRUE(skipped);
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->rows.size(), 3u);
  const double measured[] = {0.012, 0.009, 0.003};
  double sum = 0;
  for (size_t k = 0; k < 3; ++k) {
    const double computed = std::stod(table->rows[k][2]), difference = std::stod(table->rows[k][3]);
    EXPECT_DOUBLE_EQ(std::stod(table->rows[k][1]), measured[k]);
    EXPECT_NEAR(difference, computed - measured[k], 1e-3 * std::fabs(computed) + 1e-9);
    sum += difference * difference;
  }
  // "… over 3 readings: X m."
  const size_t colon = rms.find(": ");
  ASSERT_NE(colon, std::string::npos) << rms;
  EXPECT_NEAR(std::stod(rms.substr(colon + 2)), std::sqrt(sum / 3), 1e-3 * std::sqrt(sum / 3));
}

}  // namespace
}  // namespace terraq::report
