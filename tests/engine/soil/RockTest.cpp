// Rock curves: the strong-rock curve from the uniaxial compressive strength
// (a stiff line, a second line of slope 100 s up to s b, a residual beyond),
// and Reese's weak-rock criterion (1997) with its strength reduction for
// the RQD, computed here from their published forms.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "soil/StrongRock.h"
#include "soil/WeakRock.h"

namespace terraq::engine {
namespace {

TEST(StrongRock, CurveRisesOnTwoLinesToSbThenKeepsTheResidual) {
  const double s = 500, gamma = 0.08, b = 12.0, z = 150.0;
  // s b is reached where 2000 s y1 + 100 s (y - y1) = s b, y1 = 0.0004 b.
  const double y1 = 0.0004 * b, yu = y1 + (s * b - 2000 * s * y1) / (100 * s);
  for (const double pm : {1.0, 0.6}) {
    const StrongRockCurve curve = StrongRockStaticCurve(s, gamma, b, z, pm);
    for (int i = 0; i < 16; ++i) {
      const auto k = static_cast<size_t>(i);
      const double y = i * yu / 15;  // equal steps, point 16 at yu
      EXPECT_NEAR(curve.y[k], y, 1e-6 * yu) << i + 1;
      const double rising = y < y1 ? 2000 * s * y : 2000 * s * y1 + 100 * s * (y - y1);
      EXPECT_NEAR(curve.p[k], pm * rising, 1e-5 * s * b) << "point " << i + 1;
    }
    // Point 16 carries the ultimate resistance, reduced by the multiplier;
    // point 17, a step beyond, the residual of the fractured rock, unreduced.
    EXPECT_NEAR(curve.p[15], pm * s * b, 1e-5 * s * b);
    EXPECT_NEAR(curve.y[16], 16 * yu / 15, 1e-6 * yu);
    EXPECT_DOUBLE_EQ(curve.p[16], 0.5 * gamma * b * z);
  }
}

// Reese (1997): alpha_r = 1 - (2/3) RQD/100; pur = alpha_r qu b (1 + 1.4 xr / b)
// to 3b, 5.2 alpha_r qu b below; Kir = (100 + 400 xr / (3b)) Em to 3b, 500 Em
// below; p = Kir y up to yA, then pur / 2 (y / yrm)^(1/4), yrm = krm b.
TEST(WeakRock, CurveFollowsReesesCriterion) {
  const double qu = 3000, em = 3.0e5, krm = 0.0005, b = 0.6, yrm = krm * b;
  const double factors[] = {0.0005, 0.001, 0.003, 0.006, 0.009, 0.02, 0.04, 0.06, 0.08,
                            0.1,    0.25,  0.5,   0.75,  1.0,   4.0,  8.0,  12.0};
  for (const double xr : {0.1, 1.0, 5.0}) {
    for (const double rqd : {0.0, 40.0, 100.0}) {
      const double alpha = 1.0 - 2.0 / 3.0 * rqd / 100.0;
      const double pur = xr <= 3 * b ? alpha * qu * b * (1 + 1.4 * xr / b) : 5.2 * alpha * qu * b;
      const double Kir = (xr <= 3 * b ? 100 + 400 * xr / (3 * b) : 500) * em;
      const double yA = std::pow(0.5 * pur / (Kir * std::pow(yrm, 0.25)), 4.0 / 3.0);  // lines meet
      const WeakRockCurve curve = WeakRockStaticCurve(qu, rqd, em, krm, b, xr);
      EXPECT_NEAR(curve.alphaR, alpha, 1e-6);
      EXPECT_NEAR(curve.yA, yA, 1e-5 * yA);
      for (size_t i = 0; i < 17; ++i) {
        const double y = factors[i] * yrm;
        EXPECT_NEAR(curve.y[i], y, 1e-6 * y);
        const double p = y < yA ? Kir * y : std::min(0.5 * pur * std::pow(y / yrm, 0.25), pur);
        EXPECT_NEAR(curve.p[i], p, 1e-5 * pur) << "xr " << xr << " RQD " << rqd << " point " << i + 1;
      }
      // The last point, 12 yrm, carries 0.5 x 12^(1/4) = 0.93 pur: no point
      // reaches the cap.
      EXPECT_NEAR(curve.p[16] / pur, 0.5 * std::pow(12.0, 0.25), 1e-5);
    }
  }
}

}  // namespace
}  // namespace terraq::engine
