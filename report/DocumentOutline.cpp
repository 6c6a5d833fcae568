#include "DocumentOutline.h"

#include <cctype>
#include <set>

namespace terraq::report {
namespace {

// An anchor made of the heading's letters and digits ("3.2 Soil layers" →
// "soil-layers"): ASCII only, so that it reads the same in any link.
std::string Slug(std::string_view text) {
  std::string slug;
  bool dash = false;
  for (unsigned char c : text) {
    if (std::isalnum(c) && c < 0x80) {
      if (dash && !slug.empty()) slug += '-';
      slug += static_cast<char>(std::tolower(c));
      dash = false;
    } else {
      dash = true;
    }
  }
  return slug.empty() ? std::string("section") : slug;
}

}  // namespace

std::vector<BlockLabel> LabelBlocks(const Document& document) {
  std::vector<BlockLabel> labels(document.blocks.size());
  std::set<std::string> anchors;
  int chapter = 0, section = 0, tables = 0, figures = 0;
  for (std::size_t i = 0; i < document.blocks.size(); ++i) {
    BlockLabel& label = labels[i];
    if (const auto* heading = std::get_if<Heading>(&document.blocks[i])) {
      if (heading->level <= 1) {
        label.number = std::to_string(++chapter);
        section = 0;
      } else if (heading->level == 2) {
        ++section;
        label.number = chapter > 0 ? std::to_string(chapter) + "." + std::to_string(section)
                                   : std::to_string(section);
      }
      const std::string base = heading->anchor.empty() ? Slug(heading->text) : heading->anchor;
      label.anchor = base;
      for (int n = 2; !anchors.insert(label.anchor).second; ++n)
        label.anchor = base + "-" + std::to_string(n);
    } else if (const auto* table = std::get_if<Table>(&document.blocks[i])) {
      if (!table->caption.empty()) label.caption = "Table " + std::to_string(++tables);
    } else if (const auto* figure = std::get_if<Figure>(&document.blocks[i])) {
      if (!figure->caption.empty()) label.caption = "Figure " + std::to_string(++figures);
    }
  }
  return labels;
}

std::size_t DecimalSplit(std::string_view cell) {
  const std::size_t point = cell.find('.');
  return point == std::string_view::npos ? cell.size() : point;
}

}  // namespace terraq::report
