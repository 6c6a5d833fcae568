#pragma once
// The section library: steel sheet piles, soldier-pile and king-pile shapes
// and pipe piles, and the steel grades they are rolled in, as published
// tables give them. The program ships one library file; the engineer adds
// sections of their own in a file of the same form beside the settings.
//
// The file is readable text in blocks, one block per family of one table:
//
//   # a comment
//   family  sheet-pile-z
//   source  Steel sheet piling catalogue, Z sections table, 2023 edition
//   columns name  b[mm]  h[mm]  tf[mm]  tw[mm]  A[cm2/m]  I[cm4/m]  Wel[cm3/m]  Wpl[cm3/m]
//   AZ18     630  380  9.5  9.5  150.4  34200  1800  2104
//
// Every column carries its unit in brackets; the reader converts every value
// to SI base units (m, m², m³, m⁴, Pa), so nothing downstream depends on the
// unit a table was published in. Names hold no blanks; a name is found
// ignoring case and blanks ("az 18" finds AZ18).
//
// Units: every length in m, areas in m², moduli in m³, second moments in
// m⁴, strengths and moduli of elasticity in Pa. Sheet piles are per metre
// of wall (perMetre), every other family per pile.
// Thread safety: pure functions; a library is a value.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace terraq::design {

enum class SectionFamily {
  SheetPileU,  // sheet-pile-u: interlocks on the wall's centre line
  SheetPileZ,  // sheet-pile-z: interlocks on the outer faces
  WideFlange,  // wide-flange: rolled I shapes of the steel-shape tables
  HPile,       // h-pile: bearing-pile H shapes
  Pipe,        // pipe: circular hollow piles by diameter and wall thickness
};

// The family's word in the library file and in JSON ("sheet-pile-z", ...).
std::string_view FamilyWord(SectionFamily family);
std::optional<SectionFamily> FamilyOfWord(std::string_view word);
bool IsSheetPile(SectionFamily family);

struct Section {
  std::string name;
  SectionFamily family = SectionFamily::SheetPileZ;
  // Per metre of wall (sheet piles) or per pile (every other family).
  bool perMetre() const { return IsSheetPile(family); }

  // Geometry, m. Sheet piles: b the system width of one pile, h the height
  // of the wall, tf and tw the flange and web thickness. I shapes: b the
  // flange width, h the depth. Pipes: h the outside diameter, tw the wall
  // thickness (tf, b unused).
  std::optional<double> width, height, flangeThickness, webThickness;
  // Sheet piles: the width of one flange (bf) as the catalogue gives it for
  // the cross-section class, narrower than b. Absent when the table does not
  // give it; the class then takes b, an upper bound. I shapes and pipes have
  // none (b is an I shape's flange width).
  std::optional<double> flangeWidth;
  // Angle of a sheet pile's web to the wall's plane, degrees (shear-bending
  // interaction); absent when the table does not give it.
  std::optional<double> webAngle;
  // Cross-section properties about the axis of bending of the wall.
  std::optional<double> area;            // A, m² (per metre or per pile)
  std::optional<double> secondMoment;    // I, m⁴
  std::optional<double> elasticModulus;  // Wel, m³
  std::optional<double> plasticModulus;  // Wpl, m³
  std::optional<double> massPerLength;   // kg/m (per m² of wall for sheet piles)

  std::string source;  // the published table and its edition
  std::string origin;  // the library file it was read from
};

struct SteelGrade {
  std::string name;       // S355GP, A572-50, ...
  double yieldStrength{};  // fy, Pa
  double elasticModulus{}; // E, Pa
  // Which families it is rolled for: "sheet-pile", "structural", or
  // "sheet-pile,structural" for a grade of both (A572 Grade 50).
  std::string use;
  bool rolledFor(const Section& section) const;
  std::string source;
  std::string origin;
};

struct SectionLibrary {
  std::vector<Section> sections;
  std::vector<SteelGrade> grades;

  // By name, ignoring case and blanks; nullptr when there is none.
  const Section* findSection(std::string_view name) const;
  // A row of the library by name, or else a name "PIPE<D>x<t>" with D and t
  // in mm ("PIPE610x12.7", 2t < D) as a pipe computed on the spot; nullopt
  // when neither. A copy, so a computed pipe needs no storage in the library.
  std::optional<Section> findPipe(std::string_view name) const;
  const SteelGrade* findGrade(std::string_view name) const;
  // Up to `count` names of sections nearest to `name` (by edit distance,
  // ignoring case and blanks), "AZ18, AZ18-700, ..."; for the message of a
  // name not found.
  std::string nearestSectionNames(std::string_view name, size_t count = 5) const;
  // The grade a section is checked in when the engineer names none.
  const SteelGrade* defaultGrade(const Section& section) const;
};

// The properties of a circular hollow section of outside diameter D and wall
// thickness t (m), exact: A = π(D² − d²)/4, I = π(D⁴ − d⁴)/64,
// Wel = 2I/D, Wpl = (D³ − d³)/6 with d = D − 2t.
Section PipeSection(std::string name, double diameter, double thickness);
// Whether every property PipeSection computed is finite and positive: not so
// when D and t are so large or so small that a power overflows or underflows.
bool PipePropertiesComputable(const Section& pipe);

// Reads the text of one library file. `origin` names it in messages and in
// each row's `origin`. Nullopt with `error` ("FILE line N: why") when a line
// is not understood: an unknown unit, family or column, a row with too few
// or too many values, a value that is not a positive number, a name read
// twice.
std::optional<SectionLibrary> ParseSectionLibrary(std::string_view text,
                                                  const std::string& origin,
                                                  std::string& error);

// The shipped library at `shippedPath` followed by the user's file at
// `userPath` when it exists (no file there is no error); a row of the user's
// file replaces a shipped row of the same name. Where the files live is the
// program's business (the core's SectionLibraryFiles).
std::optional<SectionLibrary> LoadSectionLibrary(const std::string& shippedPath,
                                                 const std::string& userPath,
                                                 std::string& error);

}  // namespace terraq::design
