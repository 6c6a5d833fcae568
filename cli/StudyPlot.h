#pragma once
// terraq-plot study-plot: the picture of a study, drawn by the plotting
// helper from the JSON the study printed (terraq study --plot hands it over
// in a temporary file, so that the command itself loads no painting
// library). A sweep draws one output against the first parameter: one
// curve per value of the second parameter, or per stage when the output is
// named without its stage in a staged project. A sampling study draws the
// histogram of one output. BMP, PNG, SVG or PDF by the picture's extension,
// 6 x 4 inches at 96 pixels per inch.
//
//   terraq-plot study-plot --in STUDY.json --output NAME --out FILE
//
// Exit status: 0 drawn; 1 the study holds nothing to draw for the output;
// 2 a file that cannot be read or written.

#include <string_view>
#include <vector>

namespace terraq::cli {

int StudyPlotCommand(const std::vector<std::string_view>& args, const char* programName);

}  // namespace terraq::cli
