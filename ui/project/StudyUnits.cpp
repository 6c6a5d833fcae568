#include "project/StudyUnits.h"

#include <cmath>

#include "project/RunSummary.h"

namespace terraq::ui {

namespace {

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

}  // namespace

std::string ParameterUnit(const std::string& name, int code) {
  const std::string n = Unprefixed(name);
  const bool english = code == 1, si = code == 2;
  auto unit = [&](const char* e, const char* s, const char* generic) {
    return std::string(english ? e : si ? s : generic);
  };
  const std::string field = n.rfind("layer.", 0) == 0 ? n.substr(n.rfind('.') + 1) : n;
  if (n == "tip" || n == "excavation" || n.rfind("water.", 0) == 0) return unit("in", "m", "L");
  if (n == "ei") return unit("lb-in2", "kN-m2", "F-L2");
  if (n.rfind("spring.", 0) == 0) return unit("lb/in", "kN/m", "F/L");
  if (n.rfind("load.", 0) == 0) return unit("lb", "kN", "F");
  if (n == "surcharge" || field == "su" || field == "c" || field == "qu" || field == "em")
    return unit("lb/in2", "kN/m2", "F/L2");
  if (field == "gamma" || field == "k") return unit("lb/in3", "kN/m3", "F/L3");
  if (field == "phi") return "deg";
  if (field == "rqd") return "%";
  return "";  // e50, krm: ratios
}

std::string OutputUnit(const std::string& name, int code) {
  const ui::ResultUnits u = ui::ResultUnitsFor(code);
  const std::string n = Unprefixed(name);
  if (n == "top" || n == "deflection") return u.length;
  if (n == "moment") return u.moment;
  return u.force;  // shear, support.N, supportForce.NAME
}

double StudyValueFactor(const std::string& name, bool output, int from, int to) {
  if (from == to || (from != 1 && from != 2) || (to != 1 && to != 2)) return 1.0;
  // The generic label says the dimensions: L^a F^b as "F/L2", "F-L", ...
  const std::string label = output ? OutputUnit(name, 3) : ParameterUnit(name, 3);
  int length = 0, force = 0;
  if (label.find('F') != std::string::npos) force = 1;
  if (label == "L") length = 1;
  else if (const size_t l = label.find('L'); l != std::string::npos && force == 1) {
    const int power =
        l + 1 < label.size() && label[l + 1] >= '2' && label[l + 1] <= '9' ? label[l + 1] - '0' : 1;
    length = label.find('/') != std::string::npos ? -power : power;
  }
  constexpr double kMetresPerInch = 0.0254, kKilonewtonsPerPound = 4.4482216152605e-3;
  const double toSi = std::pow(kMetresPerInch, length) * std::pow(kKilonewtonsPerPound, force);
  return from == 1 ? toSi : 1.0 / toSi;
}

}  // namespace terraq::ui
