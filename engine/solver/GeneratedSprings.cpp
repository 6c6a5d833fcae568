#include "GeneratedSprings.h"

#include <algorithm>
#include <iterator>

#include "Solver.h"

namespace terraq::engine {

Segment EvaluateTable(const std::vector<double>& y, const std::vector<double>& p, double w,
                      bool& offCurve) {
  Segment s;
  const size_t n = y.size();
  if (n < 2) return s;
  // The first point at or beyond w, from the second on: the segment ends there.
  size_t b =
      static_cast<size_t>(std::distance(y.begin(), std::lower_bound(y.begin() + 1, y.end(), w)));
  if (w < y.front()) offCurve = true;
  if (b == n) {
    offCurve = true;
    b = n - 1;
  }
  const size_t a = b - 1;
  const double dy = y[b] - y[a];
  if (dy == 0.0) return s;
  s.k = -(p[b] - p[a]) / dy;
  s.q = s.k * y[a] + p[a];
  return s;
}

void ApplyGeneratedSprings(EngineModel& model) {
  StationArrays& st = model.st;
  for (const StationSpring& s : model.generatedSprings) {
    Segment seg = EvaluateTable(s.y, s.p, st.w[s.j], model.offCurve);
    if (model.secants) {
      bool ignored = false;
      seg = SecantFromZero(EvaluateTable(s.y, s.p, 0.0, ignored), seg, st.w[s.j]);
    }
    st.Qw[s.j] += seg.q * s.share;
    st.Sw[s.j] += seg.k * s.share;
  }
}

}  // namespace terraq::engine
