// The last chapter of the calculation package: the methods the project
// uses, each with the published work it follows, as the technical manual
// describes them, and where the manual verifies them. Only what the
// project uses is named: a checker reads the methods of this wall.

#include <algorithm>
#include <map>
#include <set>

#include "PackageParts.h"
#include "api/SoilModelTable.h"
#include "tables/TColumn.h"
#include "tables/TGridTable.h"

namespace terraq::report::detail {

namespace {

// The references of the technical manual, by the short form cited.
const std::map<std::string, std::string>& references() {
  static const std::map<std::string, std::string> list = {
      {"Burland, Potts & Walsh 1981",
       "Burland, J. B., Potts, D. M., & Walsh, N. M. (1981). The overall stability of free and propped "
       "embedded cantilever retaining walls. Ground Engineering, 14(5), 28–38."},
      {"AISC 1989",
       "AISC (1989). Manual of Steel Construction, Allowable Stress Design, 9th ed. American Institute of "
       "Steel Construction, Chicago."},
      {"CEN 2005",
       "CEN (2005). EN 1993-1-1:2005, Eurocode 3: Design of steel structures, general rules and rules "
       "for buildings. European Committee for Standardization, Brussels."},
      {"CEN 2007",
       "CEN (2007). EN 1993-5:2007, Eurocode 3: Design of steel structures, piling (incorporating "
       "corrigendum May 2009). European Committee for Standardization, Brussels."},
      {"Georgiadis 1983",
       "Georgiadis, M. (1983). Development of p-y curves for layered soils. Proceedings, Geotechnical "
       "Practice in Offshore Engineering, ASCE, 536–545."},
      {"Haliburton 1968",
       "Haliburton, T. A. (1968). Numerical analysis of flexible retaining structures. Journal of the Soil "
       "Mechanics and Foundations Division, ASCE, 94(SM6), 1233–1251."},
      {"Matlock 1970",
       "Matlock, H. (1970). Correlations for design of laterally loaded piles in soft clay. Proceedings, "
       "2nd Offshore Technology Conference, Houston, OTC 1204, 577–594."},
      {"Matlock & Reese 1960",
       "Matlock, H., & Reese, L. C. (1960). Generalized solutions for laterally loaded piles. Journal of "
       "the Soil Mechanics and Foundations Division, ASCE, 86(SM5), 63–91."},
      {"NAVFAC 1982",
       "NAVFAC (1982). Foundations and Earth Structures, Design Manual 7.2. Department of the Navy."},
      {"Padfield & Mair 1984",
       "Padfield, C. J., & Mair, R. J. (1984). Design of retaining walls embedded in stiff clay. CIRIA "
       "Report 104."},
      {"Rankine 1857",
       "Rankine, W. J. M. (1857). On the stability of loose earth. Philosophical Transactions of the Royal "
       "Society of London, 147, 9–27."},
      {"Reese 1997",
       "Reese, L. C. (1997). Analysis of laterally loaded piles in weak rock. Journal of Geotechnical and "
       "Geoenvironmental Engineering, ASCE, 123(11), 1010–1017."},
      {"Reese, Cox & Koop 1974",
       "Reese, L. C., Cox, W. R., & Koop, F. D. (1974). Analysis of laterally loaded piles in sand. "
       "Proceedings, 6th Offshore Technology Conference, Houston, OTC 2080, 473–483."},
      {"Reese, Cox & Koop 1975",
       "Reese, L. C., Cox, W. R., & Koop, F. D. (1975). Field testing and analysis of laterally loaded "
       "piles in stiff clay. Proceedings, 7th Offshore Technology Conference, Houston, OTC 2312, 671–690."},
      {"Reese & Matlock 1956",
       "Reese, L. C., & Matlock, H. (1956). Non-dimensional solutions for laterally loaded piles with soil "
       "modulus assumed proportional to depth. Proceedings, 8th Texas Conference on Soil Mechanics and "
       "Foundation Engineering, Austin."},
      {"Reese & Nyman 1978",
       "Reese, L. C., & Nyman, K. J. (1978). Field load tests of instrumented drilled shafts at Islamorada, "
       "Florida. Report to Girdler Foundation and Exploration Corporation, Bureau of Engineering Research, "
       "The University of Texas at Austin."},
      {"Reese & Welch 1975",
       "Reese, L. C., & Welch, R. C. (1975). Lateral loading of deep foundations in stiff clay. Journal of "
       "the Geotechnical Engineering Division, ASCE, 101(GT7), 633–649."},
      {"Sabatini, Pass & Bachus 1999",
       "Sabatini, P. J., Pass, D. G., & Bachus, R. C. (1999). Ground Anchors and Anchored Systems. "
       "Geotechnical Engineering Circular No. 4, FHWA-IF-99-015, Federal Highway Administration."},
      {"Terzaghi 1954",
       "Terzaghi, K. (1954). Anchored bulkheads. Transactions, ASCE, 119, 1243–1324."},
      {"Terzaghi & Peck 1967",
       "Terzaghi, K., & Peck, R. B. (1967). Soil Mechanics in Engineering Practice, 2nd ed. Wiley."},
      {"Timoshenko & Gere 1961",
       "Timoshenko, S. P., & Gere, J. M. (1961). Theory of Elastic Stability, 2nd ed. McGraw-Hill."},
      {"United States Steel 1984",
       "United States Steel (1984). Steel Sheet Piling Design Manual. United States Steel Corporation, "
       "Pittsburgh (reprinted by the U.S. Department of Transportation, FHWA)."},
      {"US Army Corps of Engineers 1994",
       "US Army Corps of Engineers (1994). Design of Sheet Pile Walls, EM 1110-2-2504."},
      {"Welch & Reese 1972",
       "Welch, R. C., & Reese, L. C. (1972). Laterally loaded behavior of drilled shafts. Research Report "
       "3-5-65-89, Center for Highway Research, The University of Texas at Austin."},
  };
  return list;
}

struct Method {
  std::string text;
  std::vector<std::string> cites;
};

// The p-y model of each soil type (1-based code) and the work it follows.
Method pyModel(int type) {
  using engine::api::SoilModel;
  const engine::api::SoilModelInfo* model = engine::api::FindSoilModel(type);
  switch (model ? model->model : SoilModel{}) {
    case SoilModel::SoftClay: return {"Soft clay: static loading", {"Matlock 1970"}};
    case SoilModel::StiffClayFreeWater:
      return {"Stiff clay with free water: static loading", {"Reese, Cox & Koop 1975"}};
    case SoilModel::StiffClayNoFreeWater:
      return {"Stiff clay without free water: static loading",
              {"Welch & Reese 1972", "Reese & Welch 1975"}};
    case SoilModel::Sand: return {"Sand: static loading", {"Reese, Cox & Koop 1974"}};
    case SoilModel::Silt:
      return {
          "Silt (c-φ soil): the frictional resistance of the sand model and the cohesive resistance of "
          "the soft-clay model",
          {"Reese, Cox & Koop 1974", "Matlock 1970"}};
    case SoilModel::StrongRock: return {"Strong rock", {"Reese & Nyman 1978"}};
    case SoilModel::WeakRock: return {"Weak rock", {"Reese 1997"}};
  }
  return {"Soil type " + std::to_string(type), {}};
}

std::string withCites(const Method& m) {
  std::string text = m.text;
  for (size_t k = 0; k < m.cites.size(); ++k) text += (k == 0 ? " (" : "; ") + m.cites[k];
  return m.cites.empty() ? text + "." : text + ").";
}

// The structural check of the section, by its method and the code clauses
// the technical manual follows.
Method sectionCheck(const ui::SectionInUse& used) {
  const std::string section =
      "The steel section " + used.section.name + " is checked at every station";
  if (used.settings.method == design::CheckMethod::Allowable)
    return {
        section +
            " by allowable stresses: the bending, shear and axial stresses against fractions of "
            "the yield strength, combined linearly, as temporary-works shoring manuals use them",
        {"United States Steel 1984", "AISC 1989"}};
  if (used.section.perMetre())
    return {section +
                " by the limit states of steel sheet piles: the class from the flange slenderness, "
                "the bending and shear resistances and their reduction under high shear "
                "(EN 1993-5:2007, 5.2.2) and under axial force (5.2.3); the wall's flexural "
                "buckling is not checked",
            {"CEN 2007"}};
  return {section +
              " by the cross-section resistances of EN 1993-1-1:2005, 6.2: the class, bending "
              "(6.2.5), shear (6.2.6), bending with shear (6.2.8) and with axial force (6.2.9); "
              "member buckling is not checked",
          {"CEN 2005"}};
}

void soilTypes(const ui::TGridTable& layers, std::set<int>& types, size_t& layerCount) {
  for (int row = 0; row < layers.RowCount(); ++row) types.insert(layers.Column(0).Integer(row));
  layerCount = std::max(layerCount, static_cast<size_t>(layers.RowCount()));
}

// What of the project's inputs calls for a method, over all its stages.
struct ProjectUses {
  std::set<int> types, pressureOptions;  // soil types of generated p-y curves; pressure options
  size_t layers = 0;                     // the most layers of one table
  bool external = false, surcharge = false, axial = false, curvesOfEI = false;
};

ProjectUses UsesOf(const ProjectRead& project) {
  ProjectUses uses;
  for (const StageProject& stage : project.stages) {
    const ui::TProgramData& d = *stage.data;
    const int option = d.WrittenEarthPressureMode();
    uses.pressureOptions.insert(option);
    // The layers give p-y curves only when they are generated (else they
    // give the earth pressure alone).
    if (d.GeneratePY) {
      soilTypes(d.Tables().SoilLayers, uses.types, uses.layers);
      if (project.longTerm()) soilTypes(d.Tables().LongTermSoilLayers, uses.types, uses.layers);
    }
    uses.surcharge = uses.surcharge || (d.UseSurcharge && d.SurchargeLoadsKept());
    uses.external = uses.external || d.UseExternalPY;
    uses.curvesOfEI = uses.curvesOfEI || d.UseMEICurves;
    const ui::TGridTable& loads = d.Tables().ConcentratedLoads;
    for (int row = 0; d.UseConcentratedLoads && row < loads.RowCount(); ++row)
      uses.axial = uses.axial || loads.Column(5).Float(row) < 0;
  }
  return uses;
}

}  // namespace

void AppendMethods(const ProjectRead& project, bool designed, const ui::SectionInUse* checked,
                   std::vector<Block>& blocks) {
  blocks.push_back(Heading{1, "Methods and references", {}});
  std::vector<Method> methods;
  methods.push_back(
      {"The wall is a beam-column on nonlinear soil springs, solved by finite differences at "
       "its stations and iterated until the springs agree with the deflections, as developed "
       "for laterally loaded piles and applied to flexible retaining walls",
       {"Reese & Matlock 1956", "Matlock & Reese 1960", "Haliburton 1968"}});

  const ProjectUses uses = UsesOf(project);
  const auto& [types, pressureOptions, layers, external, surcharge, axial, curvesOfEI] = uses;
  if (axial)
    methods.push_back(
        {"The axial compression of the load table enters the equations as a beam-column's; "
         "beyond the buckling load the results are marked not valid",
         {"Timoshenko & Gere 1961"}});
  if (curvesOfEI)
    methods.push_back(
        {"The bending stiffness follows the moment-EI curves of the sections, updated once the "
         "deflections have closed with fixed stiffness",
         {}});
  if (pressureOptions.count(1))
    methods.push_back(
        {"Earth pressure: the table of pressure against depth given by the user", {}});
  if (pressureOptions.count(2) || pressureOptions.count(3))
    methods.push_back(
        {"Earth pressure generated from the soil layers down to the excavation level with "
         "Rankine's coefficients, no wall friction",
         {"Rankine 1857"}});
  if (pressureOptions.count(3))
    methods.push_back(
        {"The apparent (trapezoidal) pressure of anchored walls in place of the conventional "
         "diagram above the excavation level",
         {"Terzaghi & Peck 1967", "Sabatini, Pass & Bachus 1999"}});
  if (surcharge)
    methods.push_back({"The lateral pressure of point, line and strip surcharge loads",
                       {"Terzaghi 1954", "NAVFAC 1982"}});
  for (int type : types) {
    Method m = pyModel(type);
    m.text = "p-y curves generated for " + m.text;
    methods.push_back(m);
  }
  if (layers > 1)
    methods.push_back(
        {"In layered soil the p-y curves of a layer take the equivalent depth of the layers "
         "above it",
         {"Georgiadis 1983"}});
  if (external) methods.push_back({"p-y curves given by the user at their stations", {}});
  if (designed)
    methods.push_back(
        {"The embedment is designed by limit equilibrium (fixed or free earth support) and "
         "checked by reduction of the soil's strength in the analysis itself",
         {"US Army Corps of Engineers 1994", "Padfield & Mair 1984"}});
  if (checked) methods.push_back(sectionCheck(*checked));

  std::set<std::string> cited;
  for (const Method& m : methods) {
    blocks.push_back(Paragraph{withCites(m)});
    cited.insert(m.cites.begin(), m.cites.end());
  }
  blocks.push_back(Paragraph{
      "The TERRAQ Technical Manual gives the equations of each method. Its chapter “Verification” sets the "
      "engine's results against references worked out independently of the engine (closed-form solutions, "
      "the published formulas of the p-y criteria, hand calculations), recomputed each time the manual is "
      "built."});
  blocks.push_back(Heading{2, "References", {}});
  std::string list;
  for (const auto& [cite, reference] : references())
    if (cited.count(cite)) list += (list.empty() ? "" : "\n") + reference;
  blocks.push_back(Paragraph{list});
}

}  // namespace terraq::report::detail
