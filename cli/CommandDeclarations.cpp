#include "CommandDeclarations.h"

#include <array>

namespace terraq::cli {

namespace {

using K = ValueKind;

constexpr OptionDeclaration kJson{"--json", K::None, "", "one JSON object instead of the text"};

constexpr OptionDeclaration kRunOptions[] = {
    {"--json", K::None, "", "print the summary as one JSON object"},
    {"--strict", K::None, "",
     "exit with 3 when the analysis completed but its results are not\n"
     "valid (not closed, allowable deflection exceeded, singular equations,\n"
     "deflection off the curves)"},
    {"--jobs", K::Whole, "N",
     "analyse up to N data files at a time (default: one per processor core)",
     "a number of analyses at once, 1 to 1024", 1, 1024},
    {"--section", K::Text, "NAME",
     "the wall's section, from the section library (terraq sections)"},
    {"--grade", K::Text, "NAME",
     "its steel grade (default: S355GP for sheet piles, S355 for piles)"},
    {"--spacing", K::Real, "S",
     "the piles' centre-to-centre spacing in the data file's length unit\n"
     "(default: its active width Wa); for a sheet-pile wall whose data file\n"
     "has no Wa, the width of wall its results are for (12 in for results per foot)",
     "the piles' centre-to-centre spacing, a positive number in the data file's length unit", 0,
     HUGE_VAL, true},
    {"--method", K::Choice, "eurocode|allowable",
     "eurocode (default): the steel sheet-pile code's resistances;\n"
     "allowable: 0.65 fy in bending, 0.40 fy in shear"},
    {"--design-approach", K::Text, "SETS",
     "sets of partial factors, comma-separated: DA1-1, DA1-2, DA2, DA3\n"
     "(Eurocode), SLS, LRFD, all of these, or a set the project keeps"},
    {"--factor", K::Text, "S=V",
     "set factor S (gammaG, gammaQ, gammaPhi, gammaC, gammaCu, gammaQu,\n"
     "gammaGamma, gammaRe, gammaEH) to V in every chosen set"},
    {"--minimum-surcharge", K::Real, "Q",
     "a smaller uniform surcharge is taken as Q (lb/in2 or kPa, the data\nfile's unit)",
     "a pressure of 0 or more in the data file's unit (lb/in2 or kPa)", 0},
    {"--no-unplanned-excavation", K::None, "", "no unplanned excavation in any set"},
    {"--kh", K::Real, "K",
     "the horizontal seismic coefficient of the chosen seismic sets (SEISMIC,\n"
     "LRFD-EE1 or the project's): the site's; a seismic set needs it above 0",
     "a coefficient of 0 or more and below 1", 0, 1},
    {"--kv", K::Real, "K", "their vertical seismic coefficient, upwards (default: the set's)",
     "a coefficient above -1 and below 1", -1, 1},
    {"--seismic", K::Choice, "mononobe-okabe|en1998-5",
     "their pseudo-static method (default: the set's, Mononobe-Okabe)",
     "the seismic method is mononobe-okabe or en1998-5"},
};

constexpr OptionDeclaration kConvertOptions[] = {
    {"--layout", K::Choice, "current|3.0|2.0", "the layout of the file to convert"},
};

constexpr OptionDeclaration kPlotOptions[] = {
    {"--graph", K::Text, "NAME", "the graph to plot (below)"},
    {"--out", K::Text, "FILE", "the picture to write (replaced whole, or left as it was)"},
    {"--width", K::Real, "IN", "the picture's width in inches, 2 to 200 (default 6)",
     "a number of inches, at least 2", 2, 1e6},
    {"--height", K::Real, "IN", "the picture's height in inches, 2 to 200 (default 4)",
     "a number of inches, at least 2", 2, 1e6},
    {"--ppi", K::Whole, "N",
     "pixels per inch, 10 to 2400 (default 96: 576 x 384 pixels);\n"
     "at most 32767 pixels a side and 100 million in all",
     "a whole number of pixels per inch, at least 10", 10, 1e6},
    {"--colors", K::Choice, "bw|16|256|16bit|24bit",
     "colours of a .bmp or .png: bw (black and white), 16, 256, 16bit or\n24bit (default)"},
    {"--layers", K::None, "", "show the soil layers and the wall beside the combined graph"},
};

constexpr OptionDeclaration kDesignOptions[] = {
    {"--method", K::Choice, "fixed-earth|fixed-earth-full|free-earth|apparent-pressure",
     "the limit equilibrium (default: free-earth when the springs table has\n"
     "rows, else fixed-earth), or apparent-pressure: the envelope of a wall\n"
     "with several supports and their loads (--envelope and the options after it)",
     "the method is fixed-earth, fixed-earth-full, free-earth or apparent-pressure"},
    {"--fs-method", K::Choice, "passive|strength|net-passive",
     "how the factor of safety enters (default: strength)",
     "the form is passive, strength or net-passive"},
    {"--fs", K::Real, "F", "the factor of safety the embedment must meet (default 1)",
     "a factor is a number of 1 or more", 1},
    {"--embedment-factor", K::Real, "K", "D = K x the embedment that meets F (default 1.2 or 1)",
     "a factor is a number of 1 or more", 1},
    {"--tip-resolution", K::Real, "L", "the step of the shortest wall's tip",
     "a length is a number above 0, in the data file's units", 0, HUGE_VAL, true},
    {"--top-deflection", K::Real, "L", "a limit on the shortest wall's deflection at the top",
     "a length is a number above 0, in the data file's units", 0, HUGE_VAL, true},
    {"--max-deflection", K::Real, "L", "a limit on the shortest wall's largest deflection",
     "a length is a number above 0, in the data file's units", 0, HUGE_VAL, true},
    {"--failure-criterion", K::Choice, "deflection|mechanism",
     "when the strength reduction takes the wall to fail (default: deflection)",
     "the criterion is deflection or mechanism"},
    {"--design-approach", K::Text, "SET",
     "design with a set of partial factors (DA1-1, DA1-2, DA2, DA3, LRFD,\n"
     "or one the project keeps); it replaces --fs and --fs-method"},
    {"--backfill-theory", K::Choice, "rankine|coulomb|log-spiral",
     "the limit equilibrium's earth-pressure theory on the backfill face\n(default rankine)",
     "the theory is rankine, coulomb or log-spiral"},
    {"--excavation-theory", K::Choice, "rankine|coulomb|log-spiral",
     "the theory on the excavation face (default rankine)",
     "the theory is rankine, coulomb or log-spiral"},
    {"--backfill-wall-friction", K::Real, "R",
     "the wall friction on the backfill face, delta/phi' (default 0)",
     "a ratio delta/phi' from 0 to 1", 0, 1},
    {"--excavation-wall-friction", K::Real, "R",
     "the wall friction on the excavation face, delta/phi' (default 0)",
     "a ratio delta/phi' from 0 to 1", 0, 1},
    {"--seismic", K::Choice, "mononobe-okabe|en1998-5",
     "the limit equilibrium while the ground shakes, pseudo-static, with\n"
     "--kh and --kv; the spring model is then not used",
     "the seismic method is mononobe-okabe or en1998-5"},
    {"--kh", K::Real, "K", "--seismic: the horizontal seismic coefficient",
     "a coefficient of 0 or more and below 1", 0, 1},
    {"--kv", K::Real, "K", "--seismic: the vertical seismic coefficient, upwards (default 0)",
     "a coefficient above -1 and below 1", -1, 1},
    {"--berm", K::Text, "H,W,S",
     "a berm against the excavation face: height and top width in the data\n"
     "file's length unit, side slope horizontal per vertical; the limit\n"
     "equilibrium raises the excavation level by half the berm's height and\n"
     "trial wedges check the passive resistance through the berm"},
    {"--anchor-rate", K::Text, "Q[,Q2,...]",
     "design the ground anchors of every anchor level the design gives a\n"
     "force: the ground's ultimate load-transfer rate along the bond (force\n"
     "per length in the data file's units), one for all levels or one per\n"
     "level from the top (default: the project's anchors)"},
    {"--anchor-fs", K::Real, "F", "the anchors' factor of safety on the transfer rate (default 2)",
     "a factor is a number of 1 or more", 1},
    {"--anchor-test-factor", K::Real, "K", "the anchors' test load / design load (default 1.33)",
     "a factor from 1 to 2", 1, 2},
    {"--anchor-lock-off", K::Real, "K",
     "the anchors' lock-off load / design load (default 1, usually 0.75 to 1)",
     "a factor above 0, not above the test factor", 0, HUGE_VAL, true},
    {"--tendons", K::Text, "KIND[,...]",
     "the tendon kinds the anchors may have: strand, bar1035, bar520, bar550\n"
     "(default strand)"},
    {"--excavation-width", K::Real, "B",
     "the cut's width between the walls, in the data file's length unit:\n"
     "basal heave is checked (the project's \"excavation\" member gives it too)",
     "a width above 0, in the data file's units", 0, HUGE_VAL, true},
    {"--excavation-length", K::Real, "L",
     "the cut's length, at least its width (default: a long cut)",
     "a length of 0 or more, in the data file's units", 0},
    {"--firm-stratum", K::Real, "D",
     "the depth below the excavation level of a stratum the heave cannot enter",
     "a depth above 0, in the data file's units", 0, HUGE_VAL, true},
    {"--anchor-free", K::Text, "L1,L2,...",
     "the anchors' free lengths, top down (default: the anchor design's,\nelse the construction sequence's)"},
    {"--anchor-bond", K::Text, "B1,B2,...",
     "the anchors' bond lengths, top down (default: the anchor design's): the\ndeep slip plane is checked and the overall stability counts the bonds"},
    kJson,
    {"--envelope", K::Choice, "fhwa|terzaghi-peck",
     "apparent-pressure: the envelope's source (default fhwa)",
     "the envelope is fhwa or terzaghi-peck"},
    {"--soil", K::Choice, "sand|soft-clay|stiff-clay",
     "the envelope's soil (default: the soil that makes up more of the\n"
     "excavation depth; a clay is stiff when gamma H / su <= 4)",
     "the soil is sand, soft-clay or stiff-clay"},
    {"--clay-factor", K::Real, "K",
     "stiff clay: p = K gamma H (FHWA: the load K gamma H^2), 0.2 to 0.4\n(default 0.4)",
     "a factor from 0.2 to 0.4", 0.2, 0.4},
    {"--soft-base", K::None, "",
     "Terzaghi & Peck, soft clay: m = 0.4, the cut underlain by deep soft clay"},
    {"--failure-depth", K::Real, "L",
     "FHWA, soft clay: Henkel's depth d of the failure surface below the\n"
     "excavation level (default: the clay layers directly below it)",
     "a depth of 0 or more, in the data file's units", 0},
    {"--supports", K::Text, "Z1,Z2,...",
     "the support depths, top down, in the data file's length unit\n"
     "(default: the springs table's rows at one node)"},
    {"--spacing", K::Real, "S",
     "the anchors' horizontal spacing in the data file's length unit: the\n"
     "design loads along the tendons, T = F S / cos(inclination); also the\n"
     "anchor design's for a data file's anchor row",
     "a spacing is a number above 0, in the data file's units", 0, HUGE_VAL, true},
    {"--inclination", K::Real, "DEG",
     "the anchors' inclination below the horizontal, degrees (default 0;\n"
     "the anchor design takes 0 to 45)",
     "an inclination is 0 or more and below 90 degrees", 0, 90},
    {"--write-pressure", K::None, "",
     "apparent-pressure: write the envelope (soil and uniform surcharge) into\n"
     "the data file as its specified earth pressure, which the analysis then\n"
     "takes"},
};

constexpr OptionDeclaration kReportOptions[] = {
    {"--out", K::Text, "FILE",
     "the package to write, .pdf or .html (replaced whole, or left as it was)"},
    {"--paper", K::Choice, "a4|letter", "the package's paper (default: the locale's)"},
};

constexpr OptionDeclaration kStudyOptions[] = {
    {"--vary", K::Text, "NAME=RANGE",
     "NAME=FROM:TO:COUNT: COUNT values (2 or more) from FROM to TO;\n"
     "NAME=A,B,...: the values listed; two --vary make a grid"},
    {"--random", K::Text, "NAME=DIST",
     "normal(MEAN,SD), lognormal(MEAN,SD), uniform(LOW,HIGH),\n"
     "truncnormal(MEAN,SD,LOW,HIGH); SD may be given as cov=COV"},
    {"--correlate", K::Text, "A,B=R", "correlation of two random parameters"},
    {"--method", K::Choice, "mc|lhs|form", "Monte Carlo (default), Latin hypercube, FORM"},
    {"--samples", K::Whole, "N", "samples of mc and lhs (default 1000)",
     "a whole number of samples from 1 to 1000000000", 1, 1e9},
    {"--seed", K::Whole, "S", "the seed of the samples (default 1)", "a whole number"},
    {"--limit", K::Text, "LIMIT",
     "OUTPUT>VALUE: fails when the output's magnitude exceeds VALUE;\n"
     "OUTPUT<VALUE: fails when the output falls below VALUE (a factor);\n"
     "not-held: fails when the analysis does not hold the wall; several\n"
     "give each one's probability and the system's"},
    {"--jobs", K::Whole, "N", "analyses at a time (default: one per core)",
     "a number of analyses at once, 1 to 1024", 1, 1024},
    {"--csv", K::Text, "FILE", "one row per point or sample"},
    kJson,
    {"--plot", K::Text, "FILE",
     "a picture (.png, .svg, .pdf, .bmp): an output against the first\n"
     "parameter of a sweep, or its histogram"},
    {"--plot-output", K::Text, "NAME", "the output drawn (default top)"},
    {"--shard", K::Text, "I/N",
     "run the I-th of N slices of the samples into the part file --out;\n"
     "study merge prints the whole study"},
    {"--out", K::Text, "PART", "the part file of a --shard"},
    {"--list", K::None, "", "print the parameters and outputs of the data file"},
    {"--fit", K::Text, "MEASURED.csv|project",
     "fit the --vary parameters (NAME=LOW:HIGH) to measured deflections:\n"
     "a CSV profile, or the project's measurements"},
    {"--stage", K::Whole, "K", "the stage measured (default: 1, or all the project's)",
     "a stage number from 1", 1, 1e6},
    {"--save-measurements", K::None, "", "keep the CSV's readings in the project file"},
};

constexpr OptionDeclaration kJsonOnly[] = {kJson};

}  // namespace

const CommandDeclaration kRunCommand{
    "run", "FILE.tq4d...",
    "run analyses the retaining wall of a data file with the engine library (in\n"
    "the folder of this program) and prints, per problem, the heading, how the\n"
    "iteration closed, and the largest deflection, moment and shear with the\n"
    "depths where they occur. The report (.tq4o), plot file (.tq4p) and\n"
    "iteration monitor (.tq4r) are written beside the data file. Given several\n"
    "data files, run analyses each of them, up to N at a time, and ends the\n"
    "summary with the outcome of every file.\n"
    "With --section, run analyses the wall with a section of the library (its\n"
    "EI in every stiffness row) in memory, writes nothing, and checks the\n"
    "section along the wall: per problem the largest utilisation (effect over\n"
    "resistance), its depth and the governing check. A project that remembers\n"
    "its section (NAME.terraq.json beside the data file) is checked with it.\n"
    "With --design-approach (one data file), run analyses the wall in memory\n"
    "once per set of partial factors on every stage (design soil strengths,\n"
    "factored variable actions, the unplanned excavation), writes nothing, and\n"
    "prints each set's design effects and their envelope with the set that\n"
    "governs each; with --section, the wall is analysed with the section and\n"
    "the section is checked with each set's design effects (the ultimate limit\n"
    "state). A seismic set is analysed while the ground shakes, with the kh\n"
    "and kv the project keeps for it or --kh and --kv.\n",
    kRunOptions};

const CommandDeclaration kConvertCommand{
    "convert", "IN OUT.tq4d",
    "convert reads a data file of any layout and writes it in the current\n"
    "(.tq4d) layout; a staged file keeps its stages. The layout of IN is taken\n"
    "from its extension (.tqd: the 3.0 layout, anything else: the current one)\n"
    "unless --layout names it; files of the 2.0 layout also end in .tqd and need\n"
    "--layout 2.0. OUT is never a .tqd file.\n",
    kConvertOptions};

const CommandDeclaration kPlotCommand{
    "plot", "FILE.tq4d",
    "plot draws one result graph of an analysed project (run it first: the plot\n"
    "file .tq4p beside the data file holds the results) into FILE, a picture\n"
    "told by its extension: .bmp, .png, .svg or .pdf (SVG and PDF are vector\n"
    "drawings). The graph shows its whole range with a legend box, as the plot\n"
    "window saves it.\n",
    kPlotOptions,
    "The graphs:\n"
    "  p-y                p-y curves (of the last result set)\n"
    "  deflection         deflection vs depth\n"
    "  moment             bending moment vs depth\n"
    "  shear              shear vs depth\n"
    "  reaction           net reaction per length of wall vs depth\n"
    "  combined           deflection, moment and shear side by side\n"
    "  pressure           earth pressure vs depth\n"
    "  combined-pressure  total, soil and surcharge earth pressure\n"
    "  utilisation        utilisation of the project's wall section vs depth\n"
    "  mobilised-pressure earth pressure on both faces against its limits (a\n"
    "                     project on the subgrade-reaction soil model)\n"};

const CommandDeclaration kDesignCommand{
    "design", "FILE.tq4d",
    "design finds the embedment the wall needs by limit equilibrium, the factors\n"
    "of safety of the wall as it is, and the shortest wall the analysis holds.\n"
    "With --method apparent-pressure it draws the apparent-pressure envelope of\n"
    "a wall with several supports and gives their loads by tributary areas and\n"
    "by hinges. With --anchor-rate, or the project's anchors, it designs the\n"
    "ground anchors of the wall's anchor levels: their free and bond lengths,\n"
    "tendons and test and lock-off loads. Lengths are in the data file's units.\n",
    kDesignOptions};

const CommandDeclaration kReportCommand{
    "report", "FILE.tq4d",
    "report writes the calculation package of a data file: its inputs, drawings,\n"
    "results, maxima, warnings, design and methods, as a PDF or a self-contained\n"
    "HTML file told by the extension of --out. The outputs beside the data file\n"
    "are brought up to date first when they are missing or older than it or its\n"
    "project file.\n",
    kReportOptions};

const CommandDeclaration kStudyCommand{
    "study", "FILE.tq4d",
    "study analyses the wall of a data file many times with some of its values\n"
    "changed: over ranges (--vary, a sweep), or drawn from distributions\n"
    "(--random: Monte Carlo, Latin hypercube or FORM), and prints the outputs of\n"
    "every analysis, their statistics, or the reliability index of a limit state.\n"
    "Values are in the data file's units; --list prints the parameters it has.\n"
    "With --fit, study calibrates the wall against measured deflections: the\n"
    "--vary parameters within their bounds, by least squares.\n"
    "\n"
    "Parameters: tip, ei, excavation, spring.N, load.N, surcharge, water.back,\n"
    "water.front, layer.N.gamma|su|c|phi|e50|k|qu|krm|em|rqd, all.k|su (every\n"
    "layer's k or su times a factor), stage.K.NAME.\n"
    "Outputs: top, deflection, moment, shear (its magnitude), shear.max, shear.min\n"
    "(the largest and least shear with their signs), support.N (stage.K. or\n"
    "longterm. before them in a project of several problems); with the project's\n"
    "excavation member, heave, kranz and slip (factors of safety of the ground).\n",
    kStudyOptions,
    "Ctrl-C stops the study after the analyses under way and reports what was\n"
    "done (exit status 130).\n"};

const CommandDeclaration kStudyMergeCommand{
    "study merge", "PART...",
    "study merge reads the part files of a study's shards and prints the whole\n"
    "study, as one run of it would.\n",
    kJsonOnly};

const CommandDeclaration kSectionsCommand{
    "sections", "[NAME]",
    "sections lists the section library (the shipped sheet piles, soldier piles,\n"
    "pipes and steel grades, and the user's own in ~/.config/terraq/sections.txt),\n"
    "or one section by NAME (the nearest names when there is none); --json gives\n"
    "it in SI base units.\n",
    kJsonOnly};

std::span<const CommandDeclaration* const> AllCommands() {
  static constexpr std::array<const CommandDeclaration*, 8> kAll{
      &kRunCommand,    &kConvertCommand, &kPlotCommand,       &kDesignCommand,
      &kReportCommand, &kStudyCommand,   &kStudyMergeCommand, &kSectionsCommand};
  return kAll;
}

}  // namespace terraq::cli
