// terraq report, run as users run it: the package's numbers read back from
// the PDF against terraq run --json, the outputs brought up to date, a
// stopped analysis, and the refusals that keep the earlier package.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

#include "CliTestFiles.h"
#include "CommandRunner.h"

using namespace terraq::test;

namespace {

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

fs::path CopyExample(const ScratchFolder& work, const std::string& example,
                     const std::string& name = "wall.tq4d") {
  const fs::path data = work.path() / name;
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / example, data);
  return data;
}

// One row of the maxima table: what it names, its value and depth as text.
struct MaximumRow {
  std::string label, value, depth;
  bool operator==(const MaximumRow&) const = default;
};

std::ostream& operator<<(std::ostream& out, const MaximumRow& row) {
  return out << row.label << " = " << row.value << " at " << row.depth;
}

// The rows the maxima table must hold, in its order, from terraq run --json:
// per problem the top and largest deflection, the largest moment of each
// sign, the largest shear, the shear either side of supports, the supports.
std::vector<MaximumRow> RowsOfJson(const std::string& json) {
  std::vector<MaximumRow> rows;
  const std::vector<std::pair<std::string, std::string>> keys = {
      {"topDeflection", "Deflection at the top"},
      {"maxDeflection", "Largest deflection"},
      {"maxPositiveMoment", "Largest positive moment"},
      {"maxNegativeMoment", "Largest negative moment"},
      {"maxShear", "Largest shear"},
      {"largestShear", "Largest shear either side of a station"}};
  size_t at = json.find("{\"number\":");
  while (at != std::string::npos) {
    const size_t next = json.find("{\"number\":", at + 1);
    const std::string problem =
        json.substr(at, next == std::string::npos ? std::string::npos : next - at);
    for (const auto& [key, label] : keys) {
      std::smatch m;
      if (std::regex_search(
              problem, m,
              std::regex("\"" + key + "\": \\{\"value\": ([^,]+), \"depth\": ([^}]+)\\}")))
        rows.push_back({label, m[1], m[2]});
    }
    const std::regex support("\\{\"station\": (\\d+), \"depth\": ([^,]+), \"force\": ([^,]+),");
    for (auto it = std::sregex_iterator(problem.begin(), problem.end(), support);
         it != std::sregex_iterator(); ++it)
      rows.push_back({"Support force at station " + (*it)[1].str(), (*it)[3], (*it)[2]});
    at = next;
  }
  return rows;
}

// The rows of the maxima table as pdftotext reads them back from the PDF.
std::vector<MaximumRow> RowsOfPdf(const fs::path& pdf) {
  const std::string text = ReadFile(pdf);
  std::vector<MaximumRow> rows;
  std::istringstream lines(text);
  std::string line;
  bool inTable = false;
  const std::regex row(
      "^\\s*((?:Deflection at|Largest|Support force)[A-Za-z0-9 ]*?)\\s{2,}(\\S+)\\s+\\S+\\s+(\\S+)\\s*$");
  while (std::getline(lines, line)) {
    if (line.find("Maxima and support forces") != std::string::npos) inTable = true;
    if (inTable && line.find("Warnings") != std::string::npos) break;
    std::smatch m;
    if (inTable && std::regex_match(line, m, row)) rows.push_back({m[1], m[2], m[3]});
  }
  return rows;
}

TEST(ReportCommand, TheMaximaReadBackFromThePdfAreThoseOfRunJson) {
  if (std::system("pdftotext -v > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "pdftotext is not installed";
  ScratchFolder work;
  for (const char* example :
       {"examples/staged-excavation-tieback.tq4d", "examples/cantilever-sand-generated.tq4d"}) {
    SCOPED_TRACE(example);
    CopyExample(work, example, "wall.tq4d");
    const Outcome json = runTerraq("run --json wall.tq4d", work.path());
    ASSERT_EQ(json.status, 0) << json.err;
    const Outcome made = runTerraq("report --out calc.pdf wall.tq4d", work.path());
    ASSERT_EQ(made.status, 0) << made.err;
    ASSERT_EQ(std::system(("pdftotext -layout " + quoted((work.path() / "calc.pdf").string()) +
                           " " + quoted((work.path() / "calc.txt").string()))
                              .c_str()),
              0);
    const std::vector<MaximumRow> expected = RowsOfJson(json.out);
    EXPECT_GE(expected.size(), 5u);
    EXPECT_EQ(RowsOfPdf(work.path() / "calc.txt"), expected);
    fs::remove(work.path() / "wall.tq4d");
  }
}

TEST(ReportCommand, BringsStaleOutputsUpToDateAndWritesBothForms) {
  ScratchFolder work;
  CopyExample(work, "examples/anchored-wall-tieback.tq4d");
  // No outputs yet: the run writes them.
  Outcome o = runTerraq("report --out calc.pdf --paper a4 wall.tq4d", work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out, "Wrote the calculation package calc.pdf\n");
  EXPECT_EQ(ReadFile(work.path() / "calc.pdf").substr(0, 5), "%PDF-");
  ASSERT_TRUE(fs::exists(work.path() / "wall.tq4o") && fs::exists(work.path() / "wall.tq4p"));
  // Up to date: left alone. A data file changed after them: run again.
  const auto written = fs::last_write_time(work.path() / "wall.tq4p");
  o = runTerraq("report --out calc.html wall.tq4d", work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(fs::last_write_time(work.path() / "wall.tq4p"), written);
  EXPECT_TRUE(contains(ReadFile(work.path() / "calc.html"), "<svg"));
  fs::last_write_time(work.path() / "wall.tq4d", written + std::chrono::seconds(5));
  o = runTerraq("report --out calc.html wall.tq4d", work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_GT(fs::last_write_time(work.path() / "wall.tq4p"), written);
}

TEST(ReportCommand, AStoppedAnalysisGivesThePackageOfItsInputsWithStatusOne) {
  ScratchFolder work;
  const fs::path data = CopyExample(work, "examples/anchored-wall-tieback.tq4d");
  // The wall's stiffness row runs past the last station: an error stop.
  std::string text = ReadFile(data);
  text.replace(text.find("0\t120\t1\t63000"), 14, "0\t900\t1\t63000");
  WriteFile(data, text);
  const Outcome o = runTerraq("report --out calc.pdf wall.tq4d", work.path());
  EXPECT_EQ(o.status, 1) << o.err;
  EXPECT_TRUE(contains(o.err, "the package gives the inputs and why")) << o.err;
  EXPECT_EQ(ReadFile(work.path() / "calc.pdf").substr(0, 5), "%PDF-");
}

TEST(ReportCommand, RefusalsKeepTheEarlierPackage) {
  ScratchFolder work;
  CopyExample(work, "examples/anchored-wall-tieback.tq4d");
  Outcome o = runTerraq("report wall.tq4d", work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "report needs --out FILE")) << o.err;
  o = runTerraq("report --out calc.docx wall.tq4d", work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "the package must end in .pdf or .html")) << o.err;
  o = runTerraq("report --paper a3 --out calc.pdf wall.tq4d", work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "--paper a3 is refused for report: a4 or letter")) << o.err;
  // The package never replaces the data file, under any name.
  fs::create_symlink("wall.tq4d", work.path() / "link.pdf");
  o = runTerraq("report --out link.pdf wall.tq4d", work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "it is the same file as")) << o.err;
  o = runTerraq("report --out calc.pdf missing.tq4d", work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "cannot find the data file")) << o.err;

  // A write cut short by the file-size limit leaves the earlier package
  // whole, and no temporary file beside it.
  WriteFile(work.path() / "calc.pdf", "the earlier package");
  ASSERT_EQ(runTerraq("run wall.tq4d", work.path()).status, 0);
  o = runTerraq("report --out calc.pdf wall.tq4d", work.path(), "ulimit -f 8;");
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "cannot write")) << o.err;
  EXPECT_EQ(ReadFile(work.path() / "calc.pdf"), "the earlier package");
  for (const auto& entry : fs::directory_iterator(work.path()))
    EXPECT_EQ(entry.path().filename().string().find(".calc.pdf"), std::string::npos)
        << entry.path();
}

}  // namespace
