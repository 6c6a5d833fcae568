#include "DesignSituationsRun.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>

#include "CommandDeclarations.h"
#include "CommandLine.h"
#include "DesignSituationsGround.h"
#include "ProjectSoilModel.h"
#include "SeismicFace.h"
#include "SummaryOutput.h"
#include "UltimateCheckSummary.h"
#include "WallText.h"
#include "project/FactorSetsMember.h"
#include "project/JsonText.h"
#include "project/ProjectDesignSituations.h"
#include "project/ProjectMembers.h"
#include "project/RunSummary.h"
#include "project/SequentialRun.h"
#include "project/TWordReader.h"

namespace terraq::cli {

namespace {

using design::EnvelopeProblem;
using design::Governed;
using design::SituationResult;

std::string Number(double value) { return ui::SummaryNumberText(value); }

std::string Json(const Governed& g, bool withSet) {
  std::string out =
      "{\"value\": " + Number(g.value) + ", \"depth\": " + Number(ui::AsPlotField(g.depth));
  if (withSet) out += ", \"set\": " + ui::JsonString(g.set);
  return out + "}";
}

std::string Json(const std::optional<Governed>& g) { return g ? Json(*g, true) : "null"; }

std::string Supports(const std::vector<design::SupportEffect>& supports, bool withSet) {
  std::string out = "[";
  for (size_t k = 0; k < supports.size(); ++k) {
    const design::SupportEffect& s = supports[k];
    out += std::string(k ? ", " : "") + "{\"station\": " + std::to_string(s.station) +
           ", \"depth\": " + Number(ui::AsPlotField(s.depth)) + ", \"force\": " + Number(s.force);
    if (withSet) out += ", \"set\": " + ui::JsonString(s.set);
    out += "}";
  }
  return out + "]";
}

// A construction sequence's supports: the design force along one support,
// with the set and stage that give it in the envelope.
std::string Supports(const std::vector<design::NamedSupportEffect>& supports, bool envelope) {
  std::string out = "[";
  for (size_t k = 0; k < supports.size(); ++k) {
    const design::NamedSupportEffect& s = supports[k];
    out += std::string(k ? ", " : "") + "{\"name\": " + ui::JsonString(s.name) +
           ", \"depth\": " + Number(ui::AsPlotField(s.depth)) + ", \"force\": " + Number(s.force);
    if (envelope)
      out += ", \"set\": " + ui::JsonString(s.set) + ", \"stage\": " + std::to_string(s.stage);
    out += "}";
  }
  return out + "]";
}

std::string Strings(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t k = 0; k < items.size(); ++k) out += (k ? ", " : "") + ui::JsonString(items[k]);
  return out + "]";
}

std::string Text(const Governed& g, const std::string& unit, const std::string& length) {
  return FourDigits(g.value) + " " + unit + " at " + FourDigits(g.depth) + " " + length;
}

std::string Listed(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ", ") + name;
  return out;
}

// The site's shaking of --kh, --kv and --seismic on every seismic set of
// `sets`; the refusal's status when they are given without one, since a
// static set taking them silently would be the wrong design.
int ShakeSets(const SituationsRequest& request, std::vector<design::FactorSet>& sets) {
  bool seismic = false;
  for (design::FactorSet& set : sets) {
    if (!set.seismic) continue;
    seismic = true;
    if (request.kh) set.seismic->kh = *request.kh;
    if (request.kv) set.seismic->kv = *request.kv;
    if (request.seismicMethod) set.seismic->method = *request.seismicMethod;
  }
  if (!request.asksShaking() || seismic) return kExitOk;
  return CommandUsageError(kRunCommand,
                           "--kh, --kv and --seismic are for a seismic set: SEISMIC, LRFD-EE1 or "
                           "one the project keeps");
}

// The sets `request` names ("all": every shipped static one), its factors set in
// each; the refusal's status when a name is no set's.
int ChooseSets(const SituationsRequest& request, const std::vector<design::FactorSet>& projectSets,
               std::vector<design::FactorSet>& sets) {
  for (const std::string& name : request.names) {
    if (name == "all") {
      sets.insert(sets.end(), design::StandardFactorSets().begin(),
                  design::StandardFactorSets().end());
      continue;
    }
    const std::optional<design::FactorSet> set = ui::FindFactorSet(projectSets, name);
    if (!set) {
      std::string names;
      for (const design::FactorSet& s : projectSets) names += s.name + ", ";
      for (const design::FactorSet& s : design::ShippedFactorSets()) names += s.name + ", ";
      return RefuseValue(
          kRunCommand, "--design-approach", name,
          "no set of partial factors is named " + name + "; the sets: " + names + "all");
    }
    sets.push_back(*set);
  }
  for (design::FactorSet& set : sets)
    for (const auto& [symbol, value] : request.factors) *design::FactorOf(set, symbol) = value;
  return ShakeSets(request, sets);
}

}  // namespace

bool AddSituationNames(std::string_view value, SituationsRequest& request, std::string& error) {
  size_t start = 0;
  while (start <= value.size()) {
    const size_t comma = std::min(value.find(',', start), value.size());
    std::string name(value.substr(start, comma - start));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    while (!name.empty() && name.front() == ' ') name.erase(0, 1);
    if (name.empty()) {
      error =
          "--design-approach needs set names: DA1-1, DA1-2, DA2, DA3, SLS, LRFD, all, or a "
          "set of the project";
      return false;
    }
    request.names.push_back(name);
    start = comma + 1;
  }
  return true;
}

bool AddFactor(std::string_view value, SituationsRequest& request, std::string& error) {
  const size_t equals = value.find('=');
  const std::string symbol(value.substr(0, equals));
  double number = 0;
  const auto& ground = design::GroundFactorSymbols();
  const bool known = std::find(design::FactorSymbols().begin(), design::FactorSymbols().end(),
                               symbol) != design::FactorSymbols().end() ||
                     std::find(ground.begin(), ground.end(), symbol) != ground.end();
  if (equals != std::string_view::npos) {
    const std::string_view text = value.substr(equals + 1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc() || end != text.data() + text.size()) number = std::nan("");
  }
  if (!known || equals == std::string_view::npos || !(std::isfinite(number) && number > 0)) {
    std::string symbols;
    for (std::string_view s : design::FactorSymbols())
      symbols += (symbols.empty() ? "" : ", ") + std::string(s);
    error = "--factor needs SYMBOL=VALUE with a value above 0 and a symbol of " + symbols;
    return false;
  }
  request.factors.emplace_back(symbol, number);
  return true;
}

std::string SituationsText(const std::string& dataFile, const std::vector<SituationResult>& results,
                           const std::vector<EnvelopeProblem>& envelope, int unitsCode) {
  const ui::ResultUnits u = ui::ResultUnitsFor(unitsCode);
  std::string out = "Design situations of " + dataFile + "\n";
  for (const SituationResult& r : results) {
    out += "\n" + r.set.name + (r.set.description.empty() ? "" : "  " + r.set.description) + "\n ";
    for (std::string_view symbol : design::FactorSymbols())
      out += " " + std::string(symbol) + " " + FourDigits(design::FactorOf(r.set, symbol));
    out += "\n";
    if (r.set.seismic) out += "  seismic: " + design::SeismicWords(*r.set.seismic) + "\n";
    if (!r.error.empty()) {
      out += "  not analysed: " + r.error + "\n";
      continue;
    }
    for (const std::string& note : r.data.notes) out += "  note: " + note + "\n";
    // The design soil of the first problem (a staged project's stages share
    // their soil), what the set changed.
    for (const design::DesignSoilValue& v : r.data.soil)
      if (v.problem == 1 && v.design != v.characteristic)
        out += "  layer " + std::to_string(v.layer) + " " + v.name + " " +
               FourDigits(v.characteristic) + " -> " + FourDigits(v.design) + "\n";
    for (size_t k = 0; k < r.problems.size(); ++k) {
      const design::SituationProblem& p = r.problems[k];
      out += "  " + std::to_string(k + 1) + "  ";
      if (!p.valid) {
        out += "results not valid: " + p.fault + "\n";
        continue;
      }
      out += "moment " + Text(p.moment, u.moment, u.length) + ", shear " +
             Text(p.shear, u.force, u.length) + ", top deflection " +
             FourDigits(p.topDeflection.value) + " " + u.length;
      if (k < r.data.excavationAdded.size() && r.data.excavationAdded[k] > 0)
        out += ", excavation " + FourDigits(r.data.excavationAdded[k]) + " " + u.length + " deeper";
      if (k < r.stageNames.size()) out += " (" + r.stageNames[k] + ")";
      out += "\n";
      for (const design::NamedSupportEffect& s : p.sequenceSupports)
        out += "     " + s.name + " " + FourDigits(s.force) + " " + u.force + " along it\n";
    }
  }
  out += "\nEnvelope (design effects, the set that governs)\n";
  // The largest of the other sets is not the envelope: said before the
  // numbers, so that nobody takes them for it.
  if (!design::EnvelopeValid(envelope))
    out += "  NOT VALID: " +
           (envelope.empty() ? std::string("no set has results")
                             : "ultimate sets left out: " + Listed(design::SetsLeftOut(envelope))) +
           "\n";
  for (size_t k = 0; k < envelope.size(); ++k) {
    const EnvelopeProblem& e = envelope[k];
    out += "  " + std::to_string(k + 1) + "  ";
    if (!e.checked) {
      out += "no ultimate set has valid results\n";
    } else {
      if (!e.valid) out += "NOT VALID, without " + Listed(e.leftOut) + ": ";
      out += "moment " + Text(e.moment, u.moment, u.length) + " (" + e.moment.set + "), shear " +
             Text(e.shear, u.force, u.length) + " (" + e.shear.set + ")\n";
      for (const design::SupportEffect& s : e.supports)
        out += "     support force " + FourDigits(s.force) + " " + u.force + " at " +
               FourDigits(s.depth) + " " + u.length + " (" + s.set + ")\n";
    }
    if (e.topDeflection)
      out += "     top deflection " + FourDigits(e.topDeflection->value) + " " + u.length +
             ", largest " + Text(*e.deflection, u.length, u.length) + " (" + e.deflection->set +
             ")\n";
    for (const std::string& why : e.invalid) out += "     not in the envelope: " + why + "\n";
  }
  for (const design::NamedSupportEffect& s : design::SupportEnvelopeOf(results))
    out += "  " + s.name + ": design force " + FourDigits(s.force) + " " + u.force + " along it (" +
           s.set + ", stage " + std::to_string(s.stage) + ")\n";
  return out;
}

namespace {

// A set's factors and switches: "factors": {...}, "unplannedExcavation",
// "serviceability", and "seismic" for a seismic situation only (the static
// sets' lines stay as they were).
std::string FactorsJson(const design::FactorSet& set) {
  std::string out = "\"factors\": {";
  bool first = true;
  for (std::string_view symbol : design::FactorSymbols()) {
    out += std::string(first ? "" : ", ") + "\"" + std::string(symbol) +
           "\": " + Number(design::FactorOf(set, symbol));
    first = false;
  }
  out += "}, \"unplannedExcavation\": " + std::string(set.unplannedExcavation ? "true" : "false");
  out += ", \"serviceability\": " + std::string(set.serviceability ? "true" : "false");
  if (const auto& seismic = set.seismic)
    out += ", \"seismic\": {\"method\": " +
           ui::JsonString(std::string(engine::api::SeismicMethodOf(seismic->method).key)) +
           ", \"kh\": " + Number(seismic->kh) + ", \"kv\": " + Number(seismic->kv) + "}";
  return out;
}

}  // namespace

std::string SituationsJson(const std::string& dataFile, const std::vector<SituationResult>& results,
                           const std::vector<EnvelopeProblem>& envelope, int unitsCode,
                           std::string_view sectionCheck, bool subgrade,
                           std::string_view groundChecks) {
  const ui::ResultUnits u = ui::ResultUnitsFor(unitsCode);
  std::string out = "{\n  \"dataFile\": " + ui::JsonString(dataFile) + ",\n";
  out += "  \"units\": {\"code\": " + std::to_string(unitsCode) +
         ", \"length\": " + ui::JsonString(u.length) + ", \"force\": " + ui::JsonString(u.force) +
         ", \"moment\": " + ui::JsonString(u.moment) + "},\n";
  if (subgrade) out += "  \"soilModel\": \"subgrade\",\n";
  // Whether the envelope below is one: false when an ultimate set is left
  // out of any problem's.
  out += "  \"envelopeValid\": " + std::string(design::EnvelopeValid(envelope) ? "true" : "false") +
         ", \"setsLeftOut\": " + Strings(design::SetsLeftOut(envelope)) + ",\n";
  out += "  \"designSituations\": [";
  for (size_t i = 0; i < results.size(); ++i) {
    const SituationResult& r = results[i];
    out += std::string(i ? ",\n" : "\n") + "    {\"name\": " + ui::JsonString(r.set.name) +
           ", \"description\": " + ui::JsonString(r.set.description) + ",\n     " +
           FactorsJson(r.set);
    out += ",\n     \"error\": " + (r.error.empty() ? "null" : ui::JsonString(r.error));
    out += ", \"notes\": " + Strings(r.data.notes) + ",\n     \"designSoil\": [";
    for (size_t k = 0; k < r.data.soil.size(); ++k) {
      const design::DesignSoilValue& v = r.data.soil[k];
      out += std::string(k ? ", " : "") + "{\"problem\": " + std::to_string(v.problem) +
             ", \"layer\": " + std::to_string(v.layer) + ", \"name\": " + ui::JsonString(v.name) +
             ", \"characteristic\": " + Number(v.characteristic) +
             ", \"design\": " + Number(v.design) + "}";
    }
    out += "], ";
    // A construction sequence's stages; the layout without one is unchanged.
    const bool sequence = !r.stageNames.empty();
    if (sequence) out += "\"stages\": " + Strings(r.stageNames) + ", ";
    out += "\"problems\": [";
    for (size_t k = 0; k < r.problems.size(); ++k) {
      const design::SituationProblem& p = r.problems[k];
      out += std::string(k ? "," : "") + "\n       {\"number\": " + std::to_string(k + 1) +
             ", \"valid\": " + (p.valid ? "true" : "false") +
             ", \"fault\": " + (p.valid ? "null" : ui::JsonString(p.fault)) +
             ", \"excavationAdded\": " +
             Number(k < r.data.excavationAdded.size() ? r.data.excavationAdded[k] : 0) +
             ",\n        \"designMoment\": " + Json(p.moment, false) +
             ", \"designShear\": " + Json(p.shear, false) +
             ",\n        \"supports\": " + Supports(p.supports, false) +
             ",\n        \"topDeflection\": " + Json(p.topDeflection, false) +
             ", \"maxDeflection\": " + Json(p.deflection, false);
      if (sequence) out += ",\n        \"supportForces\": " + Supports(p.sequenceSupports, false);
      out += "}";
    }
    out += r.problems.empty() ? "]}" : "]}";
  }
  out += "\n  ],\n  \"envelope\": [";
  for (size_t k = 0; k < envelope.size(); ++k) {
    const EnvelopeProblem& e = envelope[k];
    out += std::string(k ? "," : "") + "\n    {\"number\": " + std::to_string(k + 1) +
           ", \"checked\": " + (e.checked ? "true" : "false") +
           ", \"valid\": " + (e.valid ? "true" : "false") + ", \"leftOut\": " + Strings(e.leftOut);
    out += ",\n     \"designMoment\": " + (e.checked ? Json(e.moment, true) : "null");
    out += ", \"designShear\": " + (e.checked ? Json(e.shear, true) : "null");
    out += ",\n     \"supports\": " + Supports(e.supports, true);
    out += ",\n     \"topDeflection\": " + Json(e.topDeflection) +
           ", \"maxDeflection\": " + Json(e.deflection);
    out += ", \"notInEnvelope\": " + Strings(e.invalid) + "}";
  }
  out += envelope.empty() ? "]" : "\n  ]";
  if (std::any_of(results.begin(), results.end(),
                  [](const SituationResult& r) { return !r.stageNames.empty(); }))
    out += ",\n  \"supportForces\": " + Supports(design::SupportEnvelopeOf(results), true);
  if (!groundChecks.empty()) out += ",\n  \"groundChecks\": " + std::string(groundChecks);
  if (!sectionCheck.empty()) out += ",\n  \"sectionCheck\": " + std::string(sectionCheck);
  return out + "\n}\n";
}

int RunDesignSituationsCommand(const std::string& dataFile, const SituationsRequest& request,
                               bool json, bool strict, const ui::SectionInUse* section) {
  std::string text;
  try {
    text = ui::ReadWholeFile(dataFile);
  } catch (const ui::EInOutError& e) {
    return fail(e.what());
  }
  std::string error;
  // The wall analysed with the section it is checked with, as `run --section`.
  std::optional<ui::SectionedData> sectioned;
  if (section) {
    sectioned = ui::ApplyWallSection(text, *section, error);
    if (!sectioned) return fail(dataFile + ": " + error);
    text = sectioned->text;
  }
  // The project as the program has it: a construction sequence is analysed
  // stage by stage with each set, and the project's own sets come by name
  // before the shipped ones.
  ui::MembersFault fault;
  const ui::ProjectMembers members = ui::ReadProjectMembers(
      dataFile, [&text] { return ui::DataTextUnits(text); }, fault);
  if (fault.part != ui::MembersFault::Part::None) return fail(fault.reason);
  const std::optional<design::SequentialPlan> sequence = members.StagedSequence();
  std::vector<design::FactorSet> sets;
  if (const int refused = ChooseSets(request, members.FactorSets(), sets); refused != kExitOk)
    return refused;
  design::SituationOptions options = request.options;
  const std::optional<design::SoilModel> soil = ProjectSoilModel(dataFile, text, error);
  if (!soil) return fail(error);
  options.soil = *soil;
  const std::vector<SituationResult> results =
      design::RunDesignSituations(text, sets, options, sequence ? &*sequence : nullptr);
  int status = kExitOk;
  for (const SituationResult& r : results) {
    if (r.error.empty()) continue;
    std::cerr << "terraq: " << r.error << "\n";
    status = r.problems.empty() && r.data.text.empty() ? kExitUsage : kExitErrorStop;
  }
  if (status == kExitUsage) return status;
  std::optional<std::vector<design::WallText>> walls = design::WallText::ParseAll(text, error);
  const int units = walls && !walls->empty() ? walls->front().units() : 0;
  const std::vector<EnvelopeProblem> envelope = design::EnvelopeOf(results);
  for (size_t k = 0; k < envelope.size(); ++k)
    for (const std::string& why : envelope[k].invalid)
      std::cerr << "terraq: problem " << k + 1 << " of " << why << "\n";
  if (!design::EnvelopeValid(envelope)) {
    const std::vector<std::string> leftOut = design::SetsLeftOut(envelope);
    std::cerr << "terraq: the envelope is not valid: "
              << (leftOut.empty() ? std::string("no ultimate set has results")
                                  : "ultimate sets left out: " + Listed(leftOut))
              << "\n";
    // As a plain run: results that are not valid fail the command only for
    // scripts that ask for it; an error stop keeps its own status.
    if (strict && status == kExitOk) status = kExitNotValid;
  }
  const bool subgrade = options.soil.subgrade.has_value();
  const std::string modelLine(design::SoilModelLine(options.soil));
  // The ground around the wall, for a project that plans its cut.
  std::string groundText, groundJson;
  if (members.excavation) {
    const double delta =
        options.soil.earthPressure ? options.soil.earthPressure->backfill.deltaRatio : 0.0;
    const std::vector<design::SituationGround> ground = design::CheckSituationsGround(
        results, *members.excavation, sequence ? &*sequence : nullptr, delta);
    groundText = SituationsGroundText(ground);
    groundJson = SituationsGroundJson(ground, units);
  }
  if (!sectioned) {
    std::cout << (json
                      ? SituationsJson(dataFile, results, envelope, units, {}, subgrade, groundJson)
                      : modelLine + SituationsText(dataFile, results, envelope, units) +
                            groundText);
    flushStandardOutput();
    return status;
  }
  const ui::UltimateSectionCheck check =
      ui::CheckDesignSituations(results, envelope, *sectioned, *section);
  std::cerr << UltimateCheckWarnings(check, *section);
  for (const std::string& note : sectioned->notes) std::cerr << "terraq: note: " << note << "\n";
  std::cout << (json ? SituationsJson(dataFile, results, envelope, units,
                                      UltimateCheckJson(check, *section, units), subgrade,
                                      groundJson)
                     : modelLine + SituationsText(dataFile, results, envelope, units) + groundText +
                           UltimateCheckText(check, *section, units));
  flushStandardOutput();
  return status;
}

}  // namespace terraq::cli
