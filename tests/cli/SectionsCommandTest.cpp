// terraq sections, run as users run it: the shipped library as JSON in SI
// units, a user's file replacing a shipped row, a broken user file (file,
// line, exit 2), and a name that is not there (the nearest names, exit 1).

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "CliTestFiles.h"
#include "CommandRunner.h"

using namespace terraq::test;

namespace {

// The number after `prefix` in a JSON text (NaN when absent).
double NumberAfter(const std::string& json, const std::string& prefix) {
  const size_t at = json.find(prefix);
  return at == std::string::npos ? std::nan("") : std::stod(json.substr(at + prefix.size()));
}

}  // namespace

TEST(SectionsCommand, ListsTheLibraryAsJsonWithTheUsersRowsAndRefusesBrokenFiles) {
  ScratchFolder work;
  const fs::path config = work.path() / "config";
  fs::create_directories(config / "terraq");
  const std::string env = "XDG_CONFIG_HOME=" + quoted(config.string());

  // AZ18 of the shipped table: I 34200 cm4/m = 3.42e-4 m4/m, Wpl 2104 cm3/m.
  Outcome json = runTerraq("sections --json", work.path(), env);
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_TRUE(contains(json.out, "\"units\": {\"b\": \"m\"")) << json.out.substr(0, 200);
  EXPECT_TRUE(
      contains(json.out, "{\"name\": \"AZ18\", \"family\": \"sheet-pile-z\", \"perMetre\": true"))
      << json.out;
  const std::string az18 = json.out.substr(json.out.find("\"name\": \"AZ18\""));
  EXPECT_NEAR(NumberAfter(az18, "\"I\": "), 3.42e-4, 1e-12);
  EXPECT_NEAR(NumberAfter(az18, "\"Wpl\": "), 2.104e-3, 1e-12);
  EXPECT_NEAR(NumberAfter(json.out, "\"name\": \"S355GP\", \"fy\": "), 355e6, 1e-3);

  // The user's row replaces the shipped one, and says where it came from.
  std::ofstream(config / "terraq" / "sections.txt")
      << "family sheet-pile-z\nsource My own table\ncolumns name h[mm] I[cm4/m] Wpl[cm3/m]\nAZ18 380 30000 -\n";
  json = runTerraq("sections --json AZ18", work.path(), env);
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_NEAR(NumberAfter(json.out.substr(json.out.find("\"sections\"")), "\"I\": "), 3.0e-4,
              1e-12);
  EXPECT_TRUE(contains(json.out, "\"Wpl\": null")) << json.out;
  EXPECT_TRUE(contains(json.out, "\"source\": \"My own table\"")) << json.out;

  std::ofstream(config / "terraq" / "sections.txt")
      << "family sheet-pile-z\nsource T\ncolumns name h[furlong]\n";
  const Outcome broken = runTerraq("sections", work.path(), env);
  EXPECT_EQ(broken.status, 2);
  EXPECT_TRUE(contains(broken.err, "sections.txt line 3: unknown unit [furlong]")) << broken.err;

  fs::remove(config / "terraq" / "sections.txt");
  const Outcome missing = runTerraq("sections AZ19", work.path(), env);
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(contains(missing.err, "no section AZ19; nearest: AZ18")) << missing.err;
}
