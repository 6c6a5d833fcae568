// The structural check in the calculation package of a project that remembers
// its wall's section: the chapter gives the utilisation `terraq run` prints,
// its resistances in the units of the maxima (the largest moment over the
// moment resistance is the utilisation), and a section that cannot be
// checked says why; a project without a section has no chapter.

#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <fstream>
#include <sstream>

#include "DocumentHtml.h"
#include "PackageContents.h"
#include "PackageFile.h"
#include "PackageGraphs.h"
#include "project/ProjectFile.h"
#include "project/SectionLibraryFiles.h"

namespace terraq::report {
namespace {

namespace fs = std::filesystem;

// An example copied into a folder of its own, with a project file when
// `section` is given (the member's JSON) or other `members` ("name": value).
class ExampleProject {
 public:
  ExampleProject(const std::string& example, const std::string& section,
                 const std::string& members = "") {
    folder_ = fs::temp_directory_path() /
              ("terraq-package-section-" + std::to_string(::getpid()) + "-" + example);
    fs::create_directories(folder_);
    data_ = folder_ / example;
    fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / example, data_,
                  fs::copy_options::overwrite_existing);
    if (!section.empty())
      std::ofstream(ui::ProjectFilePath(data_))
          << R"({"format": "terraq-project", "version": 1, "section": )" << section << "}";
    else if (!members.empty())
      std::ofstream(ui::ProjectFilePath(data_))
          << R"({"format": "terraq-project", "version": 1, )" << members << "}";
  }
  ~ExampleProject() { fs::remove_all(folder_); }

  PackageInput Input() const {
    std::ifstream in(data_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return AnalysedPackageInput(data_, text.str());
  }

 private:
  fs::path folder_, data_;
};

std::vector<const Block*> Chapter(const Document& d, const std::string& chapter) {
  std::vector<const Block*> out;
  bool in = false;
  for (const Block& b : d.blocks) {
    if (const Heading* h = std::get_if<Heading>(&b); h && h->level == 1) in = h->text == chapter;
    else if (in) out.push_back(&b);
  }
  return out;
}

const Table* TableOf(const std::vector<const Block*>& blocks, const std::string& caption) {
  for (const Block* b : blocks)
    if (const Table* t = std::get_if<Table>(b); t && t->caption == caption) return t;
  return nullptr;
}

std::string TextOf(const std::vector<const Block*>& blocks) {
  std::string text;
  for (const Block* b : blocks)
    if (const Paragraph* p = std::get_if<Paragraph>(b)) text += p->text + "\n";
  return text;
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The largest |moment| of problem `group` in the maxima table.
double LargestMoment(const Document& d, const std::string& group) {
  const Table* t = TableOf(Chapter(d, "Maxima"), "Maxima and support forces");
  double largest = 0;
  bool in = false;
  for (size_t r = 0; t && r < t->rows.size(); ++r) {
    if (t->groupRows[r]) in = t->rows[r][0].rfind(group, 0) == 0;
    else if (in && t->rows[r][0].find("moment") != std::string::npos)
      largest = std::max(largest, std::fabs(std::stod(t->rows[r][1])));
  }
  return largest;
}

TEST(PackageSectionCheck, GivesTheCommandsUtilisationOfEveryStageInTheUnitsOfTheMaxima) {
  const ExampleProject project("staged-excavation-tieback.tq4d", R"({"name": "AZ18"})");
  const PackageInput input = project.Input();
  ASSERT_TRUE(input.section && input.section->checks)
      << (input.section ? input.section->error : "");
  const Document d = BuildPackage(input);
  const std::vector<const Block*> chapter = Chapter(d, "Structural check");
  const Table* utilisation =
      TableOf(chapter, "Largest utilisation of the section, characteristic effects");
  const Table* resistances = TableOf(chapter, "Wall unit and resistances of the section");
  ASSERT_TRUE(utilisation && resistances);

  // What `terraq run` of the project prints: the check of the data file's
  // own analysis with the section found in the program's library.
  std::string error;
  const auto library = ui::LoadProgramSectionLibrary(error);
  ASSERT_TRUE(library) << error;
  const auto used = ui::ResolveWallSection({"AZ18", "", {}, {}}, *library, error);
  ASSERT_TRUE(used) << error;
  const auto data = ui::CheckedData(input.dataText, *used, error);
  ASSERT_TRUE(data) << error;
  const std::vector<design::WallCheck> checks = ui::CheckAnalysis(input.analysis, *data, *used);
  ASSERT_EQ(checks.size(), 5u);
  ASSERT_EQ(utilisation->rows.size(), 5u);
  for (size_t k = 0; k < checks.size(); ++k) {
    const auto& row = utilisation->rows[k];
    const std::string stage = "Stage " + std::to_string(k + 1);
    EXPECT_EQ(row[0], stage);
    EXPECT_EQ(row[1], ui::UtilisationText(checks[k].utilisation)) << stage;
    EXPECT_NEAR(std::stod(row[2]), checks[k].utilisationDepth, 1e-9) << stage;
    EXPECT_EQ(row[3], "bending") << stage;
    // Bending governs without shear or axial force to reduce it: the
    // largest moment of the maxima (kN-m per metre) over Mc,Rd (kN-m).
    const std::vector<std::string>& r = resistances->rows[k];
    EXPECT_EQ(r[1], "1");  // Wa of the data file
    EXPECT_NEAR(LargestMoment(d, stage) / std::stod(r[4]), std::stod(row[1]), 1e-3) << stage;
    // The effects checked there: that largest moment, and no axial force.
    EXPECT_NEAR(std::stod(row[4]), LargestMoment(d, stage), 1e-3 * LargestMoment(d, stage));
    EXPECT_EQ(row[6], "0") << stage;
  }
  EXPECT_EQ(resistances->columns[4].unit, "kN-m");
  // Its EI is not the data file's: the note says which the analysis used.
  EXPECT_TRUE(Has(TextOf(chapter), "the analysis used the data file's EI")) << TextOf(chapter);
  EXPECT_TRUE(Has(TextOf(Chapter(d, "Methods and references")), "EN 1993-5:2007"));

  const DepthGraph graph = UtilisationGraph(checks, input.analysis.problems, {}, 2);
  ASSERT_EQ(graph.curves.size(), 6u);  // a curve per stage and the line at 1
  EXPECT_EQ(graph.curves.back().points.front().X, 1.0);
  EXPECT_EQ(graph.curves[4].points.size(), input.analysis.problems[4].stations.size());
}

// A project with its section and design situations: the characteristic
// check as before, labelled so, and the ultimate-limit-state check whose
// envelope is the design situations' envelope moment (bending governs) over
// the section's Mc,Rd of the resistances table, with the verdict.
TEST(PackageSectionCheck, TheUltimateCheckIsTheEnvelopeMomentOverTheResistance) {
  const ExampleProject project(
      "staged-excavation-tieback.tq4d", "",
      R"("section": {"name": "AZ18"}, "designSituations": {"chosen": ["DA1-1", "DA1-2"]})");
  const PackageInput input = project.Input();
  ASSERT_TRUE(input.section && input.section->checks && input.situations);
  const Document d = BuildPackage(input);
  const std::vector<const Block*> chapter = Chapter(d, "Structural check");
  const Table* resistances = TableOf(chapter, "Wall unit and resistances of the section");
  const Table* uls =
      TableOf(chapter, "Largest utilisation of the section at the ultimate limit state");
  ASSERT_TRUE(resistances && uls);
  ASSERT_EQ(uls->rows.size(), 5u);
  const std::vector<design::EnvelopeProblem>& envelope = input.situations->envelope;
  double largest = 0;
  for (size_t k = 0; k < 5; ++k) {
    const std::vector<std::string>& row = uls->rows[k];
    ASSERT_EQ(row[4], "bending") << k;
    EXPECT_EQ(row[3], envelope[k].moment.set) << k;
    const double moment = std::fabs(envelope[k].moment.value);  // kN-m per metre, Wa 1 m
    EXPECT_NEAR(std::stod(row[1]), moment / std::stod(resistances->rows[k][4]), 1e-3) << k;
    largest = std::max(largest, std::stod(row[1]));
  }
  const std::string html = HtmlText(d);
  EXPECT_TRUE(Has(html, "characteristic effects")) << html;
  EXPECT_TRUE(Has(html,
                  "At the ultimate limit state the section AZ18 holds: its largest "
                  "utilisation is " +
                      ui::UtilisationText(largest)))
      << TextOf(chapter);
}

TEST(PackageSectionCheck, AnOverstressedPileIsAWarningInEnglishUnits) {
  const ExampleProject project(
      "cantilever-sand-generated.tq4d",
      R"({"name": "PIPE168.3x7.1", "spacing": 72, "method": "allowable"})");
  const Document d = BuildPackage(project.Input());
  const std::vector<const Block*> chapter = Chapter(d, "Structural check");
  const Table* utilisation =
      TableOf(chapter, "Largest utilisation of the section, characteristic effects");
  const Table* resistances = TableOf(chapter, "Wall unit and resistances of the section");
  ASSERT_TRUE(utilisation && resistances);
  ASSERT_EQ(utilisation->rows.size(), 1u);
  const std::string name = utilisation->rows[0][0];
  EXPECT_GT(std::stod(utilisation->rows[0][1]), 1.0);
  EXPECT_EQ(utilisation->rows[0][3], "bending (above 1)");
  EXPECT_TRUE(
      Has(TextOf(chapter), name + ": the section is overstressed by the characteristic effects"))
      << TextOf(chapter);
  // lbs-in throughout: the allowable moment Fb·Wel against the maxima.
  EXPECT_EQ(resistances->columns[4].unit, "lbs-in");
  EXPECT_EQ(resistances->columns[4].symbol, "Fb·Wel");
  EXPECT_NEAR(LargestMoment(d, name) / std::stod(resistances->rows[0][4]),
              std::stod(utilisation->rows[0][1]), 2e-3);
  EXPECT_TRUE(Has(TextOf(Chapter(d, "Methods and references")), "AISC (1989)"));
}

TEST(PackageSectionCheck, NoSectionNoChapterAndASectionNotFoundSaysWhy) {
  const ExampleProject plain("cantilever-point-load.tq4d", "");
  const PackageInput input = plain.Input();
  EXPECT_FALSE(input.section);
  const Document d = BuildPackage(input);
  for (const Block& b : d.blocks)
    if (const Heading* h = std::get_if<Heading>(&b)) {
      EXPECT_NE(h->text, "Structural check");
    }
  EXPECT_FALSE(Has(TextOf(Chapter(d, "Methods and references")), "EN 1993"));

  const ExampleProject unknown("cantilever-point-load.tq4d", R"({"name": "AZ99"})");
  const Document notFound = BuildPackage(unknown.Input());
  const std::vector<const Block*> chapter = Chapter(notFound, "Structural check");
  ASSERT_EQ(chapter.size(), 1u);
  EXPECT_TRUE(Has(TextOf(chapter),
                  "names the section AZ99 for its wall, but it cannot be checked: "
                  "the section library has no section AZ99"))
      << TextOf(chapter);
}

TEST(PackageDesignSituations, TheEnvelopeIsTheCommandsAndNoChoiceNoChapter) {
  const ExampleProject project(
      "staged-excavation-tieback.tq4d", "",
      R"("designSituations": {"chosen": ["DA1-1", "DA1-2", "SLS"], "minimumSurcharge": 10})");
  const PackageInput input = project.Input();
  ASSERT_TRUE(input.situations);
  ASSERT_EQ(input.situations->error, "");
  const Document d = BuildPackage(input);
  const std::vector<const Block*> chapter = Chapter(d, "Design situations");
  const Table* envelope = TableOf(chapter, "Envelope of the design effects");
  const Table* soil = TableOf(chapter, "Design soil values");
  ASSERT_TRUE(envelope && soil);
  // What terraq run --design-approach DA1-1,DA1-2,SLS prints.
  design::SituationOptions options;
  options.minimumSurcharge = 10;
  const auto runs = design::RunDesignSituations(
      input.dataText,
      {*design::StandardFactorSet("DA1-1"), *design::StandardFactorSet("DA1-2"),
       *design::StandardFactorSet("SLS")},
      options);
  const std::vector<design::EnvelopeProblem> expected = design::EnvelopeOf(runs);
  ASSERT_EQ(envelope->rows.size(), 5u);
  for (size_t k = 0; k < 5; ++k) {
    const double moment = expected[k].moment.value, top = expected[k].topDeflection->value;
    EXPECT_NEAR(std::stod(envelope->rows[k][1]), moment, 5e-4 * std::fabs(moment)) << k;
    EXPECT_EQ(envelope->rows[k][2], expected[k].moment.set) << k;
    EXPECT_NEAR(std::stod(envelope->rows[k][6]), top, 5e-4 * std::fabs(top)) << k;
  }
  // DA1-2's design friction angle: arctan(tan 32° / 1.25) = 26.56°.
  ASSERT_EQ(soil->rows.size(), 1u);
  EXPECT_EQ(soil->rows[0][0], "DA1-2");
  EXPECT_EQ(soil->rows[0][4], "26.56");
  // The design moment, shear and deflection of each set, each along the
  // stage where it is largest.
  std::vector<std::string> captions;
  for (const Block* b : chapter)
    if (const auto* f = std::get_if<Figure>(b)) captions.push_back(f->caption);
  using design::DesignEffect;
  ASSERT_EQ(captions.size(), 3u);
  const char* starts[] = {"Design bending moment", "Design shear", "Deflection"};
  const DesignEffect effects[] = {DesignEffect::Moment, DesignEffect::Shear,
                                  DesignEffect::Deflection};
  for (size_t i = 0; i < 3; ++i) {
    const size_t k = *design::GoverningProblem(expected, runs, effects[i]);
    EXPECT_EQ(captions[i].find(starts[i]), 0u) << captions[i];
    EXPECT_NE(captions[i].find("Stage " + std::to_string(k + 1)), std::string::npos) << captions[i];
  }

  const ExampleProject none("staged-excavation-tieback.tq4d", R"({"name": "AZ18"})");
  EXPECT_FALSE(none.Input().situations);
}

}  // namespace
}  // namespace terraq::report
