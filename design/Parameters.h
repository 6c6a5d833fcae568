#pragma once
// The values of a data file a study can vary, in one vocabulary of short
// dotted names, and the data text rewritten with new values:
//
//   tip            the wall's length NI h (the tip's depth below the top)
//   ei             the wall's EI: its first stiffness row's value; a new
//                  value scales every row, and the EI of every moment-EI
//                  curve, by the same factor
//   excavation     the free height (wall record and wall configuration)
//   spring.N       lateral stiffness of row N of the springs table (anchors)
//   load.N         lateral load of row N of the concentrated loads
//   surcharge      uniform pressure on the backfill surface
//   water.back     depth of the water table behind the wall
//   water.front    depth of the water table in front of it
//   slope.back     the backfill slope beta (degrees), where the wall record
//                  carries it
//   layer.N.NAME   a soil parameter of layer N, by its soil model: gamma,
//                  su (clays), c (silt), phi, e50, k, qu (rocks), krm, em,
//                  rqd (weak rock); the layer's top and bottom rows alike
//                  (a bottom that differs from the top is scaled with it)
//   all.k, all.su  a multiplier of every layer's k (all.su: su), 1 for the
//                  data file as it is: the factor a back-analysis finds
//                  between the laboratory's stiffness or strength and the
//                  ground's. It scales each layer's values as they stand
//                  when it is applied (after the names before it in one
//                  list). Found by find() but not listed by parameters(),
//                  where a layer has the field
//   stage.K.NAME   any of these in stage K of a staged project only; the
//                  plain name sets every stage (and a long-term problem)
//   layer.N.KEY    on subgrade-reaction springs (SoilModel.h), a parameter
//                  of layer N's springs, KEY one of api::SubgradeParameters();
//                  set in the analysis options, not the text, for every
//                  problem and stage alike
//   delta.back     with the project's earth-pressure theories (SoilModel.h),
//   delta.front    the wall friction δ/φ' of the backfill face and of the
//                  excavation face, from 0 to 1; set in the analysis
//                  options as the springs' parameters are
//   seismic.kh     the horizontal and vertical seismic coefficients of the
//   seismic.kv     shaking ground (SoilModel.h), 0 <= kh < 1, -1 < kv < 1;
//                  set in the analysis options. A project whose ground is
//                  still may vary them too (by Mononobe-Okabe), though its
//                  list of names leaves them out
//
// Rows and layers are numbered from 1 in the order of the data file. A
// longer or shorter wall keeps its increments or its increment length as
// WallText says; kept at its increment length, the tip moves by whole
// increments and the applied value is the nearest one.
//
// Units: those of the data file (as terraq run --json reports them).
// Thread safety: a ParameterText is read-only once parsed; apply() may run
// on any number of threads at once.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SoilModel.h"
#include "WallText.h"

namespace terraq::design {

struct Parameter {
  std::string name;
  double value = 0;  // in the first problem that has it
  // The physical range: a distribution reaching beyond it is truncated.
  double lower = -1e300, upper = 1e300;
};

class ParameterText {
 public:
  // Empty with `error` set when the text cannot be walked (see WallText).
  // The walls are analysed with `soil`, whose springs' parameters are then
  // names too.
  static std::optional<ParameterText> Parse(std::string_view dataText, std::string& error,
                                            const SoilModel& soil = {});

  // Every name the data text has, with its current value, in a fixed order.
  const std::vector<Parameter>& parameters() const { return parameters_; }
  // The parameter named `name`; nullptr when the text has none.
  const Parameter* find(const std::string& name) const;
  // "tip, ei, ..." for a message.
  std::string validNames() const;
  // Why `name` is not one of the names, for a message: a spring's
  // parameter on a wall analysed with the p-y model says so.
  std::string unknown(const std::string& name) const;

  struct Applied {
    std::string text;                  // the whole data text with the values set
    SoilModel soil;                    // the soil model to analyse it with, values set
    std::vector<double> values;        // as applied (a tip at a whole increment)
    std::optional<std::string> error;  // unknown name, a wall too short, ...
  };
  Applied apply(const std::vector<std::pair<std::string, double>>& values) const;

 private:
  std::vector<WallText> problems_;
  bool staged_ = false;
  std::vector<Parameter> parameters_;
  std::vector<Parameter> multipliers_;  // all.KEY: found, not listed
  SoilModel soil_;
};

// Why kh and kv cannot be the seismic coefficients of shaking ground ("kh
// must be from 0 to less than 1, not 1.2"); empty when they can. The
// project's member, a study and a construction stage all ask.
std::string SeismicCoefficientsFault(double kh, double kv);

}  // namespace terraq::design
