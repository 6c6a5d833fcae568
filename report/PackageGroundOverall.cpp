// The overall stability's subsection of the section on the ground around
// the wall: the critical slip circle by Bishop's simplified method, its
// circle and slices, and its figure (graphics/SlipCirclePainter.h).

#include "PackageGroundOverall.h"

#include "FourDigits.h"
#include "SlipCircle.h"
#include "SlipCirclePainter.h"

namespace terraq::report::detail {

namespace {

using design::FourDigits;

Figure SlipCirclePicture(const design::SlipGround& ground, const design::SlipSearchResult& s) {
  ui::SlipCircleFigure figure{ground, s};
  return Figure{"Overall stability: the critical slip circle, its slices and its centre", 0.75,
                [figure](QPainter& painter, const QRectF& area, double dpi) {
                  ui::PaintSlipCircle(painter, area, dpi, figure);
                }};
}

}  // namespace

void AppendOverallStability(const design::SlipSearchResult* overall,
                            const design::SlipGround* ground, std::string_view skipped,
                            std::vector<Block>& blocks) {
  blocks.push_back(Heading{3, "Overall stability", {}});
  if (!overall) {
    blocks.push_back(Paragraph{"The overall stability was not checked: " + std::string(skipped) +
                               (skipped.empty() || skipped.back() == '.' ? "" : ".")});
    return;
  }
  blocks.push_back(Paragraph{
      "A deep rotational slide below the wall's tip, carrying the wall, the retained soil and the "
      "anchors' free lengths with it, by Bishop's simplified method of slices on circles: F = "
      "[Σ (c b + (W − u b) tan φ) / m_α + M_A / R] / Σ W sin α, m_α = cos α + sin α tan φ / F, the "
      "bonds beyond the circle resisting with their pull-out capacity (M_A); the critical circle is "
      "found on a grid of centres and tangent levels, then refined by a pattern search. Sources: "
      "Bishop, A. W. (1955), The use of the slip circle in the stability analysis of slopes, "
      "Géotechnique 5(1); the refusal of slices with m_α ≤ 0.2 after Whitman, R. V., & Bailey, "
      "W. A. (1967)."});
  if (overall->error) {
    blocks.push_back(
        Paragraph{"No slip circle has a factor: " + *overall->error, Paragraph::Style::Warning});
    return;
  }
  const design::SlipResult& c = overall->critical;
  blocks.push_back(KeyValues{{
      {"Factor of safety of the critical circle", "F", FourDigits(c.factor), ""},
      {"Centre", "xc, yc", FourDigits(c.circle.xc) + ", " + FourDigits(c.circle.yc), "m"},
      {"Radius", "R", FourDigits(c.circle.radius), "m"},
      {"Driving moment", "Σ W R sin α", FourDigits(c.drivingMoment), "kNm/m"},
      {"Anchors' resisting moment", "M_A", FourDigits(c.anchorMoment), "kNm/m"},
      {"Circles tried (admissible)", "",
       std::to_string(overall->circlesTried) + " (" + std::to_string(overall->circlesAdmissible) +
           ")",
       ""},
  }});
  if (ground) blocks.push_back(SlipCirclePicture(*ground, *overall));
}

}  // namespace terraq::report::detail
