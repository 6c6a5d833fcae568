#pragma once
// The file a graph is saved to, from what the user chose in the save
// dialog: a name typed with a known extension (.bmp, .png, .svg, .pdf) is
// saved in that format whatever type was selected; a name without one gets
// the extension of the selected type.

#include <QString>

#include "GraphOutput.h"

namespace terraq::ui {

// The save dialog's types, in filter order (index 0 is the bitmap).
QString GraphSaveFilter();

// What Save To Disk offers first: a PNG picture of 6 by 4 inches at 150
// pixels per inch in true colour, which a report takes as it is (a 72 ppi
// bitmap of 16 colours prints coarse and banded).
inline constexpr int kDefaultGraphFilterIndex = 1;  // PNG
TGraphImageSize DefaultGraphImageSize();

struct TGraphSaveChoice {
  QString File;              // with its extension
  TGraphFileFormat Format = TGraphFileFormat::Bmp;
};
// `filterIndex` is the 0-based type selected (out of range: the bitmap).
TGraphSaveChoice ChooseGraphFile(const QString& typed, int filterIndex);

// A file name for the graph's caption, without characters that a file
// name cannot hold; "graph" for an empty caption.
QString SuggestedGraphFileName(const std::string& caption);

}  // namespace terraq::ui
