// What the calculation package says, checked against the analysis it is
// made from: its maxima are the characters `terraq run --json` prints, each
// stage is drawn and every input reaches a table; a stopped analysis and a
// data text the project reader refuses give a package that says so.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "PackageContents.h"
#include "PackageFile.h"
#include "project/RunSummary.h"
#include "project/StageFiles.h"
#include "project/TProgramData.h"
#include "tables/TColumn.h"
#include "tables/TGridTable.h"

namespace terraq::report {
namespace {

namespace fs = std::filesystem;

std::string ReadSource(const fs::path& relative) {
  std::ifstream in(fs::path(TERRAQ_SOURCE_DIR) / relative, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

engine::api::AnalysisOptions WithReport() {
  engine::api::AnalysisOptions options;
  options.reportText = true;
  return options;
}

PackageInput Analysed(const fs::path& relative, bool design = false) {
  PackageInput input;
  input.dataFile = relative.filename();
  input.dataText = ReadSource(relative);
  input.analysis = engine::api::Analyse(input.dataText, WithReport());
  input.programVersion = "2.4.0";
  input.date = "2026-12-08";
  input.includeDesign = design;
  return input;
}

template <typename T>
std::vector<const T*> BlocksOf(const Document& d) {
  std::vector<const T*> out;
  for (const Block& b : d.blocks)
    if (const T* t = std::get_if<T>(&b)) out.push_back(t);
  return out;
}

bool HasHeading(const Document& d, const std::string& text) {
  for (const Heading* h : BlocksOf<Heading>(d))
    if (h->text == text) return true;
  return false;
}

// The blocks of the level-1 chapter `chapter`.
std::vector<const Block*> Chapter(const Document& d, const std::string& chapter) {
  std::vector<const Block*> out;
  bool in = false;
  for (const Block& b : d.blocks) {
    if (const Heading* h = std::get_if<Heading>(&b); h && h->level == 1) in = h->text == chapter;
    else if (in) out.push_back(&b);
  }
  return out;
}

const Table* MaximaTable(const Document& d) {
  for (const Table* t : BlocksOf<Table>(d))
    if (t->caption == "Maxima and support forces") return t;
  return nullptr;
}

// The row of `label` in the group of `group` of the maxima table.
const std::vector<std::string>* MaximaRow(const Table& t, const std::string& group,
                                          const std::string& label) {
  bool in = false;
  for (size_t r = 0; r < t.rows.size(); ++r) {
    if (t.groupRows[r]) in = t.rows[r][0].rfind(group, 0) == 0;
    else if (in && t.rows[r][0] == label) return &t.rows[r];
  }
  return nullptr;
}

// Every maximum of the run's summary, as `terraq run --json` writes it, is
// a row of the table, unit and depth with it.
void ExpectMaximaOfSummary(const Document& d, const PackageInput& input,
                           const std::vector<std::string>& groups) {
  const Table* t = MaximaTable(d);
  ASSERT_TRUE(t);
  ASSERT_EQ(t->groupRows.size(), t->rows.size());
  const ui::RunSummary s = ui::SummarizeAnalysis(input.analysis, input.analysis.report);
  ASSERT_EQ(s.problems.size(), groups.size());
  for (size_t k = 0; k < groups.size(); ++k) {
    const ui::ProblemSummary& p = s.problems[k];
    const ui::ResultUnits u = ui::ResultUnitsFor(*p.unitsCode);
    std::vector<std::tuple<std::string, std::optional<ui::Extreme>, std::string>> expected = {
        {"Deflection at the top", p.topDeflection, u.length},
        {"Largest deflection", p.deflection, u.length},
        {"Largest positive moment", p.positiveMoment, u.moment},
        {"Largest negative moment", p.negativeMoment, u.moment},
        {"Largest shear", p.shear, u.force},
        {"Largest shear either side of a station", p.shearEitherSide, u.force}};
    for (const ui::SupportForce& f : p.supports)
      expected.emplace_back("Support force at station " + std::to_string(f.station),
                            ui::Extreme{f.force, f.depth}, u.force);
    for (const auto& [label, extreme, unit] : expected) {
      const auto* row = MaximaRow(*t, groups[k], label);
      ASSERT_EQ(row != nullptr, extreme.has_value()) << groups[k] << " " << label;
      if (!row) continue;
      EXPECT_EQ((*row)[1], ui::SummaryNumberText(extreme->value)) << groups[k] << " " << label;
      EXPECT_EQ((*row)[2], unit);
      EXPECT_EQ((*row)[3], ui::SummaryNumberText(extreme->depth)) << groups[k] << " " << label;
    }
  }
}

std::string AllText(const Document& d) {
  std::string text;
  for (const Table* t : BlocksOf<Table>(d))
    for (const auto& row : t->rows) text += row[0] + "\n";
  for (const Paragraph* p : BlocksOf<Paragraph>(d)) text += p->text + "\n";
  return text;
}

int FiguresIn(const Document& d, const std::string& chapter) {
  int figures = 0;
  for (const Block* b : Chapter(d, chapter)) figures += std::holds_alternative<Figure>(*b);
  return figures;
}

TEST(PackageContents, SampleWithAnAnchorGivesTheRunsNumbersInOrder) {
  const PackageInput input = Analysed("examples/anchored-trapezoid.tq4d", true);
  ASSERT_FALSE(input.analysis.error);
  const Document d = BuildPackage(input);
  const std::string title = "Anchored sheet pile in sand: apparent-pressure trapezoid, one anchor";
  EXPECT_EQ(d.titlePage.title, title);
  EXPECT_EQ(d.runningHeader, title + " — anchored-trapezoid.tq4d");
  bool si = false;
  for (const auto& e : d.titlePage.facts.entries) si = si || e.value == "SI (kN, m)";
  EXPECT_TRUE(si);

  std::vector<std::string> chapters;
  for (const Heading* h : BlocksOf<Heading>(d))
    if (h->level == 1) chapters.push_back(h->text);
  EXPECT_EQ(chapters, (std::vector<std::string>{"Inputs", "Wall and soil profile", "Earth pressure",
                                                "Results", "Maxima", "Warnings", "Design",
                                                "Methods and references"}));
  EXPECT_EQ(FiguresIn(d, "Wall and soil profile"), 1);
  EXPECT_EQ(FiguresIn(d, "Results"), 5);
  ExpectMaximaOfSummary(d, input, {title});
  const auto* anchor = MaximaRow(*MaximaTable(d), title, "Support force at station 8");
  ASSERT_TRUE(anchor);  // the anchor at 1.6 m, h = 0.2 m
  EXPECT_EQ((*anchor)[2], "kN");

  // The free-earth design of the anchored wall; the trapezoid's references,
  // and no p-y model of the sand, whose curves are given.
  const std::string text = AllText(d);
  EXPECT_NE(text.find("(free-earth)"), std::string::npos);
  EXPECT_NE(text.find("Terzaghi, K., & Peck, R. B. (1967)"), std::string::npos);
  EXPECT_EQ(text.find("(Reese, Cox & Koop 1974)"), std::string::npos);
  EXPECT_NE(text.find("“Verification”"), std::string::npos);
}

// Every parameter of every soil layer of the samples reaches a table of
// soil parameters, as the program's table shows it.
TEST(PackageContents, EverySoilLayerParameterOfTheSamplesIsShown) {
  int parameters = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(TERRAQ_SOURCE_DIR) / "examples")) {
    if (entry.path().extension() != ".tq4d") continue;
    const Document d = BuildPackage(Analysed(fs::relative(entry.path(), TERRAQ_SOURCE_DIR)));
    std::multiset<std::string> cells;
    for (const Table* t : BlocksOf<Table>(d))
      if (t->caption.rfind("Soil parameters", 0) == 0)
        for (const auto& row : t->rows) cells.insert(row.begin(), row.end());
    ui::TProjectTables tables;
    const ui::TProgramData project(tables, entry.path(), ui::kLayoutCurrent);
    const ui::TGridTable& layers = tables.SoilLayers;
    const bool soil = project.GeneratePY || project.WrittenEarthPressureMode() >= 2;
    for (int layer = 0; soil && layer < layers.RowCount(); ++layer) {
      const ui::TGridTable* sub =
          static_cast<const ui::TTableColumn&>(layers.Column(2)).SubTable(layer);
      ASSERT_TRUE(sub);
      for (int c = 0; c < sub->ColumnCount(); ++c)
        for (int r = 0; r < sub->RowCount(); ++r, ++parameters)
          EXPECT_TRUE(cells.count(sub->Column(c).Text(r)))
              << entry.path().filename() << " layer " << layer + 1 << " "
              << sub->Column(c).Captions[0];
    }
  }
  EXPECT_GT(parameters, 40);
}

// A staged project of five stages, each the data set of a sample with
// generated p-y curves (sand over soft clay), written as the program writes
// stage blocks.
PackageInput FiveStagesOfSoil() {
  const std::string block = ReadSource("examples/cantilever-soft-clay-generated.tq4d");
  PackageInput input;
  input.dataFile = "five-stages.tq4d";
  for (int stage = 1; stage <= 5; ++stage) input.dataText += ui::StageBlockAs(block, stage, 5);
  input.analysis = engine::api::Analyse(input.dataText, WithReport());
  input.includeDesign = true;
  return input;
}

// Each stage's inputs in a section of its own with every parameter of every
// soil layer, each stage drawn, every stage on each result graph, in the
// maxima and designed (its time is measured by bench_report).
TEST(PackageContents, StagedProjectShowsEveryStage) {
  const PackageInput input = FiveStagesOfSoil();
  ASSERT_FALSE(input.analysis.error);
  ASSERT_EQ(input.analysis.problems.size(), 5u);
  const Document d = BuildPackage(input);
  EXPECT_EQ(FiguresIn(d, "Wall and soil profile"), 5);
  EXPECT_EQ(FiguresIn(d, "Results"), 5);
  const std::vector<std::string> stages = {"Stage 1", "Stage 2", "Stage 3", "Stage 4", "Stage 5"};
  ExpectMaximaOfSummary(d, input, stages);
  for (const std::string& stage : stages)
    EXPECT_NE(AllText(d).find(stage + " (fixed-earth)"), std::string::npos) << stage;

  // The soil-parameter cells of each stage's section.
  std::vector<std::multiset<std::string>> cells;
  for (const Block& b : d.blocks) {
    if (const Heading* h = std::get_if<Heading>(&b);
        h && h->level == 2 && h->text.rfind("Stage ", 0) == 0)
      cells.emplace_back();
    const Table* t = std::get_if<Table>(&b);
    if (t && !cells.empty() && t->caption.rfind("Soil parameters", 0) == 0)
      for (const auto& row : t->rows) cells.back().insert(row.begin(), row.end());
  }
  ASSERT_EQ(cells.size(), 5u);
  ui::TProjectTables tables;
  ui::TProgramData sample(tables);
  sample.LoadText(ReadSource("examples/cantilever-soft-clay-generated.tq4d"));
  const ui::TGridTable& layers = tables.SoilLayers;
  for (size_t k = 0; k < cells.size(); ++k)
    for (int layer = 0; layer < layers.RowCount(); ++layer) {
      const ui::TGridTable* sub =
          static_cast<const ui::TTableColumn&>(layers.Column(2)).SubTable(layer);
      for (int c = 0; c < sub->ColumnCount(); ++c)
        for (int r = 0; r < sub->RowCount(); ++r)
          EXPECT_TRUE(cells[k].count(sub->Column(c).Text(r)))
              << "stage " << k + 1 << " layer " << layer + 1;
    }
}

// The five-stage seed holds more rows than the program's tables take: the
// package gives the reader's message instead of the inputs, and still the
// results and warnings of every stage.
TEST(PackageContents, StagesTheProgramCannotHoldGiveTheReadersMessageAndTheResults) {
  const PackageInput five = Analysed("tests/data/fuzz-seeds/five-full-stages.tq4d", true);
  ASSERT_FALSE(five.analysis.error);
  const Document d = BuildPackage(five);
  EXPECT_NE(AllText(d).find("\"Wall Stiffness\", which holds 0 to 10"), std::string::npos);
  EXPECT_EQ(BlocksOf<Table>(d).size(), 1u);  // the maxima alone
  EXPECT_EQ(FiguresIn(d, "Results"), 5);
  ExpectMaximaOfSummary(d, five, {"Stage 1", "Stage 2", "Stage 3", "Stage 4", "Stage 5"});
  EXPECT_NE(
      AllText(d).find("Stage 5: Wall weakened: the EI rows give only part of EI at stations 19-20"),
      std::string::npos);
}

TEST(PackageContents, StoppedAnalysisStatesTheStopAndGivesNoResults) {
  PackageInput input = Analysed("examples/cantilever-sand-generated.tq4d");
  // An excavation (120 in) made deeper than the wall (360 in): the project
  // reads it, the engine stops.
  const size_t wall = input.dataText.find("\n120\t72");
  ASSERT_NE(wall, std::string::npos);
  input.dataText.replace(wall, 4, "\n400");
  input.analysis = engine::api::Analyse(input.dataText, WithReport());
  ASSERT_TRUE(input.analysis.error);
  const Document d = BuildPackage(input);
  EXPECT_TRUE(HasHeading(d, "Inputs"));
  EXPECT_FALSE(BlocksOf<Table>(d).empty());  // the inputs as read
  EXPECT_TRUE(HasHeading(d, "Analysis stopped"));
  for (const char* absent : {"Results", "Maxima", "Earth pressure", "Warnings", "Design"})
    EXPECT_FALSE(HasHeading(d, absent)) << absent;
  EXPECT_FALSE(MaximaTable(d));
  std::string text;
  for (const Paragraph* p : BlocksOf<Paragraph>(d)) text += p->text + "\n";
  EXPECT_NE(text.find(input.analysis.error->message), std::string::npos);
  if (input.analysis.error->line > 0) {
    EXPECT_NE(text.find("line " + std::to_string(input.analysis.error->line) + " of the data file"),
              std::string::npos);
  }
}

TEST(PackageContents, TextNeitherReaderNorEngineTakesGivesTheMessagesWithoutThrowing) {
  PackageInput input;
  input.dataFile = "broken.tq4d";
  input.dataText = "A title\n2 0 x\n";
  input.analysis = engine::api::Analyse(input.dataText, WithReport());
  Document d;
  EXPECT_NO_THROW(d = BuildPackage(input));
  EXPECT_TRUE(BlocksOf<Table>(d).empty());
  EXPECT_TRUE(BlocksOf<Figure>(d).empty());
  int messages = 0;
  for (const Paragraph* p : BlocksOf<Paragraph>(d)) messages += p->style == Paragraph::Style::Mono;
  EXPECT_EQ(messages, 2);  // the reader's and the engine's
  EXPECT_EQ(d.titlePage.title, "broken.tq4d");
}

// A project with a construction sequence: its supports and stages as
// entered, the anchor's force per stage (its lock-off force alone in the
// stage it is installed in) and the largest over the stages.
TEST(PackageContents, ConstructionSequenceGivesItsStagesAndTheSupportForces) {
  const fs::path data = fs::path(TERRAQ_SOURCE_DIR) / "examples/sequential-excavation-anchor.tq4d";
  const PackageInput input =
      AnalysedPackageInput(data, ReadSource("examples/sequential-excavation-anchor.tq4d"));
  ASSERT_TRUE(input.sequence);
  ASSERT_FALSE(input.analysis.error);
  const Document d = BuildPackage(input);
  ASSERT_TRUE(HasHeading(d, "Construction sequence"));
  // Each stage's inputs and drawing, as the data set it is analysed from.
  EXPECT_EQ(AllText(d).find("could not be read"), std::string::npos);
  EXPECT_EQ(FiguresIn(d, "Wall and soil profile"), 4);
  std::map<std::string, const Table*> tables;
  for (const Block* b : Chapter(d, "Construction sequence"))
    if (const Table* t = std::get_if<Table>(b)) tables[t->caption] = t;
  ASSERT_EQ(tables.size(), 4u);

  // k = E·A/Lf·cos²α per anchor, times Wa/s per wall unit.
  const Table& supports = *tables["Supports of the construction sequence, as built"];
  ASSERT_EQ(supports.rows.size(), 1u);
  const double cos15 = std::cos(15 * M_PI / 180);
  const double k = 2e8 * 0.00084 / 8 * cos15 * cos15 * input.sequence->stages.unitWidth / 2.5;
  EXPECT_NEAR(std::stod(supports.rows[0].back()), k, 1e-3 * k);
  EXPECT_EQ(tables["Stages of the construction sequence"]->rows.size(), 4u);

  const Table& forces = *tables["Support forces per stage"];
  std::vector<std::vector<std::string>> stage;  // the rows of each stage
  for (size_t r = 0; r < forces.rows.size(); ++r)
    if (forces.groupRows[r]) stage.emplace_back();
    else
      stage.back().push_back(forces.rows[r][0] + "|" + forces.rows[r][3] + "|" + forces.rows[r][4]);
  ASSERT_EQ(stage.size(), 4u);
  EXPECT_EQ(stage[0], std::vector<std::string>{"no support in place||"});
  EXPECT_EQ(stage[1], std::vector<std::string>{"A1|150|prestress"});
  double largest = 0;
  for (size_t r = 0; r < forces.rows.size(); ++r)
    if (!forces.groupRows[r] && !forces.rows[r][3].empty())
      largest = std::max(largest, std::stod(forces.rows[r][3]));
  EXPECT_GT(largest, 150);
  const Table& envelope = *tables["Largest force of each support over the stages"];
  ASSERT_EQ(envelope.rows.size(), 1u);
  EXPECT_EQ(std::stod(envelope.rows[0][2]), largest);
  EXPECT_EQ(envelope.rows[0][3].substr(0, 2), "4:");
  EXPECT_FALSE(HasHeading(d, "Soil model"));  // the p-y model: no chapter of it
}

// A project that models its soil by subgrade-reaction springs: the package
// analyses it so (its pressures come from the engine's springs) and shows
// the parameters and each stage's pressures within their limits.
TEST(PackageContents, SubgradeModelGivesItsParametersAndPressures) {
  const fs::path folder =
      fs::temp_directory_path() / ("terraq-package-sg-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const char* ext : {".tq4d", ".terraq.json"})
    fs::copy_file(
        fs::path(TERRAQ_SOURCE_DIR) / ("examples/sequential-excavation-anchor" + std::string(ext)),
        folder / ("wall" + std::string(ext)));
  std::string json = ReadSource("examples/sequential-excavation-anchor.terraq.json");
  json.insert(json.rfind('}'),
              R"(, "soilModel": {"model": "subgrade", "units": {"subgradeModulus": "kN/m3"},
      "layers": [{"khTop": 12000, "khBottom": 36000, "k0": 0, "ocr": 1, "reloadRatio": 2}]})");
  std::ofstream(folder / "wall.terraq.json") << json;
  const PackageInput input = AnalysedPackageInput(
      folder / "wall.tq4d", ReadSource("examples/sequential-excavation-anchor.tq4d"));
  fs::remove_all(folder);
  ASSERT_FALSE(input.analysis.error) << input.analysis.error->message;
  ASSERT_TRUE(input.subgrade);
  const Document d = BuildPackage(input);
  ASSERT_TRUE(HasHeading(d, "Soil model"));
  std::vector<const Table*> tables;
  size_t figures = 0;
  for (const Block* b : Chapter(d, "Soil model")) {
    if (const Table* t = std::get_if<Table>(b)) tables.push_back(t);
    figures += std::holds_alternative<Figure>(*b);
  }
  ASSERT_EQ(tables.size(), 5u);  // the parameters, then the four stages
  EXPECT_EQ(figures, 4u);        // each stage's graph beside its table
  EXPECT_EQ(tables[0]->rows.at(0).at(1), "12000");
  for (size_t k = 1; k < tables.size(); ++k)
    for (const std::vector<std::string>& row : tables[k]->rows)
      for (size_t face : {1u, 4u})
        if (!row[face].empty()) {
          EXPECT_GE(std::stod(row[face]), std::stod(row[face + 1]) * (1 - 1e-3));
          EXPECT_LE(std::stod(row[face]), std::stod(row[face + 2]) * (1 + 1e-3));
        }
}

}  // namespace
}  // namespace terraq::report
