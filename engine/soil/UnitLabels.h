#pragma once
// The unit labels of the engine's report: a 24-character buffer of pieces
// that every heading composes into unit texts (LBS-IN**2, KN/M, ...).
//
//   1-3 length (3 wide)   4-7 force (4 wide)   8-9 short length   10-12 short force
//   13 "/"  14 "-"  15-16 "**"  17 "2"  18-20 "3  "  21 "4"  22-24 "RAD"

#include <string>
#include <string_view>

namespace terraq::engine {

struct UnitLabels {
  std::string buffer;

  std::string_view piece(int first, int last) const {
    return std::string_view(buffer).substr(static_cast<size_t>(first - 1),
                                           static_cast<size_t>(last - first + 1));
  }
  std::string_view length() const { return piece(1, 3); }        // L, " IN"
  std::string_view force() const { return piece(4, 7); }         // F, " LBS"
  std::string_view shortLength() const { return piece(8, 9); }   // l, "IN"
  // The short length without its padding, for a unit inside a sentence.
  std::string_view lengthWord() const {
    const std::string_view l = shortLength();
    return l.substr(0, l.find_last_not_of(' ') + 1);
  }
  std::string_view shortForce() const { return piece(10, 12); }  // f, "LBS"
  std::string_view slash() const { return piece(13, 13); }
  std::string_view dash() const { return piece(14, 14); }
  std::string_view power() const { return piece(15, 16); }
  std::string_view two() const { return piece(17, 17); }
  std::string_view three() const { return piece(18, 18); }

  // Composed labels used by several report sections.
  std::string moment() const;              // f-l
  std::string flexuralRigidity() const;    // f-l**2
  std::string forcePerLength() const;      // F/l
  std::string shortForcePerLength() const; // f/l
  std::string rotationalStiffness() const; // f-l/RAD
  std::string stress() const;              // f/l**2 (cohesion, pressure)
  std::string unitWeight() const;          // f/l**3
};

// Fills `labels`: flag > 0 English, flag < 0 SI, 0 generic.
void SetUnitLabels(UnitLabels& labels, int flag);

}  // namespace terraq::engine
