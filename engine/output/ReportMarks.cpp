#include "ReportMarks.h"

#include "textio/FixedFormat.h"

namespace terraq::engine {

void WriteStarBox(TextOut& report, std::string_view framedTitle) {
  constexpr std::string_view kStars = "**************************************************";
  report.emptyLines(2);
  report.line(Line().x(6).a(kStars).str());
  report.line(Line().x(6).a(framedTitle).str());
  report.line(Line().x(6).a(kStars).str());
}

std::string WarningMarkLine() { return Line().x(29).a("**** WARNING ****").str(); }

}  // namespace terraq::engine
