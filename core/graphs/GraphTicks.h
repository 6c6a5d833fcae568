#pragma once
// The tick marks of one axis: a minor spacing of 1, 2 or 5 times a power of
// ten, chosen so that labelled ticks (every fifth) stand at least about six
// text heights apart (four in each of three panels). Tick k lies at
// k * Minor; First..Last are the indices inside the axis range.

namespace terraq::ui {

struct TAxisTicks {
  bool Any = false;       // false: the axis gets no ticks (too short)
  long double Major = 0;  // the spacing of labelled ticks
  long double Minor = 0;  // Major / 5
  long long First = 0, Last = -1;
  // Every fifth tick carries a grid line and a label.
  static bool Labelled(long long k) { return k % 5 == 0; }
};

// The ticks of an axis from min to max drawn over `pixels` pixels, with one
// interval per `pixelsPerInterval` (6h for a single panel, 4h for one of
// three).
TAxisTicks AxisTicks(long double min, long double max, int pixels, int pixelsPerInterval);

}  // namespace terraq::ui
