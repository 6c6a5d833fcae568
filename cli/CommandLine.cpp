#include "CommandLine.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "project/EngineRun.h"

namespace terraq::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: terraq run [--json] [--strict] [--jobs N] [--section NAME [--grade NAME]\n"
    "                  [--spacing S] [--method eurocode|allowable]] [--] FILE.tq4d...\n"
    "       terraq run --design-approach DA1-1|DA1-2|DA2|DA3|SLS|LRFD|all|NAME[,...]\n"
    "                  [--factor SYMBOL=VALUE] [--minimum-surcharge Q]\n"
    "                  [--no-unplanned-excavation] [--section NAME ...] [--json]\n"
    "                  [--strict] [--] FILE.tq4d\n"
    "       terraq convert [--layout current|3.0|2.0] [--] IN OUT.tq4d\n"
    "       terraq plot --graph NAME --out FILE [--width IN] [--height IN] [--ppi N]\n"
    "                   [--colors bw|16|256|16bit|24bit] [--layers] [--] FILE.tq4d\n"
    "       terraq design [OPTIONS] [--json] FILE.tq4d  (terraq design --help)\n"
    "       terraq report --out FILE.pdf|FILE.html [--paper a4|letter] [--] FILE.tq4d\n"
    "       terraq study FILE.tq4d --vary ...|--random ...|--list  (terraq study --help)\n"
    "       terraq study merge PART... [--json]\n"
    "       terraq sections [--json] [NAME]\n"
    "       terraq --help | --version\n";

}  // namespace

void printHelp() {
  std::cout << kUsage
            << "\n"
               "run analyses the retaining wall of a data file with the engine library\n"
            << "(" << terraq::ui::kEngineLibraryName
            << " in the folder of this program) and prints, per problem, the\n"
               "heading, how the iteration closed, and the largest deflection, moment and\n"
               "shear with the depths where they occur. The report (.tq4o), plot file\n"
               "(.tq4p) and iteration monitor (.tq4r) are written beside the data file.\n"
               "Given several data files, run analyses each of them, up to N at a time,\n"
               "and ends the summary with the outcome of every file.\n"
               "With --section, run analyses the wall with a section of the library (its\n"
               "EI in every stiffness row) in memory, writes nothing, and checks the\n"
               "section along the wall: per problem the largest utilisation (effect over\n"
               "resistance), its depth and the governing check. A project that remembers\n"
               "its section (NAME.terraq.json beside the data file) is checked with it.\n"
               "With --design-approach, run analyses the wall in memory once per set of\n"
               "partial factors on every stage (design soil strengths, factored variable\n"
               "actions, the unplanned excavation), writes nothing, and prints each set's\n"
               "design effects and their envelope with the set that governs each; with\n"
               "--section, the wall is analysed with the section and the section is\n"
               "checked with each set's design effects (the ultimate limit state).\n"
               "\n"
               "convert reads a data file of any layout and writes it in the current\n"
               "(.tq4d) layout; a staged file keeps its stages. The layout of IN is taken\n"
               "from its extension (.tqd: the 3.0 layout, anything else: the current one)\n"
               "unless --layout names it; files of the 2.0 layout also end in .tqd and need\n"
               "--layout 2.0. OUT is never a .tqd file.\n"
               "\n"
               "design finds the embedment the wall needs by limit equilibrium, the factors\n"
               "of safety of the wall as it is, and the shortest wall the analysis holds;\n"
               "'terraq design --help' gives its options.\n"
               "\n"
               "sections lists the section library (the shipped sheet piles, soldier piles,\n"
               "pipes and steel grades, and the user's own in ~/.config/terraq/sections.txt),\n"
               "or one section by NAME; --json gives it in SI base units.\n"
               "\n"
               "study analyses the wall many times with some of its values changed: over\n"
               "ranges (--vary, a sweep), or drawn from distributions (--random: Monte Carlo,\n"
               "Latin hypercube or FORM), and prints the outputs, their statistics and the\n"
               "probability of limit states; 'terraq study --help' gives its options.\n"
               "\n"
               "plot draws one result graph of an analysed project (run it first: the plot\n"
               "file .tq4p beside the data file holds the results) into FILE, a picture\n"
               "told by its extension: .bmp, .png, .svg or .pdf (SVG and PDF are vector\n"
               "drawings). The graph shows its whole range with a legend box, as the plot\n"
               "window saves it. The graphs:\n"
               "  p-y                p-y curves (of the last result set)\n"
               "  deflection         deflection vs depth\n"
               "  moment             bending moment vs depth\n"
               "  shear              shear vs depth\n"
               "  reaction           net reaction per length of wall vs depth\n"
               "  combined           deflection, moment and shear side by side\n"
               "  pressure           earth pressure vs depth\n"
               "  combined-pressure  total, soil and surcharge earth pressure\n"
               "  utilisation        utilisation of the project's wall section vs depth\n"
               "\n"
               "report writes the calculation package of a data file: its inputs, drawings,\n"
               "results, maxima, warnings, design and methods, as a PDF or a self-contained\n"
               "HTML file told by the extension of --out. The outputs beside the data file\n"
               "are brought up to date first when they are missing or older than it or its\n"
               "project file.\n"
               "\n"
               "Options:\n"
               "  --json           print the summary of run as one JSON object\n"
               "  --jobs N         analyse up to N data files at a time (default: one per\n"
               "                   processor core)\n"
               "  --strict         run exits with 3 when the analysis completed but its\n"
               "                   results are not valid (not closed, allowable deflection\n"
               "                   exceeded, singular equations, deflection off the curves)\n"
               "  --section NAME   the wall's section, from the section library (terraq sections)\n"
               "  --grade NAME     its steel grade (default: S355GP for sheet piles, S355 for\n"
               "                   piles)\n"
               "  --spacing S      the piles' centre-to-centre spacing in the data file's\n"
               "                   length unit (default: its active width Wa); for a sheet-pile\n"
               "                   wall whose data file has no Wa, the width of wall its\n"
               "                   results are for (12 in for results per foot)\n"
               "  --method M       eurocode (default): the steel sheet-pile code's\n"
               "                   resistances; allowable: 0.65 fy in bending, 0.40 fy in shear\n"
               "  --design-approach SETS  sets of partial factors, comma-separated: DA1-1,\n"
               "                   DA1-2, DA2, DA3 (Eurocode), SLS, LRFD, all of these, or a set\n"
               "                   the project keeps\n"
               "  --factor S=V     set factor S (gammaG, gammaQ, gammaPhi, gammaC, gammaCu,\n"
               "                   gammaQu, gammaGamma, gammaRe, gammaEH) to V in every\n"
               "                   chosen set\n"
               "  --minimum-surcharge Q  a smaller uniform surcharge is taken as Q (lb/in2 or\n"
               "                   kPa, the data file's unit)\n"
               "  --no-unplanned-excavation  no unplanned excavation in any set\n"
               "  --layout LAYOUT  the layout of the file to convert: current, 3.0 or 2.0\n"
               "  --graph NAME     the graph to plot (above)\n"
               "  --out FILE       the picture or package to write (replaced whole, or left as\n"
               "                   it was)\n"
               "  --width IN       the picture's width in inches, 2 to 200 (default 6)\n"
               "  --height IN      the picture's height in inches, 2 to 200 (default 4)\n"
               "  --ppi N          pixels per inch, 10 to 2400 (default 96: 576 x 384 pixels);\n"
               "                   at most 32767 pixels a side and 100 million in all\n"
               "  --colors DEPTH   colours of a .bmp or .png: bw (black and white), 16, 256,\n"
               "                   16bit or 24bit (default)\n"
               "  --layers         show the soil layers and the wall beside the combined graph\n"
               "  --paper SIZE     the package's paper: a4 or letter (default: the locale's)\n"
               "  --help           show this help\n"
               "  --version        show the version\n"
               "\n"
               "Exit status:\n"
               "  0  the analysis completed (even with results that are not valid: a\n"
               "     warning goes to standard error), the file was converted, or the graph\n"
               "     written, or the package\n"
               "  1  the analysis ended in an error stop (its message goes to standard error;\n"
               "     report still writes the package, which says why),\n"
               "     the file to convert is not a valid data file of its layout, or the data\n"
               "     or plot file to draw from is not valid or has no points for the graph\n"
               "  2  usage error, missing, unreadable or too large (over 16 MB) data file,\n"
               "     missing plot file, a file that cannot be written (standard output\n"
               "     included), or the engine could not be run\n"
               "  3  with --strict: the analysis completed, but its results are not valid\n"
               "     (with --design-approach: an ultimate set is left out of the envelope)\n"
               "  128+N  the run was ended by signal N (Ctrl-C, SIGTERM, SIGHUP); what it\n"
               "     had begun to write is removed\n"
               "  A run of several data files exits with the largest of their statuses.\n";
}

int usageError(const std::string& message) {
  std::cerr << "terraq: " << message << "\n" << kUsage << "Try 'terraq --help'.\n";
  return kExitUsage;
}

int fail(const std::string& message) {
  std::cerr << "terraq: " << message << "\n";
  return kExitUsage;
}

namespace {
// The reason is kept from the first flush that fails; later ones no longer
// tell it.
int standardOutputError = 0;
}  // namespace

void flushStandardOutput() {
  if (standardOutputError != 0) return;
  // A text longer than the stream's buffer is written as it is put out, so
  // the write may have failed already; its errno is then the latest one.
  const int earlierError = std::cout.good() ? 0 : errno;
  errno = 0;
  std::cout.flush();
  if (earlierError != 0 || !std::cout.good() || std::fflush(stdout) != 0 || std::ferror(stdout))
    standardOutputError = errno ? errno : earlierError ? earlierError : EIO;
}

int checkStandardOutput(int status) {
  flushStandardOutput();
  if (standardOutputError == 0) return status;
  std::cerr << "terraq: cannot write to standard output: " << std::strerror(standardOutputError)
            << "\n";
  return kExitUsage;
}

}  // namespace terraq::cli
