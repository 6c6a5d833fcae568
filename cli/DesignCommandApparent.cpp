#include "DesignCommandApparent.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "ApparentPressureDesign.h"
#include "CommandDeclarations.h"
#include "DesignCommandAnchors.h"
#include "SummaryOutput.h"
#include "api/EngineRoute.h"
#include "api/Units.h"
#include "project/AsciiLower.h"
#include "project/EngineRun.h"
#include "project/EnvelopePressure.h"
#include "project/ProjectDesignSituations.h"
#include "project/ProjectMembers.h"
#include "project/TProgramData.h"
#include "project/TProjectTables.h"
#include "project/TWordReader.h"

namespace terraq::cli {

namespace {

namespace fs = std::filesystem;
using design::ApparentDesign;
using design::EnvelopeSoil;

constexpr int kExitOk = 0;
constexpr int kExitNotDesigned = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kApparentOptions[] = {
    "--envelope", "--soil",    "--clay-factor", "--soft-base",     "--failure-depth",
    "--supports", "--spacing", "--inclination", "--write-pressure"};

struct ApparentArguments {
  design::ApparentRequest request;
  bool json = false;
  bool writePressure = false;
  std::string dataFile;
  AnchorOptions anchors;
};

// "2.5,6.25": the depths as written, top down; empty when one is not a
// finite number.
std::optional<std::vector<double>> DepthList(const std::string& text) {
  std::vector<double> depths;
  std::stringstream items(text);
  for (std::string item; std::getline(items, item, ',');) {
    char* end = nullptr;
    const double value = std::strtod(item.c_str(), &end);
    if (item.empty() || *end != '\0' || !std::isfinite(value)) return std::nullopt;
    depths.push_back(value);
  }
  if (depths.empty()) return std::nullopt;
  return depths;
}

std::optional<int> Parse(const CommandArguments& read, ApparentArguments& a) {
  design::ApparentRequest& r = a.request;
  for (const GivenOption& given : read.options) {
    const std::string_view name = given.option->name;
    const std::string& value = given.value;
    bool anchor = false;
    if (IsAnchorOption(name))
      if (const std::optional<int> refused = TakeAnchorOption(given, a.anchors, anchor))
        return *refused;
    if (anchor) continue;
    if (name == "--json") a.json = true;
    else if (name == "--method") continue;
    else if (!IsApparentPressureOption(name))
      return CommandUsageError(kDesignCommand,
                               std::string(name) + " is not for --method apparent-pressure");
    else if (name == "--envelope")
      r.source =
          value == "fhwa" ? design::EnvelopeSource::Fhwa : design::EnvelopeSource::TerzaghiPeck;
    else if (name == "--soil")
      r.soil = value == "sand"        ? EnvelopeSoil::Sand
               : value == "soft-clay" ? EnvelopeSoil::SoftClay
                                      : EnvelopeSoil::StiffClay;
    else if (name == "--clay-factor") r.clayFactor = NumberValue(value);
    else if (name == "--soft-base") r.softBase = true;
    else if (name == "--write-pressure") a.writePressure = true;
    else if (name == "--failure-depth") r.failureDepth = NumberValue(value);
    else if (name == "--spacing") r.layout.spacing = NumberValue(value);
    else if (name == "--inclination" && NumberValue(value) >= 90)
      return RefuseValue(kDesignCommand, name, value,
                         "an inclination is 0 or more and below 90 degrees");
    else if (name == "--inclination") r.layout.inclination = NumberValue(value);
    else if (name == "--supports") {
      r.supports = DepthList(value);
      const std::string why = r.supports
                                  ? design::RefuseSupports(*r.supports, HUGE_VAL)
                                  : "the support depths are numbers, top down, separated by commas";
      if (!why.empty()) return RefuseValue(kDesignCommand, name, value, why);
    }
  }
  if (read.operands.size() != 1)
    return CommandUsageError(kDesignCommand, read.operands.empty() ? "design needs a data file"
                                                                   : "design takes one data file");
  a.dataFile = read.operands.front();
  return std::nullopt;
}

std::string Unit(engine::api::Quantity quantity, int units) {
  return std::string(engine::api::UnitLabel(quantity, units));
}

void SupportText(std::ostream& out, const ApparentDesign& d) {
  using Q = engine::api::Quantity;
  const std::string L = " " + Unit(Q::Length, d.units), F = " " + Unit(Q::ForcePerLength, d.units);
  const design::SupportLoads& s = *d.loads;
  for (size_t k = 0; k < s.supports.size(); ++k) {
    const design::SupportLoad& l = s.supports[k];
    out << "   support " << k + 1 << " at " << FourDigits(l.depth) << L << ": "
        << FourDigits(l.tributary) << F << " by tributary area, " << FourDigits(l.hinge) << F
        << " by hinges";
    if (l.tributaryDesign)
      out << "; along the tendon " << FourDigits(*l.tributaryDesign) << " and "
          << FourDigits(*l.hingeDesign) << " " << Unit(Q::Force, d.units);
    out << "\n";
  }
  out << "   excavation level: " << FourDigits(s.tributaryBase) << F << " by tributary area, "
      << FourDigits(s.hingeBase) << F << " by hinges\n";
  const std::string M = " " + Unit(Q::MomentPerLength, d.units);
  out << "   hinges: cantilever moment at the top support " << FourDigits(s.cantileverMoment) << M
      << ", largest moment " << FourDigits(s.maxMoment) << M << " at "
      << FourDigits(s.maxMomentDepth) << L << "\n";
}

std::string Text(const ApparentDesign& d, int number, const design::AnchorChecks* anchors) {
  using Q = engine::api::Quantity;
  std::ostringstream out;
  out << number << "  " << (d.title.empty() ? "(no title)" : d.title) << "\n";
  const design::EnvelopeInput& in = d.input;
  const design::EnvelopeDeclaration& what = design::DeclarationOf(in.source, in.soil);
  if (d.envelope) {
    const design::PressureEnvelope& e = *d.envelope;
    const std::string P = " " + Unit(Q::Pressure, d.units);
    out << "   apparent-pressure envelope: " << what.name << " (" << what.rule << ")\n";
    out << "   soil over H = " << FourDigits(in.height) << " " << Unit(Q::Length, d.units)
        << ": gamma = " << FourDigits(in.unitWeight) << " " << Unit(Q::UnitWeight, d.units);
    if (in.soil == EnvelopeSoil::Sand) out << ", Ka = " << FourDigits(in.Ka) << "\n";
    else
      out << ", su = " << FourDigits(in.su) << P << ", N = " << FourDigits(e.stabilityNumber)
          << "\n";
    out << "   envelope: p = " << FourDigits(e.ordinate) << P
        << ", surcharge K q = " << FourDigits(e.surchargePressure) << P
        << " (K = " << FourDigits(e.coefficient) << ")\n";
  }
  if (d.loads) SupportText(out, d);
  if (anchors) out << AnchorsText(*anchors);
  std::vector<std::string> notes = d.notes;
  if (d.envelope) notes.insert(notes.end(), d.envelope->notes.begin(), d.envelope->notes.end());
  for (const std::string& note : notes) out << "   note: " << note << "\n";
  if (!d.error.empty()) out << "   not designed: " << d.error << "\n";
  return out.str();
}

std::string Number(const std::optional<double>& value) {
  return value ? JsonNumber(*value) : "null";
}

std::string LoadsJson(const design::SupportLoads& s) {
  std::string out = ", \"supports\": [";
  for (size_t k = 0; k < s.supports.size(); ++k) {
    const design::SupportLoad& l = s.supports[k];
    out += std::string(k ? ", " : "") + "{\"depth\": " + JsonNumber(l.depth) +
           ", \"tributary\": " + JsonNumber(l.tributary) + ", \"hinge\": " + JsonNumber(l.hinge) +
           ", \"tributaryDesign\": " + Number(l.tributaryDesign) +
           ", \"hingeDesign\": " + Number(l.hingeDesign) + "}";
  }
  return out + "],\n   \"tributaryBase\": " + JsonNumber(s.tributaryBase) +
         ", \"hingeBase\": " + JsonNumber(s.hingeBase) +
         ", \"cantileverMoment\": " + JsonNumber(s.cantileverMoment) +
         ", \"maxMoment\": " + JsonNumber(s.maxMoment) +
         ", \"maxMomentDepth\": " + JsonNumber(s.maxMomentDepth);
}

// The unit of every value of a problem, by its key.
std::string UnitsJson(int units) {
  using Q = engine::api::Quantity;
  const std::pair<const char*, Q> keys[] = {{"H", Q::Length},
                                            {"unitWeight", Q::UnitWeight},
                                            {"su", Q::Pressure},
                                            {"ordinate", Q::Pressure},
                                            {"surchargePressure", Q::Pressure},
                                            {"depth", Q::Length},
                                            {"tributary", Q::ForcePerLength},
                                            {"hinge", Q::ForcePerLength},
                                            {"tributaryDesign", Q::Force},
                                            {"hingeDesign", Q::Force},
                                            {"tributaryBase", Q::ForcePerLength},
                                            {"hingeBase", Q::ForcePerLength},
                                            {"cantileverMoment", Q::MomentPerLength},
                                            {"maxMoment", Q::MomentPerLength},
                                            {"maxMomentDepth", Q::Length},
                                            {"spacing", Q::Length}};
  std::string out = "{";
  for (const auto& [key, quantity] : keys)
    out += std::string(out.size() > 1 ? ", " : "") + "\"" + key +
           "\": " + JsonString(Unit(quantity, units));
  // A point of the envelope is its depth and its pressure.
  return out + ", \"points\": [" + JsonString(Unit(Q::Length, units)) + ", " +
         JsonString(Unit(Q::Pressure, units)) + "], \"inclination\": \"deg\"}";
}

std::string ProblemJson(const ApparentDesign& d, const design::ApparentRequest& r, int number,
                        const design::AnchorChecks* anchors,
                        const std::optional<design::AnchorInputs>& inputs) {
  const design::EnvelopeInput& in = d.input;
  const bool sand = in.soil == EnvelopeSoil::Sand;
  const design::EnvelopeDeclaration& what = design::DeclarationOf(in.source, in.soil);
  std::string out = "{\"number\": " + std::to_string(number) +
                    ", \"title\": " + JsonString(d.title) +
                    ", \"envelope\": " + JsonString(design::SourceKey(in.source)) +
                    ", \"soil\": " + JsonString(design::SoilKey(in.soil));
  out += ",\n   \"name\": " + JsonString(what.name) + ", \"rule\": " + JsonString(what.rule) +
         ",\n   \"inputs\": " + JsonString(what.inputs) +
         ",\n   \"reference\": " + JsonString(what.reference);
  const bool drawn = d.envelope.has_value();
  out += ",\n   \"H\": " + JsonNumber(in.height) +
         ", \"unitWeight\": " + (drawn ? JsonNumber(in.unitWeight) : "null") +
         ", \"Ka\": " + (drawn && sand ? JsonNumber(in.Ka) : "null") +
         ", \"su\": " + (drawn && !sand ? JsonNumber(in.su) : "null") + ", \"stabilityNumber\": " +
         (drawn && !sand ? JsonNumber(d.envelope->stabilityNumber) : "null");
  if (drawn) {
    const design::PressureEnvelope& e = *d.envelope;
    out += ", \"ordinate\": " + JsonNumber(e.ordinate) +
           ", \"coefficient\": " + JsonNumber(e.coefficient) +
           ", \"surchargePressure\": " + JsonNumber(e.surchargePressure) + ",\n   \"points\": [";
    for (size_t k = 0; k < e.points.size(); ++k)
      out += std::string(k ? ", " : "") + "[" + JsonNumber(e.points[k][0]) + ", " +
             JsonNumber(e.points[k][1]) + "]";
    out += "]";
  }
  out += ",\n   \"supportsFrom\": " + JsonString(d.supportsGiven ? "given" : "springs") +
         ", \"spacing\": " + Number(r.layout.spacing) +
         ", \"inclination\": " + JsonNumber(r.layout.inclination);
  if (d.loads) out += LoadsJson(*d.loads);
  if (anchors && inputs) out += AnchorsJson(*anchors, *inputs);
  out += ",\n   \"units\": " + UnitsJson(d.units) + ",\n   \"notes\": [";
  std::vector<std::string> notes = d.notes;
  if (drawn) notes.insert(notes.end(), d.envelope->notes.begin(), d.envelope->notes.end());
  for (size_t k = 0; k < notes.size(); ++k) out += (k ? ", " : "") + JsonString(notes[k]);
  return out + "], \"error\": " + (d.error.empty() ? "null" : JsonString(d.error)) + "}";
}

// The envelope of the data file's problem as its specified earth pressure
// (project/EnvelopePressure.h), saved over the file; the reason when it is
// not.
std::string WritePressure(const fs::path& file, const std::vector<ApparentDesign>& designs) {
  if (designs.size() != 1 || !designs.front().envelope)
    return "the envelope is written as the earth pressure of a data file of one problem that "
           "was designed";
  try {
    ui::TProjectTables tables;
    ui::TProgramData data(tables, file, ui::kLayoutCurrent);
    if (!data.NotKept.empty()) return data.NotKept;
    std::string refused;
    if (!ui::SetEnvelopePressure(data, *designs.front().envelope, refused)) return refused;
    data.SaveAs(file);
  } catch (const std::exception& e) {
    return e.what();
  }
  return {};
}

// The anchors of every support of each design whose loads were found, in
// the cut of its envelope (the retained height H); none without `inputs`.
std::vector<design::AnchorChecks> ApparentAnchors(
    const std::vector<ApparentDesign>& designs, const engine::api::SoilDescriptions& soils,
    const design::ApparentRequest& request, const std::optional<design::AnchorInputs>& inputs) {
  std::vector<design::AnchorChecks> out;
  for (size_t k = 0; inputs && k < designs.size(); ++k) {
    const ApparentDesign& d = designs[k];
    if (!d.loads) {
      out.emplace_back().units = d.units;  // the design says why it has no loads
      continue;
    }
    std::string error;
    const std::optional<design::AnchorCut> cut =
        design::AnchorCutOf(soils.problems[k], d.input.height, nullptr, error);
    out.push_back(design::CheckAnchors(design::AnchorSourcesOf(*d.loads, request.layout), cut,
                                       error, *inputs, d.units));
  }
  return out;
}

}  // namespace

bool IsApparentPressureOption(std::string_view name) {
  for (std::string_view option : kApparentOptions)
    if (option == name) return true;
  return false;
}

int ApparentPressureDesignCommand(const CommandArguments& read) {
  ApparentArguments a;
  if (const std::optional<int> status = Parse(read, a)) return *status;
  auto fail = [](const std::string& message) {
    std::cerr << "terraq: " << message << "\n";
    return kExitUsage;
  };
  const fs::path file(a.dataFile);
  if (ui::AsciiLower(file.extension().string()) != ".tq4d")
    return CommandUsageError(kDesignCommand, a.dataFile + " is not a .tq4d data file");
  if (const std::string missing = ui::UnusableDataFile(file); !missing.empty())
    return fail(missing);
  std::string text;
  try {
    text = ui::ReadWholeFile(file);
  } catch (const ui::EInOutError& e) {
    return fail(e.what());
  }
  // A project file beside the data file is read whole or refused, as with
  // every command, although no member of it changes the envelope.
  ui::MembersFault fault;
  const ui::ProjectMembers members = ui::ReadProjectMembers(
      file, [&text] { return ui::DataTextUnits(text); }, fault);
  if (fault.part != ui::MembersFault::Part::None) return fail(fault.reason);
  std::string error;
  const std::optional<design::AnchorInputs> anchorInputs =
      AnchorInputsOf(a.anchors, members.anchors, error);
  if (!error.empty()) return fail(error);
  if (std::string why; !engine::EngineAvailable(why)) return fail(why);
  const engine::api::SoilDescriptions soils = engine::ReadSoilDescriptions(text);
  std::vector<ApparentDesign> designs;
  for (size_t k = 0; k < soils.problems.size(); ++k)
    designs.push_back(
        design::DesignApparentPressure(text, static_cast<int>(k), soils.problems[k], a.request));
  const std::vector<design::AnchorChecks> anchors =
      ApparentAnchors(designs, soils, a.request, anchorInputs);
  const auto anchorsOf = [&anchors](size_t k) {
    return k < anchors.size() ? &anchors[k] : nullptr;
  };
  std::optional<std::string> stop;
  if (soils.error) {
    stop = soils.error->message;
    if (soils.error->line > 0) *stop += " (line " + std::to_string(soils.error->line) + ")";
  }
  if (a.json) {
    std::cout << "{\"dataFile\": " << JsonPath(a.dataFile)
              << ",\n \"errorStop\": " << (stop ? JsonString(*stop) : "null")
              << ",\n \"method\": \"apparent-pressure\",\n \"problems\": [";
    for (size_t k = 0; k < designs.size(); ++k)
      std::cout << (k ? ",\n  " : "\n  ")
                << ProblemJson(designs[k], a.request, int(k) + 1, anchorsOf(k), anchorInputs);
    std::cout << "]}\n";
  } else {
    for (size_t k = 0; k < designs.size(); ++k)
      std::cout << Text(designs[k], int(k) + 1, anchorsOf(k));
    if (stop) std::cout << "The analysis of the data file stopped: " << *stop << "\n";
  }
  std::string notWritten;
  if (a.writePressure) {
    notWritten = stop ? "the analysis of the data file stopped" : WritePressure(file, designs);
    if (notWritten.empty() && !a.json)
      std::cout << "The envelope is now the specified earth pressure of " << a.dataFile << ".\n";
  }
  std::cout << std::flush;
  if (!notWritten.empty())
    std::cerr << "terraq: the envelope is not written into " << a.dataFile << ": " << notWritten
              << "\n";
  bool designed = !stop && notWritten.empty();
  if (stop) std::cerr << "terraq: the analysis of " << a.dataFile << " stopped: " << *stop << "\n";
  for (size_t k = 0; k < designs.size(); ++k)
    if (!designs[k].error.empty()) {
      designed = false;
      std::cerr << "terraq: problem " << k + 1 << " could not be designed: " << designs[k].error
                << "\n";
    }
  for (size_t k = 0; k < anchors.size(); ++k) {
    designed = designed && anchors[k].designed();
    std::cerr << AnchorRefusals(anchors[k], "problem " + std::to_string(k + 1));
  }
  return designed ? kExitOk : kExitNotDesigned;
}

}  // namespace terraq::cli
