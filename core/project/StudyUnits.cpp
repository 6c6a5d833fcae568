#include "project/StudyUnits.h"

#include "api/SoilModelTable.h"
#include "api/Subgrade.h"

namespace terraq::ui {

namespace {

using engine::api::Quantity;

// The name of a parameter or output without its "stage.K." or "longterm."
// prefix.
std::string Unprefixed(const std::string& name) {
  if (name.rfind("stage.", 0) == 0) {
    const size_t dot = name.find('.', 6);
    return dot == std::string::npos ? name : name.substr(dot + 1);
  }
  if (name.rfind("longterm.", 0) == 0) return name.substr(9);
  return name;
}

Quantity ParameterQuantity(const std::string& name) {
  const std::string n = Unprefixed(name);
  if (n.rfind("layer.", 0) == 0) {
    // A layer's soil parameter, or one of its subgrade-reaction springs.
    const std::string key = n.substr(n.rfind('.') + 1);
    if (const engine::api::SoilParameter* p = engine::api::FindSoilParameter(key))
      return p->quantity;
    const engine::api::SubgradeParameter* spring = engine::api::FindSubgradeParameter(key);
    return spring ? spring->quantity : Quantity::Ratio;
  }
  if (n == "tip" || n == "excavation" || n.rfind("water.", 0) == 0) return Quantity::Length;
  if (n == "ei") return Quantity::FlexuralRigidity;
  if (n.rfind("spring.", 0) == 0) return Quantity::ForcePerLength;
  if (n.rfind("load.", 0) == 0) return Quantity::Force;
  if (n == "surcharge") return Quantity::Pressure;
  return Quantity::Ratio;
}

Quantity OutputQuantity(const std::string& name) {
  const std::string n = Unprefixed(name);
  if (n == "top" || n == "deflection") return Quantity::Length;
  if (n == "moment") return Quantity::Moment;
  if (n == "heave" || n == "kranz" || n == "slip") return Quantity::Ratio;  // factors of safety
  return Quantity::Force;  // shear, support.N, supportForce.NAME
}

}  // namespace

std::string ParameterUnit(const std::string& name, int code) {
  return std::string(engine::api::UnitLabel(ParameterQuantity(name), code));
}

std::string OutputUnit(const std::string& name, int code) {
  return std::string(engine::api::UnitLabel(OutputQuantity(name), code));
}

double StudyValueFactor(const std::string& name, bool output, int from, int to) {
  return engine::api::ConversionFactor(output ? OutputQuantity(name) : ParameterQuantity(name),
                                       from, to);
}

}  // namespace terraq::ui
