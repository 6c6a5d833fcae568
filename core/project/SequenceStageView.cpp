#include "project/SequenceStageView.h"

#include <algorithm>
#include <charconv>

#include "Parameters.h"

namespace terraq::ui {

namespace {

// The row N of "load.N", 0 when the name is not one.
int loadRow(std::string_view name) {
  constexpr std::string_view prefix = "load.";
  if (!name.starts_with(prefix)) return 0;
  int row = 0;
  const char* end = name.data() + name.size();
  const auto [at, fault] = std::from_chars(name.data() + prefix.size(), end, row);
  return fault == std::errc() && at == end && row > 0 ? row : 0;
}

}  // namespace

SequenceStageView StageOfSequence(const SequenceStageView& before,
                                  const design::SequentialPlan& plan, int stage) {
  SequenceStageView view = before;
  view.loads.clear();
  view.supports.clear();
  const int last = std::min(stage, static_cast<int>(plan.stages.size()) - 1);
  std::vector<std::pair<std::string, bool>> inPlace;  // name, installed in this stage
  for (int k = 0; k <= last; ++k) {
    const design::ConstructionStage& s = plan.stages[static_cast<size_t>(k)];
    for (const auto& [name, value] : s.values) {
      if (name == "excavation") view.excavation = value;
      else if (name == "water.back") view.waterBack = value;
      else if (name == "water.front") view.waterFront = value;
      else if (name == "surcharge") view.surcharge = value;
      else if (const int row = loadRow(name)) {
        std::erase_if(view.loads, [row](const auto& load) { return load.first == row; });
        view.loads.emplace_back(row, value);
      }
    }
    for (const std::string& name : s.remove)
      std::erase_if(inPlace, [&](const auto& p) { return p.first == name; });
    for (const std::string& name : s.install) inPlace.emplace_back(name, k == last);
  }
  std::ranges::sort(view.loads);
  for (const auto& [name, now] : inPlace)
    for (const design::StagedSupport& s : plan.supports)
      if (s.name == name)
        view.supports.push_back({.name = s.name,
                                 .depth = s.depth,
                                 .inclination = s.inclination,
                                 .strut = s.strut,
                                 .installedNow = now});
  return view;
}

std::optional<SequenceStageView> ViewOfStage(std::string_view dataText,
                                             const design::SequentialPlan& plan, int stage) {
  std::string error;
  const std::optional<design::ParameterText> data = design::ParameterText::Parse(dataText, error);
  if (!data || stage < 0 || stage >= static_cast<int>(plan.stages.size())) return std::nullopt;
  const design::Parameter* tip = data->find("tip");
  const design::Parameter* excavation = data->find("excavation");
  if (!tip || !excavation || tip->value <= 0) return std::nullopt;
  SequenceStageView before;
  before.tip = tip->value;
  before.excavation = excavation->value;
  if (const design::Parameter* w = data->find("water.back")) before.waterBack = w->value;
  if (const design::Parameter* w = data->find("water.front")) before.waterFront = w->value;
  if (const design::Parameter* q = data->find("surcharge")) before.surcharge = q->value;
  return StageOfSequence(before, plan, stage);
}

}  // namespace terraq::ui
