#include "DesignCommand.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "AnchorChecks.h"
#include "CommandDeclarations.h"
#include "DesignCommandAnchors.h"
#include "DesignCommandApparent.h"
#include "DesignCommandBerm.h"
#include "DesignCommandGround.h"
#include "DesignCommandTheories.h"
#include "DesignReport.h"
#include "ProjectSoilModel.h"
#include "SeepageSoil.h"
#include "SequenceDesign.h"
#include "SummaryOutput.h"
#include "WallText.h"
#include "api/EngineRoute.h"
#include "api/SoilDescription.h"
#include "project/AsciiLower.h"
#include "project/DesignRecord.h"
#include "project/EngineRun.h"
#include "project/FactorSetsMember.h"
#include "project/ProjectDesignSituations.h"
#include "project/ProjectMembers.h"
#include "project/SequentialRun.h"
#include "project/TWordReader.h"

namespace terraq::cli {

namespace {

namespace fs = std::filesystem;
using design::DesignResult;
using design::FsMethod;
using design::Method;
using design::ProblemDesign;

constexpr int kExitOk = 0;
constexpr int kExitNotDesigned = 1;
constexpr int kExitUsage = 2;

struct Arguments {
  design::DesignRequest request;
  bool json = false;
  std::string dataFile;
  // A set of partial factors: the design soil and actions, and the passive
  // resistance divided by gammaG·gammaRe (then --fs and --fs-method are the
  // set's).
  std::string approach;
  bool factorGiven = false;
  std::vector<std::string_view> given;  // the options given, each once per use
  AnchorOptions anchors;                // the anchor design's, apart
  GroundRequest ground;
};

// The units of the values of one problem.
std::string JsonOptional(const std::optional<double>& value) {
  return value ? JsonNumber(*value) : "null";
}

std::optional<int> ParseArguments(const CommandArguments& read, Arguments& a) {
  for (const GivenOption& given : read.options) {
    const std::string_view name = given.option->name;
    const std::string& value = given.value;
    bool anchor = false;
    if (const std::optional<int> refused = TakeAnchorOption(given, a.anchors, anchor))
      return *refused;
    if (anchor) continue;
    if (IsApparentPressureOption(name))
      return CommandUsageError(kDesignCommand,
                               std::string(name) + " is for --method apparent-pressure");
    a.given.push_back(name);
    a.factorGiven = a.factorGiven || name == "--fs" || name == "--fs-method";
    if (TakeTheoryOption(name, value, a.request)) continue;
    if (std::string fault; TakeGroundOption(name, value, a.ground, fault)) {
      if (fault.empty()) continue;
      return CommandUsageError(kDesignCommand, fault);
    }
    if (name == "--json") a.json = true;
    else if (name == "--design-approach") a.approach = value;
    else if (name == "--berm" && !(a.request.berm = ParseBerm(value)))
      return CommandUsageError(kDesignCommand,
                               "--berm takes the berm's height, top width and side slope: three "
                               "numbers with commas between them");
    else if (name == "--failure-criterion")
      a.request.criterion = *design::FailureCriterionNamed(value);
    else if (name == "--method")
      a.request.method = value == "fixed-earth"        ? Method::FixedEarth
                         : value == "fixed-earth-full" ? Method::FixedEarthFull
                                                       : Method::FreeEarth;
    else if (name == "--fs-method")
      a.request.fsMethod = value == "passive"    ? FsMethod::Passive
                           : value == "strength" ? FsMethod::Strength
                                                 : FsMethod::NetPassive;
    else if (name == "--fs") a.request.fs = NumberValue(value);
    else if (name == "--embedment-factor") a.request.embedmentFactor = NumberValue(value);
    else if (name == "--tip-resolution") a.request.resolution = NumberValue(value);
    else if (name == "--top-deflection") a.request.limits.topDeflection = NumberValue(value);
    else if (name == "--max-deflection") a.request.limits.maxDeflection = NumberValue(value);
  }
  const std::vector<std::string>& files = read.operands;
  if (files.empty()) return CommandUsageError(kDesignCommand, "design needs a data file");
  if (files.size() > 1) return CommandUsageError(kDesignCommand, "design takes one data file");
  if (!a.approach.empty() && a.factorGiven)
    return CommandUsageError(
        kDesignCommand,
        "--design-approach sets the factor of safety: without --fs and --fs-method");
  if (const std::string fault = SeismicOptionsFault(a.given); !fault.empty())
    return CommandUsageError(kDesignCommand, fault);
  a.dataFile = files.front();
  return std::nullopt;
}

// The limit equilibrium's members, from "method" to "wallFs"; `wrap` breaks
// the line before "D0" and "wallFs". "anchorForce" and "maxMoment" are the
// characteristic values the equilibrium gives; "designAnchorForce" and
// "designMoment" are theirs times gammaG under a design approach, null
// without one.
std::string LimitEquilibriumJson(const ProblemDesign& p, const DesignResult& r,
                                 const std::string& wrap) {
  const bool ok = !r.error;
  auto value = [&](double v) { return ok ? JsonNumber(v) : "null"; };
  std::string out = ", \"method\": " + JsonString(design::MethodName(r.method));
  out += ", \"fsMethod\": " + JsonString(design::FsMethodName(r.fsMethod));
  out +=
      ", \"fs\": " + JsonNumber(r.fs) + ", \"embedmentFactor\": " + JsonNumber(r.embedmentFactor);
  out += "," + wrap + "\"D0\": " + (ok || r.D0 > 0 ? JsonNumber(r.D0) : "null");
  out += ", \"D\": " + value(r.D) + ", \"tipDepth\": " + value(r.tipDepth);
  out += ", \"anchorForce\": " +
         (ok && r.method == Method::FreeEarth ? JsonNumber(r.anchorForce) : "null");
  out += ", \"anchorDepth\": " +
         (ok && r.method == Method::FreeEarth ? JsonNumber(r.anchorDepth) : "null");
  out +=
      ", \"maxMoment\": " + value(r.maxMoment) + ", \"maxMomentDepth\": " + value(r.maxMomentDepth);
  if (p.effectFactor)
    out += ", \"designAnchorForce\": " +
           (ok && r.method == Method::FreeEarth ? JsonNumber(p.Design(r.anchorForce)) : "null") +
           ", \"designMoment\": " + (ok ? JsonNumber(p.Design(r.maxMoment)) : "null");
  else out += ", \"designAnchorForce\": null, \"designMoment\": null";
  out += ", \"zeroShearDepth\": " + value(r.zeroShearDepth);
  out += "," + wrap + "\"wallFs\": " + JsonOptional(r.wallFs);
  return out;
}

// A construction sequence: the governing stage (1-based; the problem's own
// members are its), every stage's limit equilibrium, the largest force per
// support and the largest moment with their stages, and the stage the
// spring model fails in first.
std::string SequenceJson(const ProblemDesign& p) {
  const bool governed = std::any_of(p.stages.begin(), p.stages.end(),
                                    [](const design::StageDesign& s) { return !s.le.error; });
  std::string out = ",\n   \"governingStage\": " +
                    (governed ? std::to_string(p.governingStage + 1) : std::string("null"));
  out +=
      ", \"momentStage\": " + (governed ? std::to_string(p.momentStage + 1) : std::string("null"));
  out += ", \"springFailedStage\": " +
         (p.spring.failedStage ? std::to_string(p.spring.failedStage) : std::string("null"));
  out += ",\n   \"supportForces\": [";
  for (size_t k = 0; k < p.supportForces.size(); ++k) {
    const design::SupportDesignForce& f = p.supportForces[k];
    out += std::string(k ? ", " : "") + "{\"name\": " + JsonString(f.name) +
           ", \"depth\": " + JsonNumber(f.depth) + ", \"force\": " + JsonNumber(f.force) +
           ", \"designForce\": " + (p.effectFactor ? JsonNumber(p.Design(f.force)) : "null") +
           ", \"stage\": " + std::to_string(f.stage + 1) + "}";
  }
  out += "],\n   \"stages\": [";
  for (size_t k = 0; k < p.stages.size(); ++k) {
    const design::StageDesign& s = p.stages[k];
    out += std::string(k ? "," : "") + "\n    {\"number\": " + std::to_string(k + 1) +
           ", \"name\": " + JsonString(s.name) + ", \"excavation\": " + JsonNumber(s.excavation) +
           ", \"supportsInPlace\": [";
    for (size_t j = 0; j < s.supports.size(); ++j)
      out += (j ? ", " : "") + JsonString(s.supports[j]);
    out += "]" + LimitEquilibriumJson(p, s.le, " ") + ", \"notes\": [";
    for (size_t j = 0; j < s.le.notes.size(); ++j)
      out += (j ? ", " : "") + JsonString(s.le.notes[j]);
    out += "], \"error\": " + (s.le.error ? JsonString(s.le.error->message) : "null") + "}";
  }
  return out + "]";
}

// `soils` are those the problems were designed from: a sequence's stages
// share the layers of its first.
std::string Json(const std::vector<ProblemDesign>& problems, const Arguments& a,
                 const engine::api::SoilDescriptions& soils, const std::optional<std::string>& stop,
                 const std::vector<design::AnchorChecks>& anchors,
                 const std::optional<design::AnchorInputs>& anchorInputs) {
  std::string out = "{\"dataFile\": " + JsonPath(a.dataFile) +
                    ",\n \"errorStop\": " + (stop ? JsonString(*stop) : "null") +
                    (a.request.soil.subgrade ? ",\n \"soilModel\": \"subgrade\"" : "") +
                    ",\n \"problems\": [";
  int number = 0;
  for (const ProblemDesign& p : problems) {
    const design::DesignUnits u = design::DesignUnitsOf(p.units);
    const DesignResult& r = p.le;
    out += number ? ",\n  {" : "\n  {";
    out += "\"number\": " + std::to_string(++number) + ", \"title\": " + JsonString(p.title);
    out += LimitEquilibriumJson(p, r, "\n   ");
    out += ", \"gammaG\": " + JsonOptional(p.effectFactor);
    out += ", \"strengthReductionFactor\": " + JsonOptional(p.spring.factor);
    out +=
        ", \"failureCriterion\": " + JsonString(design::FailureCriterionName(p.spring.criterion));
    out += ", \"strengthReductionBound\": " + std::string(p.spring.factor      ? "null"
                                                          : p.spring.bound > 0 ? "\"above\""
                                                          : p.spring.bound < 0 ? "\"below\""
                                                                               : "null");
    out += ", \"shortestTipDepth\": " +
           JsonOptional(p.shortestRun ? p.shortest.tipDepth : std::nullopt);
    if (p.shortestRun && p.shortest.tipDepth)
      out += ", \"shortestWall\": {\"increments\": " + std::to_string(p.shortest.increments) +
             ", \"incrementLength\": " + JsonNumber(p.shortest.incrementLength) +
             ", \"incrementsKept\": " + (p.shortest.incrementsKept ? "true" : "false") +
             ", \"resolution\": " + JsonNumber(p.shortest.resolution) +
             (p.shortest.targetDeflection
                  ? ", \"targetDeflection\": " + JsonNumber(*p.shortest.targetDeflection)
                  : "") +
             (p.shortest.note.empty() ? "" : ", \"note\": " + JsonString(p.shortest.note)) + "}";
    else out += ", \"shortestWall\": null";
    out +=
        ",\n   \"units\": {\"D0\": " + JsonString(u.length) + ", \"D\": " + JsonString(u.length) +
        ", \"tipDepth\": " + JsonString(u.length) + ", \"anchorForce\": " + JsonString(u.force) +
        ", \"anchorDepth\": " + JsonString(u.length) + ", \"maxMoment\": " + JsonString(u.moment) +
        ", \"designAnchorForce\": " + JsonString(u.force) +
        ", \"designMoment\": " + JsonString(u.moment) +
        ", \"maxMomentDepth\": " + JsonString(u.length) +
        ", \"zeroShearDepth\": " + JsonString(u.length) +
        ", \"shortestTipDepth\": " + JsonString(u.length) + "}";
    out += ",\n   \"notes\": [";
    for (size_t k = 0; k < r.notes.size(); ++k) out += (k ? ", " : "") + JsonString(r.notes[k]);
    out += "]";
    if (const size_t k = p.stages.empty() ? static_cast<size_t>(number - 1) : 0;
        k < soils.problems.size())
      out += TheoryCoefficientsJson(soils.problems[k], a.request) +
             BermJson(p, soils.problems[k], a.request) +
             GroundDesignJson(soils.problems[k], a.request) +
             GroundLimitsJson(
                 p, soils.problems[k], a.request, a.ground,
                 static_cast<size_t>(number - 1) < anchors.size() ? &anchors[number - 1] : nullptr);
    if (!p.stages.empty()) out += SequenceJson(p);
    if (anchorInputs && static_cast<size_t>(number - 1) < anchors.size())
      out += AnchorsJson(anchors[number - 1], *anchorInputs);
    const std::string error = p.errorMessage();
    out += ", \"error\": " + (error.empty() ? "null" : JsonString(error)) + "}";
  }
  return out + "]}\n";
}

// The choices kept in the project's design record with the options given
// over them: an option replaces the record's choice it names, and
// --fs or --fs-method without --design-approach replace the record's
// approach (which sets the factor). Returns the line saying so, empty for
// a project without a record.
std::string TakeDesignRecord(Arguments& a, const std::optional<ui::DesignRecord>& record,
                             std::string_view dataText) {
  if (!record) return {};
  auto given = [&](std::string_view option) {
    return std::find(a.given.begin(), a.given.end(), option) != a.given.end();
  };
  design::DesignRequest merged = record->request;
  const design::DesignRequest& o = a.request;
  if (given("--method")) merged.method = o.method;
  // A factor given replaces the record's approach, the factor's form and
  // value with it (the form not given is the command's default).
  const bool approachReplaced = a.factorGiven && !record->approach.empty();
  if (given("--fs-method") || approachReplaced) merged.fsMethod = o.fsMethod;
  if (given("--fs") || approachReplaced) merged.fs = o.fs;
  if (given("--embedment-factor")) merged.embedmentFactor = o.embedmentFactor;
  if (given("--tip-resolution")) merged.resolution = o.resolution;
  if (given("--top-deflection")) merged.limits.topDeflection = o.limits.topDeflection;
  if (given("--max-deflection")) merged.limits.maxDeflection = o.limits.maxDeflection;
  if (given("--failure-criterion")) merged.criterion = o.criterion;
  MergeTheoryOptions(a.given, o, merged);
  merged.berm = o.berm;  // the record keeps no berm
  a.request = merged;
  if (a.approach.empty() && !a.factorGiven) a.approach = record->approach;
  std::string over;
  for (std::string_view option : a.given)
    if (over.find(option) == std::string::npos)
      over += (over.empty() ? "" : ", ") + std::string(option);
  std::string unitsError;
  const auto wall = design::WallText::Parse(dataText, 0, unitsError);
  const std::string length = design::DesignUnitsOf(wall ? wall->units() : 0).length;
  return "design choices from the project file: " + ui::DesignChoicesText(*record, length) +
         (over.empty() ? "" : "; overridden here by " + over) + "\n";
}

// The data file's text and construction sequence as the design takes them:
// under a design approach, with the set's design soil and actions (and
// `a.request` with the set's factor of safety). The message when a file
// cannot be read or the approach cannot be applied.
struct DesignInput {
  std::string text;
  std::optional<design::SequentialPlan> plan;
  std::string approachNote;
  std::string recordLine;  // the design record's choices in use, or empty
  // The anchor design's inputs: the project's with the options over them;
  // none: no anchor design.
  std::optional<design::AnchorInputs> anchors;
};

std::optional<std::string> ReadDesignInput(Arguments& a, DesignInput& input) {
  const fs::path dataFile(a.dataFile);
  if (const std::string missing = ui::UnusableDataFile(dataFile); !missing.empty()) return missing;
  std::error_code ec;
  if (const auto size = fs::file_size(dataFile, ec); !ec && size > ui::kMaxDataFileBytes)
    return ui::DataFileTooLarge(dataFile, size);
  std::ifstream in(dataFile, std::ios::binary);
  std::stringstream buffer;
  if (in) buffer << in.rdbuf();
  if (!in || in.bad())
    return "cannot read the data file " + a.dataFile + ": " + std::strerror(errno ? errno : EACCES);
  input.text = buffer.str();
  // The project as the program has it: its design record, its construction
  // sequence (designed stage by stage and as a whole) and its own sets.
  ui::MembersFault fault;
  const ui::ProjectMembers members = ui::ReadProjectMembers(
      dataFile, [&input] { return ui::DataTextUnits(input.text); }, fault);
  if (fault.part != ui::MembersFault::Part::None) return fault.reason;
  input.recordLine = TakeDesignRecord(a, members.designRecord, input.text);
  TakeProjectTheories(a.given, members.earthPressure,
                      members.designRecord ? &members.designRecord->request : nullptr, a.request);
  TakeProjectSeismic(a.given, members.seismic, a.request);
  input.plan = members.StagedSequence();
  if (std::string refused = TakeProjectExcavation(members.excavation, input.plan, a.ground);
      !refused.empty())
    return refused;
  std::string error;
  input.anchors = AnchorInputsOf(a.anchors, members.anchors, error);
  if (!error.empty()) return error;
  const std::optional<design::SoilModel> soil = ProjectSoilModel(a.dataFile, input.text, error);
  if (!soil) return error;
  a.request.soil = *soil;
  if (a.approach.empty()) return std::nullopt;
  const std::optional<design::FactorSet> set = ui::FindProjectFactorSet(members, a.approach, error);
  if (!set) return error;
  const std::optional<design::ApproachDesign> prepared = design::PrepareApproachDesign(
      input.text, *set, a.request, error, input.plan ? &*input.plan : nullptr);
  if (!prepared) return error;
  input.text = prepared->text;
  a.request = prepared->request;
  input.approachNote = prepared->note;
  if (input.plan) input.plan = prepared->plan;
  return std::nullopt;
}

// The ground anchors of every problem designed (of the sequence: its layers
// are those of its first stage); none without `inputs`.
std::vector<design::AnchorChecks> DesignAnchors(const std::vector<ProblemDesign>& problems,
                                                const engine::api::SoilDescriptions& soils,
                                                const design::SequentialPlan* plan,
                                                const std::optional<design::AnchorInputs>& inputs) {
  std::vector<design::AnchorChecks> out;
  if (!inputs) return out;
  // A problem without an anchor (a cantilever stage) has none to design;
  // a data file none of whose problems has one is refused.
  bool any = false;
  for (const ProblemDesign& p : problems) any = any || !design::AnchorSourcesOf(p, plan).empty();
  for (size_t k = 0; k < problems.size(); ++k) {
    if (any && design::AnchorSourcesOf(problems[k], plan).empty()) {
      out.emplace_back().units = problems[k].units;
      continue;
    }
    const size_t n = plan ? 0 : k;
    out.push_back(design::CheckDesignAnchors(
        problems[k], n < soils.problems.size() ? &soils.problems[n] : nullptr, plan, *inputs));
  }
  return out;
}

// The text of the designs: each problem's, with its anchors, berm and the
// ground around the wall.
std::string Text(const std::vector<ProblemDesign>& problems, const Arguments& a,
                 const DesignInput& input, const engine::api::SoilDescriptions& soils,
                 const std::optional<std::string>& stop,
                 const std::vector<design::AnchorChecks>& anchors, bool sequence) {
  std::string out = input.recordLine;
  out.append(input.approachNote)
      .append(design::SoilModelLine(a.request.soil))
      .append(design::FaceTheoryLine(a.request));
  for (size_t k = 0; k < problems.size(); ++k) {
    out += design::DesignText(problems[k], static_cast<int>(k) + 1);
    if (k < anchors.size()) out += AnchorsText(anchors[k]);
    if (const size_t n = sequence ? 0 : k; n < soils.problems.size())
      out += BermLine(problems[k], soils.problems[n], a.request) +
             GroundLines(problems[k], soils.problems[n], a.request, a.ground,
                         k < anchors.size() ? &anchors[k] : nullptr);
  }
  if (stop) out += "The analysis of the data file stopped: " + *stop + "\n";
  return out;
}

}  // namespace

int DesignCommand(const std::vector<std::string_view>& args) {
  CommandArguments read;
  if (const std::optional<int> ended = ReadArguments(kDesignCommand, args, read)) return *ended;
  if (const std::string* method = read.last("--method"); method && *method == "apparent-pressure")
    return ApparentPressureDesignCommand(read);
  Arguments a;
  if (const std::optional<int> status = ParseArguments(read, a)) return *status;
  auto fail = [](const std::string& message) {
    std::cerr << "terraq: " << message << "\n";
    return kExitUsage;
  };
  if (ui::AsciiLower(fs::path(a.dataFile).extension().string()) != ".tq4d")
    return CommandUsageError(kDesignCommand, a.dataFile + " is not a .tq4d data file");
  DesignInput input;
  if (const std::optional<std::string> refused = ReadDesignInput(a, input)) return fail(*refused);
  const std::string& text = input.text;
  const std::optional<design::SequentialPlan>& plan = input.plan;
  std::string sequenceError;
  std::optional<design::SequenceData> sequence;
  if (plan) {
    sequence = design::BuildSequence(text, *plan, sequenceError);
    if (!sequence) return fail("the construction sequence cannot be designed: " + sequenceError);
  }

  if (std::string why; !engine::EngineAvailable(why)) return fail(why);
  const std::string_view soilText = sequence ? std::string_view(sequence->text) : text;
  engine::api::SoilDescriptions soils = engine::ReadSoilDescriptions(soilText);
  if (const std::string fault =
          design::TakeSeepage(soilText, a.request.soil, soils,
                              plan ? design::StageSeepage(*plan, a.request.soil.seepage)
                                   : std::vector<std::optional<engine::api::SeepageOptions>>{});
      !fault.empty())
    return fail("the project's seepage cannot be taken: " + fault);
  if (const std::string refused = TheoryRefusal(soils, a.request); !refused.empty())
    return fail("the earth-pressure theory cannot design " + refused);
  if (a.request.berm)
    if (const std::string refused = BermRefusalOf(soils, *a.request.berm); !refused.empty())
      return fail("the berm cannot stand: " + refused);
  std::vector<ProblemDesign> problems;
  bool designed = !soils.error;
  if (sequence) {
    problems.push_back(design::DesignSequence(text, *plan, a.request));
    designed = designed && problems.back().designed();
  }
  for (size_t k = 0; !sequence && k < soils.problems.size(); ++k) {
    problems.push_back(
        design::DesignProblem(text, static_cast<int>(k), soils.problems[k], a.request));
    designed = designed && problems.back().designed();
  }
  const std::vector<design::AnchorChecks> anchors =
      DesignAnchors(problems, soils, plan ? &*plan : nullptr, input.anchors);
  for (const design::AnchorChecks& checks : anchors) designed = designed && checks.designed();
  std::optional<std::string> stop;
  if (soils.error) {
    stop = soils.error->message;
    if (soils.error->line > 0) *stop += " (line " + std::to_string(soils.error->line) + ")";
  }
  if (a.json) {
    std::cerr << input.recordLine;
    std::cout << Json(problems, a, soils, stop, anchors, input.anchors);
  } else {
    std::cout << Text(problems, a, input, soils, stop, anchors, sequence.has_value());
  }
  // Why the command did not succeed is on standard error too, as with every
  // other command: a script that keeps only the results still learns it.
  std::cout << std::flush;
  if (stop) std::cerr << "terraq: the analysis of " << a.dataFile << " stopped: " << *stop << "\n";
  for (size_t k = 0; k < problems.size(); ++k)
    if (const std::string why = problems[k].errorMessage(); !why.empty())
      std::cerr << "terraq: "
                << (sequence ? "the construction sequence" : "problem " + std::to_string(k + 1))
                << " could not be designed: " << why << "\n";
  for (size_t k = 0; k < anchors.size(); ++k)
    std::cerr << AnchorRefusals(
        anchors[k], sequence ? "the construction sequence" : "problem " + std::to_string(k + 1));
  return designed ? kExitOk : kExitNotDesigned;
}

}  // namespace terraq::cli
