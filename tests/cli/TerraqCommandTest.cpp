// The terraq program, run as a separate process: exit statuses, the files it
// leaves, the text summary and the JSON for scripts.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <variant>
#include <vector>

#include "CliTestFiles.h"
#include "CommandRunner.h"

using namespace terraq::test;

namespace {

// Just enough JSON to check what the program prints: a strict parser that
// fails on anything malformed.
struct Json {
  std::variant<std::nullptr_t, bool, double, std::string, std::vector<Json>, std::map<std::string, Json>> v;
  const Json& operator[](const std::string& key) const { return std::get<std::map<std::string, Json>>(v).at(key); }
  const Json& operator[](size_t k) const { return std::get<std::vector<Json>>(v).at(k); }
  size_t size() const { return std::get<std::vector<Json>>(v).size(); }
  double num() const { return std::get<double>(v); }
  const std::string& str() const { return std::get<std::string>(v); }
  bool isNull() const { return std::holds_alternative<std::nullptr_t>(v); }
};

class JsonParser {
 public:
  explicit JsonParser(const std::string& t) : t_(t) {}
  Json document() {
    Json j = value();
    space();
    if (k_ != t_.size()) throw std::runtime_error("text after the JSON value");
    return j;
  }

 private:
  void space() {
    while (k_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[k_]))) ++k_;
  }
  bool eat(char c) {
    space();
    if (k_ < t_.size() && t_[k_] == c) return ++k_, true;
    return false;
  }
  void expect(char c) {
    if (!eat(c)) throw std::runtime_error(std::string("expected ") + c + " at " + std::to_string(k_));
  }
  bool word(const char* w) {
    const std::string s(w);
    if (t_.compare(k_, s.size(), s) != 0) return false;
    k_ += s.size();
    return true;
  }
  std::string string() {
    expect('"');
    std::string s;
    while (k_ < t_.size() && t_[k_] != '"') {
      char c = t_[k_++];
      if (static_cast<unsigned char>(c) < 0x20) throw std::runtime_error("raw control character");
      if (c == '\\') {
        const char e = t_.at(k_++);
        const std::string simple = "\"\\/bfnrt", meant = "\"\\/\b\f\n\r\t";
        if (e == 'u') {
          s += static_cast<char>(std::stoi(t_.substr(k_, 4), nullptr, 16));  // ASCII escapes only
          k_ += 4;
          continue;
        }
        if (simple.find(e) == std::string::npos) throw std::runtime_error("bad escape");
        c = meant[simple.find(e)];
      }
      s += c;
    }
    expect('"');
    return s;
  }
  Json value() {
    space();
    if (k_ >= t_.size()) throw std::runtime_error("unexpected end");
    const char c = t_[k_];
    if (c == '{') {
      ++k_;
      std::map<std::string, Json> m;
      if (!eat('}')) {
        do {
          space();
          std::string key = string();
          expect(':');
          m[key] = value();
        } while (eat(','));
        expect('}');
      }
      return Json{m};
    }
    if (c == '[') {
      ++k_;
      std::vector<Json> a;
      if (!eat(']')) {
        do a.push_back(value());
        while (eat(','));
        expect(']');
      }
      return Json{a};
    }
    if (c == '"') return Json{string()};
    if (word("null")) return Json{nullptr};
    if (word("true")) return Json{true};
    if (word("false")) return Json{false};
    size_t used = 0;
    const double d = std::stod(t_.substr(k_), &used);
    k_ += used;
    return Json{d};
  }
  const std::string& t_;
  size_t k_ = 0;
};

Json parseJson(const std::string& text) { return JsonParser(text).document(); }

}  // namespace

TEST(TerraqCommand, RunLeavesTheOutputsBesideTheDataAndPrintsTheSummary) {
  ScratchFolder work, data, tmp;
  data.copy("cli-cantilever.tq4d", "wall.tq4d");
  const Outcome o = runTerraq("run " + quoted((data.path() / "wall.tq4d").string()), work.path(),
                              "TMPDIR=" + quoted(tmp.path().string()));
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.err, "");
  EXPECT_TRUE(contains(o.out, "Cantilever with a point load at the top")) << o.out;
  EXPECT_TRUE(contains(o.out, "closed after 2 iterations")) << o.out;
  EXPECT_TRUE(contains(o.out, "max deflection")) << o.out;
  EXPECT_TRUE(contains(o.out, "lbs-in")) << o.out;
  for (const char* name : {"wall.tq4o", "wall.tq4p", "wall.tq4r"}) EXPECT_TRUE(fs::exists(data.path() / name));
  // Neither the data folder, the folder the program ran in, nor the
  // temporary folder keeps anything else.
  EXPECT_EQ(std::distance(fs::directory_iterator(data.path()), fs::directory_iterator()), 4);
  EXPECT_TRUE(fs::is_empty(work.path()));
  EXPECT_TRUE(fs::is_empty(tmp.path()));
}

TEST(TerraqCommand, JsonCarriesTheSummaryForScripts) {
  ScratchFolder work;
  // A title with the characters JSON must escape.
  std::string text = ReadFile(TestData("cli-long-term.tq4d"));
  text.replace(0, text.find('\n'), "Wall \"B-7\" \\ north\tside");
  std::ofstream(work.path() / "b7.tq4d", std::ios::binary) << text;

  const Outcome o = runTerraq("run --json b7.tq4d", work.path());
  EXPECT_EQ(o.status, 0) << o.err;
  Json j;
  ASSERT_NO_THROW(j = parseJson(o.out)) << o.out;
  EXPECT_TRUE(j["errorStop"].isNull());
  EXPECT_EQ(j["plotFile"].str(), (work.path() / "b7.tq4p").string());
  ASSERT_EQ(j["problems"].size(), 2u);
  const Json& shortTerm = j["problems"][0];
  const Json& longTerm = j["problems"][1];
  EXPECT_EQ(shortTerm["title"].str(), "Wall \"B-7\" \\ north\tside");
  EXPECT_EQ(shortTerm["kind"].str(), "title");
  EXPECT_EQ(longTerm["kind"].str(), "long-term");
  EXPECT_EQ(longTerm["heading"].str().rfind("Long Term :", 0), 0u);
  EXPECT_EQ(longTerm["title"].str(), shortTerm["title"].str());
  EXPECT_EQ(longTerm["units"]["moment"].str(), "lbs-in");
  EXPECT_EQ(std::get<bool>(longTerm["closed"].v), true);
  // The long-term case halves EI: the top deflection P L^3 / (3 EI) doubles.
  const double P = 1000.0, L = 480.0;
  EXPECT_NEAR(shortTerm["maxDeflection"]["value"].num(), P * L * L * L / 3e9, 0.2);
  EXPECT_NEAR(longTerm["maxDeflection"]["value"].num(), P * L * L * L / 1.5e9, 0.4);
  EXPECT_EQ(longTerm["maxDeflection"]["depth"].num(), 0.0);
}

// An anchored wall by statics: 20 increments of 18 in, held at the anchor
// (72 in) and the tip (L = 360 in), under q = 15 lbs/in and F = 4000 lbs at
// 216 in. Moments about the tip give the anchor force R = 5375 lbs; the
// shear is 72q = 1080 lbs just above the anchor and 72q - R = -4295 lbs
// just below it, the largest. The station table keeps the mean of the two
// sides there and -4025 lbs a station below.
TEST(TerraqCommand, TheLargestShearIsTheOneBesideTheAnchor) {
  ScratchFolder work;
  std::ofstream(work.path() / "anchored.tq4d", std::ios::binary)
      << "Anchored span\n1 2\t1\t0\t0\t0 0 0 0\n20 18\t100\t0.0001\t0\n1\t4\t0\t0\n1\t20\t0\t0\n"
         "0\t20\t1\t1E9\n2\n1\t0\t20\t270\t0\t0\n1\t12\t12\t4000\t0\t0\n0\n0\n";
  const double q = 15, L = 360, F = 4000;
  const double R = (q * L * (L - L / 2) + F * (L - 216)) / (L - 72);
  const Outcome o = runTerraq("run --json anchored.tq4d", work.path());
  Json j;
  ASSERT_NO_THROW(j = parseJson(o.out)) << o.out;
  const Json& p = j["problems"][0];
  for (const char* key : {"maxShear", "largestShear"}) {
    EXPECT_NEAR(p[key]["value"].num(), 72 * q - R, 0.005 * R) << key << o.out;  // three digits
    EXPECT_EQ(p[key]["depth"].num(), 72.0) << key;
  }
  EXPECT_NEAR(p["supports"][0]["force"].num(), -R, 0.005 * R);
  EXPECT_NEAR(p["supports"][0]["shearAbove"].num(), 72 * q, 0.005 * 72 * q);
}

TEST(TerraqCommand, AWallThatNothingHoldsIsShownAsNotValid) {
  ScratchFolder work;
  // The cantilever without its fixed tip: rigidity and a load, nothing else.
  std::string text = ReadFile(TestData("cli-cantilever.tq4d"));
  text.replace(text.find("1 1\t"), 4, "1 0\t");
  text.erase(text.find("3\t40\t0\t0\n"), 9);
  std::ofstream(work.path() / "loose.tq4d", std::ios::binary) << text;

  const Outcome o = runTerraq("run loose.tq4d", work.path());
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(contains(o.out, "RESULTS NOT VALID: singular equations at stations 40")) << o.out;
  EXPECT_TRUE(contains(o.err, "terraq: RESULTS NOT VALID: singular equations\n")) << o.err;
  // Scripts that must not go on ask for it.
  const Outcome strict = runTerraq("run --strict loose.tq4d", work.path());
  EXPECT_EQ(strict.status, 3) << strict.err;
  EXPECT_TRUE(contains(strict.out, "closed after")) << strict.out;
  // Its graphs say so too.
  const Outcome plot = runTerraq("plot --graph deflection --out loose.svg loose.tq4d", work.path());
  EXPECT_EQ(plot.status, 0) << plot.err;
  EXPECT_TRUE(
      contains(ReadFile(work.path() / "loose.svg"), "RESULTS NOT VALID: singular equations"));
  const Outcome json = runTerraq("run --json loose.tq4d", work.path());
  Json j;
  ASSERT_NO_THROW(j = parseJson(json.out)) << json.out;
  const Json& p = j["problems"][0];
  EXPECT_EQ(std::get<bool>(p["resultsValid"].v), false);
  ASSERT_EQ(p["zeroPivotStations"].size(), 1u);
  EXPECT_EQ(p["zeroPivotStations"][0].num(), 40.0);
  EXPECT_EQ(p["partialStiffnessStations"].size(), 0u);
}

TEST(TerraqCommand, ResultsOutOfScaleAreNotValidAndStrayNameBytesStayExact) {
  ScratchFolder work;
  // An increment length of 1e-200 inches: the moments overflow.
  std::string text = ReadFile(TestData("cli-cantilever.tq4d"));
  text.replace(text.find("40 12\t"), 6, "40 1e-200\t");
  // A name in an 8-bit code page, not UTF-8.
  const std::string name = "wall-\xFF.tq4d";
  std::ofstream(work.path() / name, std::ios::binary) << text;

  const Outcome o = runTerraq("run --json " + quoted(name), work.path());
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(contains(o.out, "wall-\\udcff.tq4d\"")) << o.out;
  EXPECT_EQ(o.out.find('\xFF'), std::string::npos);
  Json j;
  ASSERT_NO_THROW(j = parseJson(o.out)) << o.out;
  EXPECT_EQ(j["dataFile"].str(),
            (work.path() / name).string());  // the escape's low byte is the name's
  const Json& p = j["problems"][0];
  EXPECT_EQ(std::get<bool>(p["resultsValid"].v), false);
  EXPECT_TRUE(contains(p["notValidReason"].str(), "INCREMENT LENGTH")) << o.out;
  EXPECT_TRUE(contains(ReadFile(work.path() / "wall-\xFF.tq4o"),
                       "     ***** RESULTS NOT VALID: INCREMENT LENGTH"));
  const Outcome plain = runTerraq("run " + quoted(name), work.path());
  EXPECT_TRUE(contains(plain.out, "RESULTS NOT VALID: INCREMENT LENGTH")) << plain.out;
}

// The analysis's progress note no longer reaches the process's streams.
TEST(TerraqCommand, GeneratedCurvesRunWithoutTheProgressNote) {
  ScratchFolder work;
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "cantilever-sand-generated.tq4d",
                work.path() / "sand.tq4d");
  const Outcome o = runTerraq("run sand.tq4d", work.path());
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_FALSE(contains(o.out + o.err, "READ SOIL DATA")) << o.err;
}

TEST(TerraqCommand, ErrorStopExitsWithOneAndNamesTheStop) {
  ScratchFolder work;
  work.copy("cli-too-much-data.tq4d", "big.tq4d");
  const Outcome text = runTerraq("run big.tq4d", work.path());
  EXPECT_EQ(text.status, 1);
  EXPECT_TRUE(contains(text.err, "TOO MUCH DATA FOR AVAILABLE STORAGE")) << text.err;
  EXPECT_TRUE(contains(text.out, "No problem reached its results")) << text.out;

  const Outcome json = runTerraq("run big.tq4d --json", work.path());
  EXPECT_EQ(json.status, 1);
  Json j;
  ASSERT_NO_THROW(j = parseJson(json.out)) << json.out;
  EXPECT_EQ(j["errorStop"].str(), "TOO MUCH DATA FOR AVAILABLE STORAGE");
  EXPECT_EQ(j["problems"].size(), 0u);
}

TEST(TerraqCommand, UsageAndInputErrorsExitWithTwo) {
  ScratchFolder work;
  work.copy("cli-cantilever.tq4d", "wall.tq4d");
  work.copy("cli-cantilever.tq4d", "old.tqd");
  const struct {
    const char* args;
    const char* message;
  } cases[] = {
      {"", "no command"},
      {"analyse wall.tq4d", "unknown command"},
      {"run", "needs a data file"},
      {"run --fast wall.tq4d", "unknown option"},
      {"run missing.tq4d", "cannot find the data file"},
      {"run old.tqd", "use terraq convert"},
      {"run wall.tq4o", "not a .tq4d data file"},
  };
  for (const auto& c : cases) {
    const Outcome o = runTerraq(c.args, work.path());
    EXPECT_EQ(o.status, 2) << c.args;
    EXPECT_TRUE(contains(o.err, c.message)) << c.args << ": " << o.err;
    EXPECT_EQ(o.out, "") << c.args;
  }
  EXPECT_FALSE(fs::exists(work.path() / "wall.tq4o"));

  const Outcome help = runTerraq("--help", work.path());
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(contains(help.out, "Usage: terraq run"));
  const Outcome version = runTerraq("--version", work.path());
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "terraq 2013.4.7\n");
}

TEST(TerraqCommand, MissingEngineLibraryOrPlottingProgramExitsWithTwo) {
  ScratchFolder lonely;
  fs::copy_file(BinDir() / "terraq", lonely.path() / "terraq");
  lonely.copy("cli-cantilever.tq4d", "wall.tq4d");
  const Outcome o = runProgram(lonely.path() / "terraq", "run wall.tq4d", lonely.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "Library could not be located")) << o.err;
  EXPECT_TRUE(contains(o.err, (lonely.path() / "Terraq2013_DLL.so").string())) << o.err;
  EXPECT_FALSE(fs::exists(lonely.path() / "wall.tq4o"));
  EXPECT_FALSE(fs::exists(lonely.path() / "names.dat"));
  // Designs and studies analyse with the same library, never a copy of the
  // engine linked into the command: without it they stop as the run does.
  for (const char* args : {"design wall.tq4d", "study wall.tq4d --vary tip=300:360:3"}) {
    const Outcome analysis = runProgram(lonely.path() / "terraq", args, lonely.path());
    EXPECT_EQ(analysis.status, 2) << args;
    EXPECT_TRUE(contains(analysis.err, "Library could not be located"))
        << args << ": " << analysis.err;
  }
  const Outcome plot = runProgram(lonely.path() / "terraq",
                                  "plot --graph moment --out m.png wall.tq4d", lonely.path());
  EXPECT_EQ(plot.status, 2);
  EXPECT_EQ(plot.err,
            "terraq: cannot draw graphs: the plotting program terraq-plot is not installed "
            "(looked for beside " +
                (lonely.path() / "terraq-plot").string() + ")\n");
}

// Outputs of an earlier run are written in place: a report the user made
// private stays private, and stays the same file.
// The new report replaces the old one keeping what the user set up: its
// mode, and a second name (hard link) that sees the new text too.
TEST(TerraqCommand, OutputsKeepTheirLinksAndMode) {
  ScratchFolder data, work;
  data.copy("cli-cantilever.tq4d", "wall.tq4d");
  const fs::path report = data.path() / "wall.tq4o";
  std::ofstream(report) << std::string(100000, 'x');
  fs::permissions(report, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_hard_link(report, data.path() / "linked.tq4o");
  const Outcome o = runTerraq("run " + quoted((data.path() / "wall.tq4d").string()), work.path());
  EXPECT_EQ(o.status, 0) << o.err;
  struct stat after {}, linked {};
  ASSERT_EQ(stat(report.c_str(), &after), 0);
  ASSERT_EQ(stat((data.path() / "linked.tq4o").c_str(), &linked), 0);
  EXPECT_EQ(after.st_ino, linked.st_ino);
  EXPECT_EQ(after.st_mode & 07777, 0600u);
  EXPECT_LT(after.st_size, 100000);
  EXPECT_NE(ReadFile(data.path() / "linked.tq4o").find("END OF ANALYSIS"), std::string::npos);
}

// In a read-only folder whose old outputs cannot be written, the old report
// must not be summarised as this run's.
TEST(TerraqCommand, OldResultsThatCannotBeReplacedAreNotReportedAsNew) {
  ScratchFolder data, work;
  data.copy("cli-cantilever.tq4d", "wall.tq4d");
  const fs::path report = data.path() / "wall.tq4o";
  std::ofstream(report) << "an old report\n";
  fs::permissions(report, fs::perms::owner_read);
  fs::permissions(data.path(), fs::perms::owner_read | fs::perms::owner_exec);
  const bool superuser = access(report.c_str(), W_OK) == 0;  // may write anything
  const Outcome o = runTerraq("run " + quoted((data.path() / "wall.tq4d").string()), work.path());
  fs::permissions(data.path(), fs::perms::owner_all);
  if (superuser) GTEST_SKIP() << "the superuser may write a read-only file";
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "cannot write " + report.string())) << o.err;
  EXPECT_EQ(o.out, "");
  std::ifstream in(report);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "an old report\n");
}

// A folder where an output belongs is the user's, not an old output.
TEST(TerraqCommand, AFolderNamedLikeAnOutputIsLeftAlone) {
  ScratchFolder data, work;
  data.copy("cli-cantilever.tq4d", "wall.tq4d");
  fs::create_directory(data.path() / "wall.tq4p");
  const Outcome o = runTerraq("run " + quoted((data.path() / "wall.tq4d").string()), work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "cannot write " + (data.path() / "wall.tq4p").string())) << o.err;
  EXPECT_TRUE(fs::is_directory(data.path() / "wall.tq4p"));
}

// A batch of data files, two at a time: a good wall, one that ends in an
// error stop and one whose plot file cannot be written. Each file's outcome
// is told in the text and the JSON summaries, the exit status is the largest
// of theirs, the good file's outputs are written and the failed file's
// earlier outputs stay as they were.
TEST(TerraqCommand, BatchTellsEachFileAndExitsWithTheLargestStatus) {
  ScratchFolder work;
  work.copy("cli-cantilever.tq4d", "good.tq4d");
  work.copy("cli-too-much-data.tq4d", "stop.tq4d");
  work.copy("cli-cantilever.tq4d", "full.tq4d");
  std::ofstream(work.path() / "full.tq4o") << "earlier report\n";
  fs::create_symlink("/dev/full", work.path() / "full.tq4p");
  const std::string files = " good.tq4d stop.tq4d full.tq4d";

  const Outcome text = runTerraq("run --jobs 2" + files, work.path());
  EXPECT_EQ(text.status, 2) << text.err;
  const fs::path good = work.path() / "good.tq4d", stop = work.path() / "stop.tq4d",
                 full = work.path() / "full.tq4d";
  EXPECT_TRUE(contains(text.out, "Analysis of " + good.string() + "\n")) << text.out;
  EXPECT_TRUE(contains(
      text.out, "\nOutcomes:\n  0  " + good.string() + "  completed\n  1  " + stop.string() +
                    "  error stop: TOO MUCH DATA FOR AVAILABLE STORAGE\n  2  " + full.string() +
                    "  failed: cannot write " + (work.path() / "full.tq4p").string() +
                    ": No space left on device\n"))
      << text.out;
  EXPECT_TRUE(contains(text.err, "terraq: the analysis stopped: TOO MUCH DATA")) << text.err;
  EXPECT_TRUE(contains(ReadFile(work.path() / "good.tq4o"), "END OF ANALYSIS"));
  EXPECT_EQ(ReadFile(work.path() / "full.tq4o"), "earlier report\n");
  EXPECT_FALSE(fs::exists(work.path() / "full.tq4r"));

  const Outcome json = runTerraq("run --json" + files, work.path());
  EXPECT_EQ(json.status, 2);
  Json j;
  ASSERT_NO_THROW(j = parseJson(json.out)) << json.out;
  EXPECT_EQ(j["status"].num(), 2);
  ASSERT_EQ(j["runs"].size(), 3u);
  EXPECT_EQ(j["runs"][0]["dataFile"].str(), good.string());
  EXPECT_EQ(j["runs"][0]["outcome"].str(), "completed");
  EXPECT_TRUE(j["runs"][0]["reason"].isNull());
  EXPECT_EQ(j["runs"][0]["summary"]["problems"].size(), 1u);
  EXPECT_EQ(j["runs"][1]["status"].num(), 1);
  EXPECT_EQ(j["runs"][1]["summary"]["errorStop"].str(), "TOO MUCH DATA FOR AVAILABLE STORAGE");
  EXPECT_EQ(j["runs"][2]["outcome"].str(), "failed");
  EXPECT_TRUE(j["runs"][2]["summary"].isNull());
  EXPECT_EQ(ReadFile(work.path() / "full.tq4o"), "earlier report\n");
}

// Arguments that name one data file (here also by another path) run one
// after the other on its lock, never writing its outputs at once; each
// completes with whole outputs and nothing is left beside them.
TEST(TerraqCommand, BatchRunsOfOneDataFileTakeTurns) {
  ScratchFolder work;
  work.copy("cli-long-term.tq4d", "wall.tq4d");
  fs::create_directory(work.path() / "sub");
  const Outcome o = runTerraq("run --jobs 3 wall.tq4d ./wall.tq4d sub/../wall.tq4d", work.path());
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out.find("failed"), std::string::npos) << o.out;
  const std::string report = ReadFile(work.path() / "wall.tq4o");
  EXPECT_EQ(report.find("END OF ANALYSIS"), report.rfind("END OF ANALYSIS"));
  EXPECT_TRUE(contains(report, "END OF ANALYSIS"));
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(work.path())) ++files;
  EXPECT_EQ(files, 5u);  // the data file, its three outputs and sub
  EXPECT_EQ(runTerraq("run --jobs 0 wall.tq4d wall.tq4d", work.path()).status, 2);
}

// A run, a conversion and the version load no Qt library, neither at the
// start nor later: the command starts as fast as the engine allows. Drawing
// a graph loads Qt Gui, in the plotting program it hands over to.
TEST(TerraqCommand, OnlyPlotLoadsTheQtLibraries) {
  ScratchFolder work;
  work.copy("cli-cantilever.tq4d", "wall.tq4d");
  const Outcome run = runTerraq("run wall.tq4d", work.path(), "LD_DEBUG=libs");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(contains(run.err, "Terraq2013_DLL.so")) << "the loader told nothing";
  EXPECT_FALSE(contains(run.err, "libQt6")) << run.err;
  for (const char* args : {"convert wall.tq4d copy.tq4d", "--version"}) {
    const Outcome o = runTerraq(args, work.path(), "LD_DEBUG=libs");
    EXPECT_EQ(o.status, 0) << args;
    EXPECT_FALSE(contains(o.err, "libQt6")) << args;
  }
  const Outcome plot =
      runTerraq("plot --graph deflection --out wall.png wall.tq4d", work.path(), "LD_DEBUG=libs");
  EXPECT_EQ(plot.status, 0);
  EXPECT_TRUE(contains(plot.err, "libQt6Gui"));
}
