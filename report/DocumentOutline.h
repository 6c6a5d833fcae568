#pragma once
// What the PDF and the HTML of one document must agree on, worked out once:
// the numbers of the headings ("3", "3.2"), tables ("Table 4") and figures
// ("Figure 2"), the anchors of the headings, and where a cell of a column
// aligned on the decimal point splits.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Document.h"

namespace terraq::report {

// The label of one block of Document::blocks, by index.
struct BlockLabel {
  // A heading of level 1 or 2: "3" or "3.2"; empty for level 3 and for
  // every other block.
  std::string number;
  // A heading: its anchor, unique in the document (the heading's own
  // anchor, or one made from its text; a repeat gets "-2", "-3"...).
  std::string anchor;
  // A table or figure with a caption: "Table 4", "Figure 2"; empty for one
  // without a caption (it is not counted).
  std::string caption;
};

// One label per block of `document`, in order.
std::vector<BlockLabel> LabelBlocks(const Document& document);

// Where a cell of a decimal-aligned column splits into the part before the
// point (right-aligned on the alignment line) and the rest: at its first
// '.', or at its end when it has none.
std::size_t DecimalSplit(std::string_view cell);

}  // namespace terraq::report
