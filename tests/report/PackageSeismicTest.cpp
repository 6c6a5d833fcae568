// The package's chapter of the seismic earth pressure: there when a chosen
// design situation shakes the ground, with the spread of every method and
// the figure, and absent from a project whose sets are all static.

#include <gtest/gtest.h>

#include "PackageContents.h"
#include "PackageFile.h"
#include "StagedExamplePackage.h"

namespace terraq::report {
namespace {

// The staged example's package with `situations` as the project file's
// "designSituations".
Document PackageWith(const std::string& situations) {
  return StagedExamplePackage(R"(, "designSituations": )" + situations, "seismic");
}

std::vector<const Block*> SeismicChapter(const Document& d) {
  std::vector<const Block*> out;
  bool in = false;
  for (const Block& b : d.blocks) {
    if (const Heading* h = std::get_if<Heading>(&b); h && h->level == 1)
      in = h->text == "Seismic earth pressure";
    else if (in) out.push_back(&b);
  }
  return out;
}

TEST(PackageSeismic, SpreadOfTheMethodsForASeismicSituation) {
  EXPECT_TRUE(SeismicChapter(PackageWith(R"({"chosen": ["DA1-2"]})")).empty());

  const Document d = PackageWith(
      R"({"sets": [{"name": "SEISMIC", "gammaPhi": 1.25, "gammaC": 1.25, "gammaCu": 1.4,)"
      R"( "gammaQu": 1.4, "unplannedExcavation": false, "serviceability": false,)"
      R"( "seismic": {"method": "mononobe-okabe", "kh": 0.2, "kv": 0.1}}],)"
      R"( "chosen": ["DA1-2", "SEISMIC"]})");
  const std::vector<const Block*> chapter = SeismicChapter(d);
  ASSERT_FALSE(chapter.empty());
  const Table* inputs = std::get_if<Table>(chapter.at(1));
  ASSERT_NE(inputs, nullptr);
  EXPECT_EQ(inputs->rows.at(0),
            (std::vector<std::string>{"design situation SEISMIC", "Mononobe-Okabe", "0.2", "0.1"}));
  const Table* spread = nullptr;
  size_t figures = 0;
  for (const Block* b : chapter) {
    if (const Table* t = std::get_if<Table>(b); t && t->caption.starts_with("Total active thrust"))
      spread = t;
    figures += std::holds_alternative<Figure>(*b);
  }
  ASSERT_NE(spread, nullptr);
  ASSERT_EQ(spread->rows.size(), 4u);  // every method, each with a thrust
  for (const std::vector<std::string>& row : spread->rows) EXPECT_FALSE(row.at(2).empty());
  EXPECT_EQ(figures, 1u);
}

}  // namespace
}  // namespace terraq::report
