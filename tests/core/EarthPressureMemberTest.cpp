// The project's earth-pressure theories: written and read back whole,
// refused with the reason when malformed; kept by a save of every member.
#include "project/EarthPressureMember.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "project/JsonText.h"
#include "project/ProjectMembers.h"

namespace terraq::ui {
namespace {

namespace fs = std::filesystem;
using engine::api::EarthPressureMethod;

std::optional<engine::api::EarthPressureOptions> Read(std::string_view member, std::string& error) {
  ProjectFile project;
  std::optional<JsonValue> value = ParseJson(member, error);
  if (!value) return std::nullopt;
  project.set(kEarthPressureMember, *value);
  return ReadEarthPressure(project, error);
}

TEST(EarthPressureMember, RoundTripsAndRefusesWhatNoWallHas) {
  std::string error;
  const auto read = Read(R"({"backfill": {"theory": "coulomb", "wallFriction": 0.67},
      "excavation": {"theory": "log-spiral", "wallFriction": 0.5},
      "layers": [{"backfillDelta": 20}, {}, {"excavationDelta": 12.5}]})",
                         error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(read->backfill, (engine::api::FaceTheory{EarthPressureMethod::Coulomb, 0.67}));
  EXPECT_EQ(read->layers.size(), 3u);
  EXPECT_EQ(read->layers[2].excavationDelta, 12.5);
  EXPECT_EQ(EarthPressureWords(read),
            "backfill Coulomb with delta/phi' 0.67, excavation Log-spiral with delta/phi' 0.5, "
            "own delta in layers 1, 3");

  // Saved with the other members beside a data file and read back the same.
  const fs::path folder = fs::temp_directory_path() / ("terraq-ep-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path data = folder / "wall.tq4d";
  ProjectMembers members;
  members.earthPressure = read;
  EXPECT_TRUE(SaveProjectMembers(data, members, 2).empty());
  MembersFault fault;
  EXPECT_EQ(ReadProjectMembers(data, 2, fault).earthPressure, read) << fault.reason;
  fs::remove_all(folder);

  const struct {
    const char* member;
    const char* says;
  } malformed[] = {
      {R"({"backfill": {"theory": "jaky"}})", R"("theory" must be "rankine", "coulomb" or)"},
      {R"({"backfill": {"wallFriction": 0.5}})", "Rankine's theory assumes a smooth wall"},
      {R"({"excavation": {"theory": "coulomb", "wallFriction": 1.2}})",
       "between 0 and the friction angle (δ/φ' from 0 to 1, not 1.2)"},
      {R"({"backfill": {"theory": "coulomb"}, "layers": [{}, {"backfillDelta": -5}]})",
       "layer 2, backfill: the wall friction angle must lie between 0° and 60°, not -5"},
      {R"({"layers": [{"delta": 5}]})", R"("delta" is not a key this version knows)"},
  };
  for (const auto& m : malformed) {
    EXPECT_FALSE(Read(m.member, error)) << m.member;
    EXPECT_NE(error.find(m.says), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace terraq::ui
