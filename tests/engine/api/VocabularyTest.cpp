// The domain vocabulary of the engine's API against the engine itself: every
// model's parameters stand where the engine's reader and generators take
// them from, and the units convert and print as engineers know them.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "api/SoilModelTable.h"
#include "api/Units.h"
#include "soil/SoilProfile.h"

namespace terraq::engine {
namespace {

using api::Quantity;
using api::UnitsSystem;

// Where the data file's layer line holds each parameter (the data file's
// description: unit weight, cohesion or strength, friction angle, E50 or
// krm, k or modulus, RQD), and what the engine's soil profile took from it
// by the parameter's meaning (a rock's strength as c, a weak rock's krm as
// e50 and its modulus as k).
struct Field {
  size_t position;
  double (*read)(const SoilProfile&);
};
const std::map<std::string_view, Field>& Fields() {
  static const std::map<std::string_view, Field> kFields{
      {"gamma", {0, [](const SoilProfile& s) { return s.weights.front().weight; }}},
      {"su", {1, [](const SoilProfile& s) { return s.strength.front().c; }}},
      {"c", {1, [](const SoilProfile& s) { return s.strength.front().c; }}},
      {"qu", {1, [](const SoilProfile& s) { return s.strength.front().c; }}},
      {"phi", {2, [](const SoilProfile& s) { return s.strength.front().phi * 180 / 3.1416; }}},
      {"e50", {3, [](const SoilProfile& s) { return s.strength.front().e50; }}},
      {"krm", {3, [](const SoilProfile& s) { return s.strength.front().e50; }}},
      {"k", {4, [](const SoilProfile& s) { return s.layer(1).k; }}},
      {"em", {4, [](const SoilProfile& s) { return s.layer(1).k; }}},
      {"rqd", {5, [](const SoilProfile& s) { return s.strength.front().sixth; }}},
  };
  return kFields;
}

// A layer line of distinct values 11, 22, ... 66 read by the engine gives
// each parameter the value at its position, for every model; the model is
// the code's, and only sand and silt drain.
TEST(SoilVocabulary, EveryParameterIsWhereTheEngineReadsIt) {
  ASSERT_EQ(api::SoilModels().size(), 7u);
  for (const api::SoilModelInfo& model : api::SoilModels()) {
    SoilLayerInput layer;
    layer.code = model.code();
    layer.bottom = 600;
    layer.top = layer.base = {11, 22, 33, 44, 55, 66};
    const SoilProfile profile = BuildSoilProfile({layer}, ProfileInput{100, 1e6, 0.036, 400, 10});
    EXPECT_EQ(profile.layer(1).model, model.model);
    EXPECT_EQ(model.drained, model.code() == 4 || model.code() == 5) << model.name;
    std::set<size_t> positions;
    for (const api::SoilParameter& p : model.parameters) {
      EXPECT_TRUE(positions.insert(p.position).second) << model.name << " " << p.key;
      const auto field = Fields().find(p.key);
      ASSERT_NE(field, Fields().end()) << p.key;
      EXPECT_EQ(p.position, field->second.position) << p.key;
      EXPECT_NEAR(field->second.read(profile), 11.0 * (field->second.position + 1), 1e-3)
          << model.name << " " << p.key;
      EXPECT_EQ(model.at(p.position), &p);
    }
  }
  EXPECT_EQ(api::FindSoilModel(8), nullptr);
  EXPECT_EQ(api::GeneratedModelOf(0).model, api::SoilModel::SoftClay);
  // Silt's line holds its cohesion before its friction angle; its table
  // the other way round.
  const api::SoilModelInfo& silt = api::InfoOf(api::SoilModel::Silt);
  EXPECT_EQ(silt.parameters[1].key, "phi");
  EXPECT_EQ(silt.inLineOrder()[1]->key, "c");
}

// Conversions against the definitions (1 in = 25.4 mm, 1 lbf = 4.4482216 N)
// worked by hand, the labels the program and the command print, and values
// that come back from a round trip.
TEST(UnitsVocabulary, FactorsAndLabelsOfEverySystem) {
  const struct {
    Quantity q;
    double kNAndMetres;  // one English unit in kN and m
    const char *english, *si;
  } kCases[] = {
      {Quantity::Length, 0.0254, "in", "m"},
      {Quantity::LargeLength, 0.3048, "ft", "m"},
      {Quantity::Force, 4.4482216e-3, "lbs", "kN"},
      {Quantity::Moment, 1.1298483e-4, "lbs-in", "kN-m"},
      {Quantity::MomentPerLength, 4.4482216e-3, "lbs-in/in", "kN-m/m"},
      {Quantity::ForcePerLength, 0.17512685, "lbs/in", "kN/m"},
      {Quantity::Pressure, 6.8947573, "lbs/in^2", "kN/m^2"},
      {Quantity::UnitWeight, 271.44712, "lbs/in^3", "kN/m^3"},
      {Quantity::FlexuralRigidity, 2.8698147e-6, "lbs-in^2", "kN-m^2"},
      {Quantity::Area, 6.4516e-4, "in^2", "m^2"},
      {Quantity::Angle, 1, "deg", "deg"},
  };
  for (const auto& c : kCases) {
    const api::Unit english = api::UnitOf(c.q, UnitsSystem::English);
    EXPECT_NEAR(english.toSI / c.kNAndMetres, 1.0, 1e-7) << english.label;
    EXPECT_EQ(english.label, c.english);
    EXPECT_EQ(api::UnitLabel(c.q, 2), c.si);
    EXPECT_DOUBLE_EQ(api::ConversionFactor(c.q, 1, 2), english.toSI);
    EXPECT_DOUBLE_EQ(api::ConvertValue(api::ConvertValue(37.5, c.q, 1, 2), c.q, 2, 1), 37.5);
    // Generic units convert to nothing.
    EXPECT_EQ(api::ConvertValue(37.5, c.q, 1, 3), 37.5);
  }
  EXPECT_EQ(api::UnitLabel(Quantity::Pressure, 3), "F/L^2");
  EXPECT_EQ(api::UnitLabel(Quantity::Moment, 0), "F-L");
  EXPECT_DOUBLE_EQ(api::UnitOf(Quantity::SmallLength, UnitsSystem::SI).toSI, 1e-3);
  EXPECT_EQ(api::PrintedLabel(Quantity::UnitWeight, 2), "kN/m\u00b3");
}

}  // namespace
}  // namespace terraq::engine
