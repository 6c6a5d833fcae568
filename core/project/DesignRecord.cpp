#include "project/DesignRecord.h"

#include <cmath>
#include <cstdio>

#include "api/Units.h"
#include "project/DesignRecordApparent.h"
#include "project/FactorSetsMember.h"

namespace terraq::ui {

namespace {

using design::FsMethod;
using design::Method;

constexpr const char* kWhich = "the project's design record";

bool Fail(std::string& error, const std::string& why) {
  error = std::string(kWhich) + ": " + why;
  return false;
}

// An optional text member; false with `error` when it is not a text.
bool ReadText(const JsonValue& member, const char* key, std::string& value, std::string& error) {
  const JsonValue* v = member.find(key);
  if (!v) return true;
  if (!v->isString()) return Fail(error, std::string("\"") + key + "\" must be a text");
  value = v->string;
  return true;
}

// An optional number above `low` (or at least `low` when `inclusive`).
bool ReadNumber(const JsonValue& member, const char* key, double low, bool inclusive,
                std::optional<double>& value, std::string& error) {
  const JsonValue* v = member.find(key);
  if (!v) return true;
  if (!v->isNumber() || !std::isfinite(v->number) ||
      (inclusive ? v->number < low : v->number <= low))
    return Fail(error, std::string("\"") + key + "\" must be a number " +
                           (inclusive ? "of at least " : "above ") + (low == 1 ? "1" : "0"));
  value = v->number;
  return true;
}

std::optional<Method> MethodNamed(std::string_view word) {
  for (Method m : {Method::FixedEarth, Method::FixedEarthFull, Method::FreeEarth})
    if (word == design::MethodName(m)) return m;
  return std::nullopt;
}

std::optional<FsMethod> FsMethodNamed(std::string_view word) {
  for (FsMethod m : {FsMethod::Strength, FsMethod::Passive, FsMethod::NetPassive})
    if (word == design::FsMethodName(m)) return m;
  return std::nullopt;
}

// The word members: the method, the factor's form, the failure criterion.
bool ReadWords(const JsonValue& member, DesignRecord& out, std::string& error) {
  std::string method, form, criterion;
  if (!ReadText(member, "method", method, error) || !ReadText(member, "fsMethod", form, error) ||
      !ReadText(member, "failureCriterion", criterion, error))
    return false;
  if (!method.empty()) {
    out.request.method = MethodNamed(method);
    if (!out.request.method)
      return Fail(error,
                  "\"method\" must be \"fixed-earth\", \"fixed-earth-full\" or \"free-earth\"");
  }
  if (!form.empty()) {
    const std::optional<FsMethod> fsMethod = FsMethodNamed(form);
    if (!fsMethod)
      return Fail(error, "\"fsMethod\" must be \"strength\", \"passive\" or \"net-passive\"");
    out.request.fsMethod = *fsMethod;
  }
  if (!criterion.empty()) {
    const auto named = design::FailureCriterionNamed(criterion);
    if (!named) return Fail(error, "\"failureCriterion\" must be \"deflection\" or \"mechanism\"");
    out.request.criterion = *named;
  }
  return true;
}

bool ReadNumbers(const JsonValue& member, DesignRecord& out, std::string& error) {
  design::DesignRequest& r = out.request;
  std::optional<double> fs, resolution, stage;
  if (!ReadNumber(member, "fs", 1, true, fs, error) ||
      !ReadNumber(member, "embedmentFactor", 1, true, r.embedmentFactor, error) ||
      !ReadNumber(member, "tipResolution", 0, false, resolution, error) ||
      !ReadNumber(member, "topDeflection", 0, false, r.limits.topDeflection, error) ||
      !ReadNumber(member, "maxDeflection", 0, false, r.limits.maxDeflection, error) ||
      !ReadNumber(member, "appliedTip", 0, false, out.appliedTip, error) ||
      !ReadNumber(member, "governingStage", 1, true, stage, error))
    return false;
  if (fs) r.fs = *fs;
  if (resolution) r.resolution = *resolution;
  if (stage) {
    if (*stage != std::floor(*stage) || *stage > 1000)
      return Fail(error, "\"governingStage\" must be a whole number from 1");
    out.governingStage = static_cast<int>(*stage);
  }
  return true;
}

// The earth-pressure theory and wall friction of one face, "backfill" or
// "excavation": "<face>Theory" a theory with active and passive states,
// "<face>WallFriction" delta/phi' from 0 to 1. Absent: Rankine's, smooth.
bool ReadFaceTheory(const JsonValue& member, const std::string& face, design::FaceTheory& theory,
                    std::string& error) {
  const std::string theoryKey = face + "Theory", frictionKey = face + "WallFriction";
  std::string key;
  std::optional<double> ratio;
  if (!ReadText(member, theoryKey.c_str(), key, error) ||
      !ReadNumber(member, frictionKey.c_str(), 0, true, ratio, error))
    return false;
  if (!key.empty()) {
    const engine::api::EarthPressureTheory* named = engine::api::FindEarthPressureTheory(key);
    if (!named || !named->limitStates)
      return Fail(error,
                  "\"" + theoryKey + "\" must be \"rankine\", \"coulomb\" or \"log-spiral\"");
    theory.method = named->method;
  }
  if (ratio && *ratio > 1) return Fail(error, "\"" + frictionKey + "\" must be 1 at most");
  if (ratio) theory.deltaRatio = *ratio;
  return true;
}

// The shaking the limit equilibrium designs for, "seismic": {"method":
// "mononobe-okabe", "kh": 0.15, "kv": 0}: a method of Seismic.h with
// 0 <= kh < 1 and |kv| < 1 (kv absent: 0).
bool ReadSeismic(const JsonValue& member, std::optional<design::SeismicChoice>& seismic,
                 std::string& error) {
  const JsonValue* v = member.find("seismic");
  if (!v) return true;
  if (!v->isObject() || !OnlyKnownKeys(*v, {"method", "kh", "kv"}, kWhich, error))
    return error.empty() ? Fail(error, "\"seismic\" must be an object") : false;
  std::string key;
  std::optional<double> kh, kv;
  if (!ReadText(*v, "method", key, error) || !ReadNumber(*v, "kh", 0, true, kh, error))
    return false;
  if (const JsonValue* k = v->find("kv")) {
    if (!k->isNumber() || !std::isfinite(k->number) || std::abs(k->number) >= 1)
      return Fail(error, "\"kv\" of \"seismic\" must be a number between -1 and 1");
    kv = k->number;
  }
  const engine::api::SeismicMethodInfo* method = engine::api::FindSeismicMethod(key);
  if (!method) return Fail(error, "\"seismic\" needs a \"method\" such as \"mononobe-okabe\"");
  if (!kh || *kh >= 1) return Fail(error, "\"kh\" of \"seismic\" must be from 0 to below 1");
  seismic = design::SeismicChoice{.method = method->method, .kh = *kh, .kv = kv.value_or(0)};
  return true;
}

// The berm against the excavation face, "berm": {"height": 2, "topWidth":
// 3, "sideSlope": 2}, lengths in the data file's unit (BermRefusal judges
// it against the wall when the design runs).
bool ReadBerm(const JsonValue& member, std::optional<design::Berm>& berm, std::string& error) {
  const JsonValue* v = member.find("berm");
  if (!v) return true;
  if (!v->isObject() || !OnlyKnownKeys(*v, {"height", "topWidth", "sideSlope"}, kWhich, error))
    return error.empty() ? Fail(error, "\"berm\" must be an object") : false;
  std::optional<double> height, width, slope;
  if (!ReadNumber(*v, "height", 0, false, height, error) ||
      !ReadNumber(*v, "topWidth", 0, true, width, error) ||
      !ReadNumber(*v, "sideSlope", 0, true, slope, error))
    return false;
  if (!height) return Fail(error, "\"berm\" needs its \"height\"");
  berm = design::Berm{*height, width.value_or(0), slope.value_or(0)};
  return true;
}

JsonValue SeismicJson(const design::SeismicChoice& seismic) {
  JsonValue v = JsonValue::Object();
  v.set("method", JsonValue::Text(std::string(engine::api::SeismicMethodOf(seismic.method).key)));
  v.set("kh", JsonValue::Number(seismic.kh));
  v.set("kv", JsonValue::Number(seismic.kv));
  return v;
}

JsonValue BermJson(const design::Berm& berm) {
  JsonValue v = JsonValue::Object();
  v.set("height", JsonValue::Number(berm.height));
  v.set("topWidth", JsonValue::Number(berm.topWidth));
  v.set("sideSlope", JsonValue::Number(berm.sideSlope));
  return v;
}

// Writes one face's theory, or removes its keys for Rankine's smooth wall
// (a record without them reads as that).
void SetFaceTheory(JsonValue& member, const std::string& face, const design::FaceTheory& theory) {
  const std::string theoryKey = face + "Theory", frictionKey = face + "WallFriction";
  if (theory.method == engine::api::EarthPressureMethod::Rankine) member.erase(theoryKey.c_str());
  else
    member.set(theoryKey.c_str(),
               JsonValue::Text(std::string(engine::api::TheoryOf(theory.method).key)));
  if (theory.deltaRatio == 0) member.erase(frictionKey.c_str());
  else member.set(frictionKey.c_str(), JsonValue::Number(theory.deltaRatio));
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", value);
  return text;
}

const char* FormWords(FsMethod form) {
  switch (form) {
    case FsMethod::Passive: return "on the passive pressure";
    case FsMethod::Strength: return "on the soil's strength (tan φ', c', su)";
    case FsMethod::NetPassive: break;
  }
  return "on the net available passive resistance";
}

const char* MethodWords(const std::optional<Method>& method) {
  if (!method)
    return "the method from the project (free earth support with an anchor or prop row, "
           "else fixed earth support)";
  switch (*method) {
    case Method::FixedEarth: return "fixed earth support (simplified)";
    case Method::FixedEarthFull: return "fixed earth support (full)";
    case Method::FreeEarth: break;
  }
  return "free earth support";
}

}  // namespace

std::optional<DesignRecord> ReadDesignRecord(const ProjectFile& project, std::string& error) {
  error.clear();
  const JsonValue* member = project.find("design");
  if (!member || member->type == JsonValue::Type::Null) return std::nullopt;
  if (!member->isObject()) {
    error = std::string(kWhich) + " is not a JSON object";
    return std::nullopt;
  }
  if (!OnlyKnownKeys(*member,
                     {"approach",
                      "method",
                      "fsMethod",
                      "fs",
                      "embedmentFactor",
                      "tipResolution",
                      "topDeflection",
                      "maxDeflection",
                      "failureCriterion",
                      "governingStage",
                      "appliedTip",
                      "appliedOn",
                      "projectNumber",
                      "engineer",
                      "checker",
                      "revision",
                      "backfillTheory",
                      "backfillWallFriction",
                      "excavationTheory",
                      "excavationWallFriction",
                      "apparentPressure",
                      "seismic",
                      "berm"},
                     kWhich, error))
    return std::nullopt;
  DesignRecord out;
  if (!ReadText(*member, "approach", out.approach, error) || !ReadWords(*member, out, error) ||
      !ReadNumbers(*member, out, error) || !ReadText(*member, "appliedOn", out.appliedOn, error) ||
      !ReadText(*member, "projectNumber", out.projectNumber, error) ||
      !ReadText(*member, "engineer", out.engineer, error) ||
      !ReadText(*member, "checker", out.checker, error) ||
      !ReadText(*member, "revision", out.revision, error) ||
      !ReadFaceTheory(*member, "backfill", out.request.backfillTheory, error) ||
      !ReadFaceTheory(*member, "excavation", out.request.excavationTheory, error) ||
      !ReadSeismic(*member, out.request.seismic, error) ||
      !ReadBerm(*member, out.request.berm, error))
    return std::nullopt;
  if (const JsonValue* apparent = member->find("apparentPressure")) {
    if (!ReadApparentRequest(*apparent, out.apparent.emplace(), error)) return std::nullopt;
  }
  return out;
}

void SetDesignRecord(ProjectFile& project, const std::optional<DesignRecord>& record) {
  if (!record) {
    project.erase("design");
    return;
  }
  const JsonValue* old = project.find("design");
  JsonValue member = old && old->isObject() ? *old : JsonValue::Object();
  auto text = [&](const char* key, const std::string& value) {
    if (value.empty()) member.erase(key);
    else member.set(key, JsonValue::Text(value));
  };
  auto number = [&](const char* key, const std::optional<double>& value) {
    if (value) member.set(key, JsonValue::Number(*value));
    else member.erase(key);
  };
  const design::DesignRequest& r = record->request;
  text("approach", record->approach);
  text("method", r.method ? design::MethodName(*r.method) : "");
  text("fsMethod", design::FsMethodName(r.fsMethod));
  number("fs", r.fs);
  number("embedmentFactor", r.embedmentFactor);
  number("tipResolution", r.resolution > 0 ? std::optional<double>(r.resolution) : std::nullopt);
  number("topDeflection", r.limits.topDeflection);
  number("maxDeflection", r.limits.maxDeflection);
  text("failureCriterion", design::FailureCriterionName(r.criterion));
  number("governingStage",
         record->governingStage ? std::optional<double>(*record->governingStage) : std::nullopt);
  number("appliedTip", record->appliedTip);
  text("appliedOn", record->appliedOn);
  text("projectNumber", record->projectNumber);
  text("engineer", record->engineer);
  text("checker", record->checker);
  text("revision", record->revision);
  SetFaceTheory(member, "backfill", r.backfillTheory);
  SetFaceTheory(member, "excavation", r.excavationTheory);
  if (record->apparent) member.set("apparentPressure", ApparentRequestJson(*record->apparent));
  else member.erase("apparentPressure");
  if (r.seismic) member.set("seismic", SeismicJson(*r.seismic));
  else member.erase("seismic");
  if (r.berm) member.set("berm", BermJson(*r.berm));
  else member.erase("berm");
  project.set("design", std::move(member));
}

std::optional<DesignRecord> ReadProjectDesignRecord(const std::filesystem::path& dataFile,
                                                    std::string& error) {
  return ReadProjectMember(dataFile, error, ReadDesignRecord);
}

bool SaveProjectDesignRecord(const std::filesystem::path& dataFile,
                             const std::optional<DesignRecord>& record, std::string& error) {
  return SaveProjectMember(
      dataFile, "design", record.has_value(),
      [&](ProjectFile& project) { SetDesignRecord(project, record); },
      "the design record is not saved", error);
}

DesignRecord DesignRecordInUnits(DesignRecord record, int fromUnits, int toUnits) {
  const double factor =
      engine::api::ConversionFactor(engine::api::Quantity::Length, fromUnits, toUnits);
  design::DesignRequest& r = record.request;
  r.resolution *= factor;
  for (std::optional<double>* length :
       {&r.limits.topDeflection, &r.limits.maxDeflection, &record.appliedTip})
    if (*length) **length *= factor;
  if (record.apparent) record.apparent = ApparentRequestScaled(*record.apparent, factor);
  if (r.berm) r.berm->height *= factor, r.berm->topWidth *= factor;
  return record;
}

std::string DesignChoicesText(const DesignRecord& record, const std::string& lengthUnit) {
  const design::DesignRequest& r = record.request;
  std::string out = record.approach.empty() ? "" : "design approach " + record.approach + ", ";
  out += MethodWords(r.method);
  if (record.approach.empty())
    out += ", factor of safety F = " + Number(r.fs) + " " + FormWords(r.fsMethod);
  if (r.embedmentFactor) out += ", embedment factor " + Number(*r.embedmentFactor);
  if (r.resolution > 0) out += ", tip resolution " + Number(r.resolution) + " " + lengthUnit;
  if (r.limits.topDeflection)
    out += ", top deflection at most " + Number(*r.limits.topDeflection) + " " + lengthUnit;
  if (r.limits.maxDeflection)
    out += ", largest deflection at most " + Number(*r.limits.maxDeflection) + " " + lengthUnit;
  out += std::string(", failure criterion ") + design::FailureCriterionName(r.criterion);
  if (const std::string theories = design::FaceTheoryWords(r); !theories.empty())
    out += ", earth pressure " + theories;
  if (r.berm)
    out += ", berm " + Number(r.berm->height) + " " + lengthUnit + " high, top " +
           Number(r.berm->topWidth) + " " + lengthUnit + " wide, side slope " +
           Number(r.berm->sideSlope);
  return out;
}

}  // namespace terraq::ui
