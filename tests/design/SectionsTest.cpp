// The section library's reader: its refusals, its unit conversions against
// hand conversions, the pipe closed forms against hand values, lookups and
// the user's file; and the integrity of the shipped library's data.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "SectionCheck.h"
#include "Sections.h"

namespace terraq::design {
namespace {

constexpr double kPi = 3.14159265358979323846;

SectionLibrary Parse(const std::string& text) {
  std::string error;
  std::optional<SectionLibrary> library = ParseSectionLibrary(text, "lib.txt", error);
  EXPECT_TRUE(library) << error;
  return library ? *library : SectionLibrary{};
}

TEST(SectionLibraryReader, RefusesBadLinesNamingFileLineAndWhy) {
  const std::string head = "family sheet-pile-z\nsource T\ncolumns name h[mm] I[cm4/m]\n";
  const struct {
    std::string text;
    std::string expected;
  } cases[] = {
      {"family sheet-pile-q\n", "lib.txt line 1: unknown family sheet-pile-q"},
      {"family sheet-pile-z\nsource T\ncolumns name h[furlong]\n",
       "line 3: unknown unit [furlong]"},
      {"family sheet-pile-z\nsource T\ncolumns name I[cm3/m]\n", "line 3: unknown unit [cm3/m]"},
      {"family sheet-pile-z\nsource T\ncolumns name colour[mm]\n", "line 3: unknown column colour"},
      {"family sheet-pile-z\nsource T\ncolumns name h\n", "needs a unit"},
      {head + "AZ1 300\n", "line 4: the row has 2 values for 3 columns"},
      {head + "AZ1 300 1000 7\n", "line 4: the row has 4 values"},
      {head + "AZ1 -300 1000\n", "line 4: the h of AZ1 is not a positive number: -300"},
      {head + "AZ1 0 1000\n", "not a positive number: 0"},
      {head + "AZ1 3x0 1000\n", "not a positive number: 3x0"},
      {head + "AZ1 nan 1000\n", "not a positive number: nan"},
      {head + "AZ1 300 1000\naz 1 300 1000\n", ""},  // blanks split the name: too many values
      {head + "AZ1 300 1000\naz1 300 1000\n", "line 5: az1 is read twice (first on line 4)"},
      {"AZ1 300 1000\n", "line 1: a row before"},
      {"family sheet-pile-z\ncolumns name h[mm] I[cm4/m]\nAZ1 300 1000\n",
       "line 3: the block names no source"},
      {"family pipe\nsource T\ncolumns name D[mm] t[mm]\nP 100 50\n", "needs D and t with 2t < D"},
      {"family steel-grade\nsource T\ncolumns name fy[MPa] E[GPa] use\nX 355 210 decorative\n",
       "sheet-pile, structural or sheet-pile,structural"},
      {"family wide-flange\nsource T\ncolumns name b[mm] bf[mm] I[cm4]\nW1 300 290 1000\n",
       "line 4: W1: bf is the flange width of a sheet pile; an I shape's is b"},
      {"family sheet-pile-u\nsource T\ncolumns name b[mm] bf[mm] I[cm4/m]\nU1 600 600 1000\n",
       "line 4: the flange width bf of U1 is not less than its width b"},
      {"family steel-grade\nsource T\ncolumns name fy[ksi] E[ksi] use\nS 1e308 29000 sheet-pile\n",
       "line 4: the fy of S is out of range in its unit: 1e308"},
      {head + std::string(5000, 'x') + "\n", "line 4: the line is longer than 4096 bytes"},
      {std::string(10 * 1024 * 1024 + 1, '#'), "larger than 10 MB"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseSectionLibrary(c.text, "lib.txt", error)) << c.text.substr(0, 80);
    EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    EXPECT_EQ(error.rfind("lib.txt", 0), 0u) << error;
  }
}

TEST(SectionLibraryReader, ConvertsEveryUnitToSiPerMetreOfWall) {
  // Hand conversions: 1 in = 0.0254 m, 1 ft = 0.3048 m, 1 lb = 0.45359237 kg,
  // 1 ksi = 6.894757 MPa; per foot of wall × 1/0.3048 to per metre.
  const SectionLibrary lib = Parse(
      "family sheet-pile-z\nsource American table\n"
      "columns name b[in] h[in] tf[in] bf[in] webAngle[deg] A[in2/ft] I[in4/ft] Wel[in3/ft] Wpl[in3/ft] mass[lb/ft2]\n"
      "PZX 22 9 0.375 12 45 6.47 84.4 18.1 - 22.0\n"
      "family wide-flange\nsource Metric table\n"
      "columns name b[cm] h[m] A[mm2] I[m4] Wel[cm3] mass[kg/m]\n"
      "WX 30 0.5 10000 0.0005 2000 78.5\n"
      "family steel-grade\nsource G\ncolumns name fy[ksi] E[Pa] use\nG50 50 2e11 structural\n"
      "G50B 50 2e11 sheet-pile,structural\n");
  const Section& z = lib.sections.at(0);
  EXPECT_NEAR(*z.width, 0.5588, 1e-9);
  EXPECT_NEAR(*z.height, 0.2286, 1e-9);
  EXPECT_NEAR(*z.flangeThickness, 0.009525, 1e-9);
  EXPECT_NEAR(*z.flangeWidth, 0.3048, 1e-9);
  EXPECT_DOUBLE_EQ(*z.webAngle, 45.0);
  EXPECT_NEAR(*z.area, 6.47 * 6.4516e-4 / 0.3048, 1e-12);               // 0.013695 m²/m
  EXPECT_NEAR(*z.secondMoment, 84.4 * 4.162314256e-7 / 0.3048, 1e-12);  // 1.1526e-4 m⁴/m
  EXPECT_NEAR(*z.elasticModulus, 18.1 * 1.6387064e-5 / 0.3048, 1e-12);
  EXPECT_FALSE(z.plasticModulus);                        // "-": absent, not zero
  EXPECT_NEAR(*z.massPerLength, 22.0 * 4.882428, 1e-5);  // kg/m²
  EXPECT_TRUE(z.perMetre());
  const Section& w = lib.sections.at(1);
  EXPECT_NEAR(*w.width, 0.30, 1e-12);
  EXPECT_NEAR(*w.area, 0.01, 1e-12);
  EXPECT_NEAR(*w.secondMoment, 5e-4, 1e-15);
  EXPECT_NEAR(*w.elasticModulus, 2e-3, 1e-12);
  EXPECT_FALSE(w.perMetre());
  const SteelGrade& g = lib.grades.at(0);
  EXPECT_NEAR(g.yieldStrength, 344.7379e6, 1e2);
  EXPECT_DOUBLE_EQ(g.elasticModulus, 2e11);
  EXPECT_EQ(g.source, "G");
  // A grade of both uses suits a sheet pile and a pile; a structural one only the pile.
  EXPECT_TRUE(lib.grades.at(1).rolledFor(z) && lib.grades.at(1).rolledFor(w));
  EXPECT_TRUE(g.rolledFor(w) && !g.rolledFor(z));
  const SectionLibrary lb =
      Parse("family h-pile\nsource T\ncolumns name I[in4] mass[lb/ft]\nH 100 57\n");
  EXPECT_NEAR(*lb.sections.at(0).massPerLength, 57 * 1.488164, 1e-4);
}

TEST(SectionLibraryReader, PipePropertiesMatchHandValues) {
  // D = 610 mm, t = 12.7 mm, d = 584.6 mm, by hand:
  // A = π(0.610² − 0.5846²)/4 = 0.0238312 m², I = π(0.610⁴ − 0.5846⁴)/64
  // = 1.063255e-3 m⁴, Wel = 2I/D = 3.486082e-3 m³, Wpl = (0.610³ − 0.5846³)/6
  // = 4.531627e-3 m³.
  const Section pipe = PipeSection("P", 0.610, 0.0127);
  EXPECT_NEAR(*pipe.area, 0.0238312, 1e-7);
  EXPECT_NEAR(*pipe.secondMoment, 1.063255e-3, 1e-9);
  EXPECT_NEAR(*pipe.elasticModulus, 3.486082e-3, 1e-9);
  EXPECT_NEAR(*pipe.plasticModulus, 4.531627e-3, 1e-9);
  // Thin-wall limits: A ≈ π Dm t, I ≈ π Dm³ t / 8 with Dm = D − t.
  const double dm = 0.610 - 0.0127;
  EXPECT_NEAR(*pipe.area / (kPi * dm * 0.0127), 1.0, 1e-9);
  EXPECT_NEAR(*pipe.secondMoment / (kPi * dm * dm * dm * 0.0127 / 8), 1.0, 2e-3);
  // A wall thin against the diameter keeps its area (D² − d² would cancel to 0),
  // and dimensions whose powers overflow are refused, not carried as infinity.
  const Section thin = PipeSection("T", 1e9, 1e-9);
  EXPECT_NEAR(*thin.area / (kPi * 1e9 * 1e-9), 1.0, 1e-9);
  EXPECT_TRUE(PipePropertiesComputable(thin));
  EXPECT_FALSE(PipePropertiesComputable(PipeSection("H", 1e200, 1)));
  std::string error;
  EXPECT_FALSE(
      ParseSectionLibrary("family pipe\nsource T\ncolumns name D[mm] t[mm]\n"
                          "P 6" +
                              std::string(200, '3') + " 12.7\n",
                          "lib.txt", error));
  EXPECT_NE(error.find("too large or too small"), std::string::npos) << error;
}

TEST(SectionLibraryReader, FindsByNameIgnoringCaseAndBlanksAndComputesNamedPipes) {
  const SectionLibrary lib = Parse(
      "family sheet-pile-z\nsource T\ncolumns name h[mm] I[cm4/m]\nAZ18-700 420 37800\n"
      "family steel-grade\nsource G\ncolumns name fy[MPa] E[GPa] use\nS355GP 355 210 sheet-pile\n"
      "S355 355 210 structural\n");
  ASSERT_TRUE(lib.findSection("az 18-700"));
  EXPECT_EQ(lib.findSection("az 18-700")->name, "AZ18-700");
  EXPECT_FALSE(lib.findSection("AZ18"));
  EXPECT_EQ(lib.findGrade("s355 gp")->name, "S355GP");
  EXPECT_EQ(lib.defaultGrade(lib.sections[0])->name, "S355GP");
  const std::optional<Section> pipe = lib.findPipe("pipe 610x12.7");
  ASSERT_TRUE(pipe);
  EXPECT_NEAR(*pipe->area, 0.0238312, 1e-7);
  EXPECT_EQ(lib.defaultGrade(*pipe)->name, "S355");
  EXPECT_FALSE(lib.findPipe("PIPE610x305"));  // 2t ≥ D
  EXPECT_FALSE(lib.findPipe("PIPE610"));
  EXPECT_FALSE(lib.findPipe("AZ99"));
}

TEST(SectionLibraryReader, UserFileReplacesShippedRowsAndAddsItsOwn) {
  const auto folder = std::filesystem::temp_directory_path() / "terraq_sections_test";
  std::filesystem::create_directories(folder);
  const auto shipped = folder / "shipped.txt", user = folder / "user.txt";
  std::ofstream(shipped)
      << "family sheet-pile-z\nsource T\ncolumns name h[mm] I[cm4/m]\nAZ1 300 1000\nAZ2 300 2000\n";
  std::string error;
  // No user file is no error.
  std::filesystem::remove(user);
  ASSERT_TRUE(LoadSectionLibrary(shipped.string(), user.string(), error)) << error;
  std::ofstream(user)
      << "family sheet-pile-z\nsource Mine\ncolumns name h[mm] I[cm4/m]\naz 1 400 3000\nAZ9 1 1\n";
  // "az 1" splits into two words: the row has 4 values.
  EXPECT_FALSE(LoadSectionLibrary(shipped.string(), user.string(), error));
  EXPECT_NE(error.find(user.string() + " line 4"), std::string::npos) << error;
  std::ofstream(user)
      << "family sheet-pile-z\nsource Mine\ncolumns name h[mm] I[cm4/m]\naz1 400 3000\nAZ9 1 1\n";
  const auto lib = LoadSectionLibrary(shipped.string(), user.string(), error);
  ASSERT_TRUE(lib) << error;
  ASSERT_EQ(lib->sections.size(), 3u);
  EXPECT_NEAR(*lib->findSection("AZ1")->secondMoment, 3000e-8, 1e-15);
  EXPECT_EQ(lib->findSection("AZ1")->origin, user.string());
  EXPECT_EQ(lib->findSection("AZ2")->origin, shipped.string());
  std::filesystem::remove_all(folder);
}

// Catches typos in the shipped data: Wel = 2I/h for sections symmetric
// about the wall's axis, mass = 7850 kg/m³ · A, a source on every block,
// unique names, every grade of the brief's list present.
TEST(ShippedSectionLibrary, DataAreConsistent) {
  const std::string path = std::string(TERRAQ_SOURCE_DIR) + "/resources/sections/sections.txt";
  std::string error;
  const auto lib = LoadSectionLibrary(path, "", error);
  ASSERT_TRUE(lib) << error;
  std::set<SectionFamily> families;
  for (const Section& s : lib->sections) {
    families.insert(s.family);
    EXPECT_FALSE(s.source.empty()) << s.name;
    if (s.height && s.secondMoment && s.elasticModulus) {
      EXPECT_NEAR(*s.elasticModulus / (2 * *s.secondMoment / *s.height), 1.0, 0.03) << s.name;
    }
    if (s.area && s.massPerLength) {
      EXPECT_NEAR(*s.massPerLength / (*s.area * 7850), 1.0, 0.03) << s.name;
    }
    if (s.elasticModulus && s.plasticModulus) {
      EXPECT_GT(*s.plasticModulus, *s.elasticModulus) << s.name;
    }
    // Every catalogue sheet pile has its flange width, narrower than the pile.
    if (s.perMetre()) {
      ASSERT_TRUE(s.flangeWidth && s.width) << s.name;
      EXPECT_LT(*s.flangeWidth, *s.width) << s.name;
    }
  }
  EXPECT_EQ(families.size(), 5u);
  for (const char* grade :
       {"S240GP", "S270GP", "S320GP", "S355GP", "S390GP", "S430GP", "S235", "S275", "S355", "A328",
        "A572-50", "A572-60", "A690", "A992", "A36", "A252-2", "A252-3"}) {
    const SteelGrade* g = lib->findGrade(grade);
    ASSERT_TRUE(g) << grade;
    const bool american = grade[0] == 'A';
    EXPECT_NEAR(g->elasticModulus, american ? 29000 * 6.894757e6 : 210e9, 1e6) << grade;
  }
}

// The W and HP shapes as the steel-shape tables publish them: the weight in
// the name (lb/ft) is the area (in²) times 3.4 (490 lb/ft³ of steel over
// 144 in²/ft²) within 2 %, Sx = 2Ix/d within 3 % and Zx > Sx (above, for
// every row), and each row has what the Eurocode check of an I shape needs.
TEST(ShippedSectionLibrary, SteelShapesMatchTheirNamesAndCanBeChecked) {
  const std::string path = std::string(TERRAQ_SOURCE_DIR) + "/resources/sections/sections.txt";
  std::string error;
  const auto lib = LoadSectionLibrary(path, "", error);
  ASSERT_TRUE(lib) << error;
  constexpr double kSquareInch = 0.0254 * 0.0254;
  std::map<SectionFamily, int> count;
  for (const Section& s : lib->sections) {
    if (s.family != SectionFamily::WideFlange && s.family != SectionFamily::HPile) continue;
    ++count[s.family];
    const size_t x = s.name.find('X');
    ASSERT_NE(x, std::string::npos) << s.name;
    const double weight = std::stod(s.name.substr(x + 1));  // lb/ft
    ASSERT_TRUE(s.area && s.width && s.height && s.flangeThickness && s.webThickness &&
                s.elasticModulus && s.plasticModulus && s.massPerLength)
        << s.name;
    EXPECT_NEAR(*s.area / kSquareInch * 3.4 / weight, 1.0, 0.02) << s.name;
    EXPECT_NEAR(*s.massPerLength / (weight * 1.488164), 1.0, 1e-6) << s.name;
    EXPECT_FALSE(s.flangeWidth) << s.name;
    const SteelGrade* grade = lib->findGrade("A992");
    ASSERT_TRUE(grade && grade->rolledFor(s));
    EXPECT_EQ(CheckWall(s, *grade, CheckSettings{}, 1.0, {}).error, "") << s.name;
  }
  EXPECT_GE(count[SectionFamily::WideFlange], 25);
  EXPECT_GE(count[SectionFamily::HPile], 11);
  for (const char* name : {"W8X31", "W14X90", "W36X150", "HP8X36", "HP14X117", "HP18X204"})
    EXPECT_TRUE(lib->findSection(name)) << name;
  for (const char* name : {"A36", "A572-50", "A992"})
    EXPECT_TRUE(lib->findGrade(name)->rolledFor(*lib->findSection("HP12X53"))) << name;
  EXPECT_TRUE(lib->findGrade("A572-50")->rolledFor(*lib->findSection("AZ18")));
}

}  // namespace
}  // namespace terraq::design
