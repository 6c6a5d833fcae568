#include "controls/UnitsCode.h"

#include <cmath>

#include "controls/ConvertedValue.h"

namespace terraq::ui {

namespace {

struct UnitLetter {
  std::string_view token;
  const char* names[3];  // English, SI, other
  long double englishPerSI;
};

// Longest tokens are matched first by looking at the digit after the letter.
constexpr UnitLetter kForce[] = {
    {"F", {"lbs", "kN", "F"}, 224.8089237L},
    {"F1", {"kips", "kN", "F"}, 0.2248089237L},
    {"F2", {"tons", "kN", "F"}, 0.1124044745L},
};
constexpr UnitLetter kLength[] = {
    {"L", {"in", "m", "L"}, 39.37007874L},
    {"L1", {"in", "mm", "L"}, 0.0393700787L},
    {"L2", {"ft", "m", "L"}, 3.280839895L},
    {"L3", {"rad", "rad", "L"}, 1.0L},
};

// The unit letter starting at code[k], or nullptr; `length` receives the
// number of characters it takes (1 or 2).
const UnitLetter* letterAt(std::string_view code, size_t k, size_t& length) {
  const char c = code[k];
  if (c != 'F' && c != 'L') return nullptr;
  const char next = k + 1 < code.size() ? code[k + 1] : '\0';
  if (c == 'F') {
    length = (next == '1' || next == '2') ? 2 : 1;
    return &kForce[length == 2 ? next - '0' : 0];
  }
  length = (next >= '1' && next <= '3') ? 2 : 1;
  return &kLength[length == 2 ? next - '0' : 0];
}

int clampSystem(int system) { return system < 1 ? 1 : (system > 3 ? 3 : system); }

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
    text.replace(pos, from.size(), to);
}

bool contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

struct Substitution {
  std::string_view letters;
  const char* english;
  const char* si;
};

// Replaces the first of `forms` that occurs (every occurrence of it).
void substituteFirst(std::string& text, const Substitution* forms, size_t count, int units) {
  for (size_t i = 0; i < count; ++i) {
    if (contains(text, forms[i].letters)) {
      replaceAll(text, forms[i].letters, units == kEnglishUnits ? forms[i].english : forms[i].si);
      return;
    }
  }
}

}  // namespace

std::vector<UnitTerm> ParseUnitsCode(std::string_view code) {
  std::vector<UnitTerm> terms;
  bool denominator = false;
  for (size_t k = 0; k < code.size();) {
    if (code[k] == '/') {
      denominator = true;
      ++k;
      continue;
    }
    size_t length = 0;
    if (!letterAt(code, k, length)) {
      ++k;
      continue;
    }
    UnitTerm term;
    term.dimension = code[k];
    term.variant = length == 2 ? code[k + 1] - '0' : 0;
    term.denominator = denominator;
    k += length;
    if (k + 1 < code.size() && code[k] == '^' && code[k + 1] >= '0' && code[k + 1] <= '9') {
      term.exponent = code[k + 1] - '0';
      k += 2;
    }
    terms.push_back(term);
  }
  return terms;
}

bool IsConvertibleCode(std::string_view code) { return !code.empty() && code != "SEE NOTES"; }

std::string UnitText(std::string_view code, int system) {
  const int index = clampSystem(system) - 1;
  std::string text;
  for (size_t k = 0; k < code.size();) {
    size_t length = 0;
    if (const UnitLetter* letter = letterAt(code, k, length)) {
      text += letter->names[index];
      k += length;
    } else {
      text += code[k++];
    }
  }
  return text;
}

long double EnglishPerSI(std::string_view code) {
  long double factor = 1;
  for (const UnitTerm& term : ParseUnitsCode(code)) {
    const UnitLetter& letter = term.dimension == 'F' ? kForce[term.variant] : kLength[term.variant];
    const long double power = std::pow(letter.englishPerSI, static_cast<long double>(term.exponent));
    factor = term.denominator ? factor / power : factor * power;
  }
  return factor;
}

long double ConvertUnits(long double value, std::string_view code, int fromSystem, int toSystem) {
  if (!IsConvertibleCode(code)) return value;
  if (fromSystem == kSIUnits && toSystem == kEnglishUnits)
    return RoundConverted(value * EnglishPerSI(code));
  if (fromSystem == kEnglishUnits && toSystem == kSIUnits)
    return RoundConverted(value / EnglishPerSI(code));
  return value;
}

long double FileFactor(std::string_view code, int system) {
  if (system != kEnglishUnits || !IsConvertibleCode(code)) return 1;
  int feet = 0;
  for (const UnitTerm& term : ParseUnitsCode(code))
    if (term.dimension == 'L' && term.variant == 2) feet += term.denominator ? -term.exponent : term.exponent;
  return std::pow(12.0L, static_cast<long double>(feet));
}

long double ShownValue(double held, std::string_view code, int system) {
  const long double factor = FileFactor(code, system);
  return factor >= 1 ? held / factor : held * std::round(1 / factor);
}

double HeldValue(long double shown, std::string_view code, int system) {
  const long double factor = FileFactor(code, system);
  return static_cast<double>(factor >= 1 ? shown * factor : shown / std::round(1 / factor));
}

std::string UnitsSwitchQuestion(int fromSystem, int toSystem) {
  fromSystem = clampSystem(fromSystem);
  toSystem = clampSystem(toSystem);
  if (fromSystem == toSystem || (fromSystem != kOtherUnits && toSystem != kOtherUnits)) return {};
  static constexpr const char* kNames[] = {"English Units (lbs, in)", "SI Units (kN, m)", "Other Units (F, L)"};
  return std::string("Values are not converted to or from Other Units: every number of the project keeps its "
                     "value and is then read in ") +
         kNames[toSystem - 1] + ".\n\nSwitch to " + kNames[toSystem - 1] + " anyway?";
}

std::string UnitSubstitute(std::string_view text, int units) {
  std::string out(text);
  if (units != kEnglishUnits && units != kSIUnits) return out;
  static constexpr Substitution kForces[] = {{"F2", "tons", "kN"}, {"F1", "kips", "kN"}, {"F", "lbs", "kN"}};
  static constexpr Substitution kLengths[] = {{"L2", "ft", "m"}, {"L1", "in", "mm"}, {"L", "in", "m"}};
  substituteFirst(out, kForces, std::size(kForces), units);
  substituteFirst(out, kLengths, std::size(kLengths), units);
  return out;
}

std::string FieldUnitText(std::string_view text, int units) {
  std::string out(text);
  if (units != kEnglishUnits && units != kSIUnits) return out;
  static constexpr Substitution kForces[] = {{"F6", "slug", "Mg"}, {"F5", "sec", "sec"}, {"F4", "lb-sec2/in", "Mg"},
                                             {"F2", "tons", "kN"}, {"F1", "kips", "kN"}, {"F", "lbs", "kN"}};
  static constexpr Substitution kLengths[] = {
      {"L2", "ft", "m"}, {"L1", "in", "mm"}, {"L3", "rad", "rad"}, {"L", "in", "m"}};
  substituteFirst(out, kForces, std::size(kForces), units);
  substituteFirst(out, kLengths, std::size(kLengths), units);
  return out;
}

}  // namespace terraq::ui
