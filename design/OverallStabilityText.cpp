#include "OverallStabilityText.h"

#include "FourDigits.h"
#include "SlipCircle.h"
#include "api/Units.h"

namespace terraq::design {

CheckLine OverallStabilityLine(const SlipSearchResult* overall, const std::string& skipped,
                               int units) {
  if (!overall) return {"   overall stability not checked: " + skipped};
  if (overall->error) return {"   overall stability not checked: " + *overall->error};
  using engine::api::Quantity;
  constexpr int kMetres = 2;  // the slip circle's units
  const auto length = [units](double metres) {
    return FourDigits(engine::api::ConvertValue(metres, Quantity::Length, kMetres, units)) + " " +
           std::string(engine::api::UnitLabel(Quantity::Length, units));
  };
  const SlipResult& c = overall->critical;
  return {"   overall stability (Bishop): F = " + FourDigits(c.factor) +
              " on the critical slip circle, centre x = " + length(c.circle.xc) +
              ", y = " + length(c.circle.yc) + ", radius " + length(c.circle.radius),
          c.factor < kRequiredGroundFactor};
}

}  // namespace terraq::design
