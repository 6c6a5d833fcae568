#include "PlotFile.h"

#include "textio/FixedFormat.h"

namespace terraq::engine {

void WriteNoEarthPressureBlock(TextOut& plot) { plot.line((ListRecord() << 0).str()); }

void WriteEarthPressureBlock(TextOut& plot, const std::vector<EarthPressureRow>& rows, bool thinned) {
  if (!plot.wanted()) return;
  const size_t step = thinned ? 6 : 1;
  const int written = static_cast<int>((rows.size() + step - 1) / step);
  plot.line((ListRecord() << written).str());
  for (size_t k = 0; k < rows.size(); k += step) {
    const EarthPressureRow& r = rows[k];
    // A soil pressure of exactly zero is written as 1.0E-7: the graph of the
    // soil part is drawn on a scale that cannot start at zero.
    const double soil = r.soil == 0.0 ? 1.0e-7 : r.soil;
    plot.line(Line().x(2).e(r.depth, 10, 3).x(2).e(r.total, 10, 3).x(2).e(soil, 10, 3).x(2)
                  .e(r.surcharge, 10, 3).str());
  }
}

void WritePyBlock(TextOut& plot, const EngineModel& model, int userCurves) {
  if (!plot.wanted()) return;
  const ProblemControl& c = model.control;
  if (model.curves.empty()) {
    plot.line((ListRecord() << c.KUNITS << 0).str());
    return;
  }
  plot.line((ListRecord() << c.KUNITS << static_cast<int>(model.curves.size())).str());
  // Generated curves alone are headed by their depth; next to user curves
  // every curve is headed by its station.
  const bool generatedOnly = userCurves == 0;
  for (const Curve& curve : model.curves) {
    if (generatedOnly)
      plot.line(Line().x(1).f(curve.depth, 10, 2).x(1).i(curve.n, 5).str());
    else
      plot.line((ListRecord() << curve.station << curve.n).str());
    // The block carries p per unit length of wall, before the
    // multiplication by the increment length.
    for (int i = 1; i <= curve.n; ++i) {
      const auto idx = static_cast<size_t>(i);
      plot.line((ListRecord() << curve.y[idx] << curve.pPlot[idx]).str());
    }
  }
}

void WriteResultBlock(TextOut& plot, int plotCode, int units, const std::vector<ResultRow>& rows) {
  if (!plot.wanted()) return;
  plot.line((ListRecord() << plotCode << static_cast<int>(rows.size()) << units).str());
  for (const ResultRow& r : rows) {
    plot.line(Line().x(1).e(r.x, 13, 4).x(1).e(r.deflection, 13, 4).x(1).e(r.moment, 13, 4).x(1)
                  .e(r.shear, 13, 4).x(1).e(r.reaction, 13, 4).str());
  }
}

void WriteMonitorHeading(TextOut& monitor) {
  monitor.emptyLines(3);
  monitor.line("     ITERATION MONITOR DATA");
  monitor.line("     ----------------------");
}

void WriteMonitorLine(TextOut& monitor, int iteration, bool offCurve, int notClosed,
                      const double (&deflections)[5]) {
  if (!monitor.wanted()) return;
  Line line;
  line.x(3).i(iteration, 4).x(7);
  if (offCurve) line.a("YES").x(6);
  else line.a("NO").x(7);
  line.i(notClosed, 4).x(2);
  for (double d : deflections) line.e(d, 10, 3);
  monitor.line(line.str());
}

}  // namespace terraq::engine
