#include "project/DesignRecordApparent.h"

#include <cmath>
#include <cstdio>

#include "project/ProjectFile.h"

namespace terraq::ui {

namespace {

using design::EnvelopeSoil;
using design::EnvelopeSource;

constexpr const char* kWhich = "the project's design record, \"apparentPressure\"";

bool Fail(std::string& error, const std::string& why) {
  error = std::string(kWhich) + ": " + why;
  return false;
}

// An optional number in [low, high] (above low when `open`).
bool ReadNumber(const JsonValue& member, const char* key, double low, double high, bool open,
                std::optional<double>& value, std::string& error) {
  const JsonValue* v = member.find(key);
  if (!v) return true;
  const bool inside = v->isNumber() && std::isfinite(v->number) &&
                      (open ? v->number > low : v->number >= low) && v->number <= high;
  if (!inside) return Fail(error, std::string("\"") + key + "\" is out of its range");
  value = v->number;
  return true;
}

bool ReadWords(const JsonValue& member, design::ApparentRequest& r, std::string& error) {
  if (const JsonValue* v = member.find("envelope")) {
    const bool fhwa = v->isString() && v->string == design::SourceKey(EnvelopeSource::Fhwa);
    const bool tp = v->isString() && v->string == design::SourceKey(EnvelopeSource::TerzaghiPeck);
    if (!fhwa && !tp) return Fail(error, "\"envelope\" must be \"fhwa\" or \"terzaghi-peck\"");
    r.source = fhwa ? EnvelopeSource::Fhwa : EnvelopeSource::TerzaghiPeck;
  }
  if (const JsonValue* v = member.find("soil")) {
    for (EnvelopeSoil soil : {EnvelopeSoil::Sand, EnvelopeSoil::SoftClay, EnvelopeSoil::StiffClay})
      if (v->isString() && v->string == design::SoilKey(soil)) r.soil = soil;
    if (!r.soil) return Fail(error, "\"soil\" must be \"sand\", \"soft-clay\" or \"stiff-clay\"");
  }
  if (const JsonValue* v = member.find("softBase")) {
    if (v->type != JsonValue::Type::Bool) return Fail(error, "\"softBase\" must be true or false");
    r.softBase = v->boolean;
  }
  return true;
}

bool ReadSupports(const JsonValue& member, design::ApparentRequest& r, std::string& error) {
  const JsonValue* v = member.find("supports");
  if (!v) return true;
  std::vector<double> depths;
  for (const JsonValue& item : v->isArray() ? v->items : std::vector<JsonValue>{})
    if (item.isNumber() && std::isfinite(item.number)) depths.push_back(item.number);
  if (!v->isArray() || depths.size() != v->items.size() || depths.empty())
    return Fail(error, "\"supports\" must be a list of depths");
  if (const std::string why = design::RefuseSupports(depths, HUGE_VAL); !why.empty())
    return Fail(error, "\"supports\": " + why);
  r.supports = std::move(depths);
  return true;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", value);
  return text;
}

}  // namespace

bool ReadApparentRequest(const JsonValue& member, design::ApparentRequest& request,
                         std::string& error) {
  if (!member.isObject()) return Fail(error, "it is not a JSON object");
  if (!OnlyKnownKeys(member,
                     {"envelope", "soil", "clayFactor", "softBase", "failureDepth", "supports",
                      "spacing", "inclination"},
                     kWhich, error))
    return false;
  design::ApparentRequest r;
  std::optional<double> clayFactor, inclination;
  if (!ReadWords(member, r, error) || !ReadSupports(member, r, error) ||
      !ReadNumber(member, "clayFactor", design::kLeastClayFactor, design::kMostClayFactor, false,
                  clayFactor, error) ||
      !ReadNumber(member, "failureDepth", 0, HUGE_VAL, false, r.failureDepth, error) ||
      !ReadNumber(member, "spacing", 0, HUGE_VAL, true, r.layout.spacing, error) ||
      !ReadNumber(member, "inclination", 0, 89.999, false, inclination, error))
    return false;
  if (clayFactor) r.clayFactor = *clayFactor;
  if (inclination) r.layout.inclination = *inclination;
  request = std::move(r);
  return true;
}

JsonValue ApparentRequestJson(const design::ApparentRequest& r) {
  JsonValue out = JsonValue::Object();
  out.set("envelope", JsonValue::Text(design::SourceKey(r.source)));
  if (r.soil) out.set("soil", JsonValue::Text(design::SoilKey(*r.soil)));
  out.set("clayFactor", JsonValue::Number(r.clayFactor));
  if (r.softBase) out.set("softBase", JsonValue::Bool(true));
  if (r.failureDepth) out.set("failureDepth", JsonValue::Number(*r.failureDepth));
  if (r.supports) {
    std::vector<JsonValue> depths;
    for (double depth : *r.supports) depths.push_back(JsonValue::Number(depth));
    out.set("supports", JsonValue::Array(std::move(depths)));
  }
  if (r.layout.spacing) out.set("spacing", JsonValue::Number(*r.layout.spacing));
  if (r.layout.inclination != 0) out.set("inclination", JsonValue::Number(r.layout.inclination));
  return out;
}

design::ApparentRequest ApparentRequestScaled(design::ApparentRequest r, double factor) {
  if (r.failureDepth) *r.failureDepth *= factor;
  if (r.layout.spacing) *r.layout.spacing *= factor;
  if (r.supports)
    for (double& depth : *r.supports) depth *= factor;
  return r;
}

std::string ApparentChoicesText(const design::ApparentRequest& r, const std::string& lengthUnit) {
  std::string out = std::string("apparent-pressure envelope of ") +
                    (r.source == EnvelopeSource::Fhwa ? "FHWA" : "Terzaghi and Peck") +
                    ", the soil " +
                    (r.soil ? std::string("taken as ") + design::SoilKey(*r.soil)
                            : std::string("as the data file's"));
  if (!r.soil || *r.soil == EnvelopeSoil::StiffClay)
    out += ", stiff-clay factor " + Number(r.clayFactor);
  if (r.softBase) out += ", deep soft clay below the cut";
  if (r.failureDepth) out += ", failure surface " + Number(*r.failureDepth) + " " + lengthUnit;
  if (r.supports) {
    out += ", supports at";
    for (size_t k = 0; k < r.supports->size(); ++k)
      out += (k ? ", " : " ") + Number((*r.supports)[k]);
    out += " " + lengthUnit;
  } else {
    out += ", supports from the springs table";
  }
  if (r.layout.spacing)
    out += ", anchors " + Number(*r.layout.spacing) + " " + lengthUnit + " apart at " +
           Number(r.layout.inclination) + " degrees";
  return out;
}

}  // namespace terraq::ui
