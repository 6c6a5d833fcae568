#include "UnitLabels.h"

namespace terraq::engine {

std::string UnitLabels::moment() const {
  return std::string(shortForce()) + std::string(dash()) + std::string(shortLength());
}

std::string UnitLabels::flexuralRigidity() const {
  return moment() + std::string(power()) + std::string(two());
}

std::string UnitLabels::forcePerLength() const {
  return std::string(force()) + std::string(slash()) + std::string(shortLength());
}

std::string UnitLabels::shortForcePerLength() const {
  return std::string(shortForce()) + std::string(slash()) + std::string(shortLength());
}

std::string UnitLabels::rotationalStiffness() const {
  return moment() + std::string(slash()) + std::string(piece(22, 24));
}

std::string UnitLabels::stress() const {
  return shortForcePerLength() + std::string(power()) + std::string(two());
}

std::string UnitLabels::unitWeight() const {
  return shortForcePerLength() + std::string(power()) + std::string(three());
}

void SetUnitLabels(UnitLabels& labels, int flag) {
  // Pieces 13..24 are the same in every set.
  static constexpr std::string_view kCommon = "/-**23  4RAD";
  std::string_view own;
  if (flag > 0) own = " IN LBSINLBS";
  else if (flag < 0) own = "  M  KN M KN";
  else own = "  L   F L  F";
  labels.buffer = std::string(own) + std::string(kCommon);
}

}  // namespace terraq::engine
