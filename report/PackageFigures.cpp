// Placeholder until the figures land: captions without drawings.
#include "PackageFigures.h"

namespace terraq::report {

Figure ProfileFigure(const ui::TProgramData&, const std::string& caption) { return {caption, 0.6, {}}; }

Figure PressureFigure(const std::vector<engine::api::ProblemResult>&, const std::vector<std::string>&, int,
                      const std::string& caption) {
  return {caption, 0.6, {}};
}

Figure ResultFigure(Quantity, const std::vector<engine::api::ProblemResult>&, const std::vector<std::string>&, int,
                    const std::string& caption) {
  return {caption, 0.6, {}};
}

}  // namespace terraq::report
