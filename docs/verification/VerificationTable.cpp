#include "VerificationTable.h"

#include <cstdio>

namespace terraq::verification {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", value);
  return text;
}

std::string PercentDifference(double reference, double computed) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", 100.0 * (computed - reference) / reference);
  // "-0.00" and "0.00" are the same agreement; print it one way.
  return std::string(text) == "-0.00" ? "0.00" : text;
}

Section ComparisonSection(const std::string& title, const std::string& description,
                          const std::string& referenceHeading, const std::vector<Comparison>& rows) {
  Section s{title, description, {"Quantity", referenceHeading, "TERRAQ", "Difference (%)"}, {}};
  for (const Comparison& r : rows)
    s.rows.push_back({r.quantity, Number(r.reference), Number(r.computed), PercentDifference(r.reference, r.computed)});
  return s;
}

std::string PageText(const std::vector<Section>& sections) {
  std::string page = "<!-- Written by terraq_doc_verification from runs of the engine; do not edit. -->\n";
  const auto tableRow = [](const std::vector<std::string>& cells) {
    std::string line = "|";
    for (const std::string& cell : cells) line += " " + cell + " |";
    return line + "\n";
  };
  for (const Section& s : sections) {
    page += "\n### " + s.title + "\n\n" + s.description + "\n\n" + tableRow(s.header) + "|";
    for (size_t k = 0; k < s.header.size(); ++k) page += "---|";
    page += "\n";
    for (const auto& row : s.rows) page += tableRow(row);
  }
  return page;
}

}  // namespace terraq::verification
