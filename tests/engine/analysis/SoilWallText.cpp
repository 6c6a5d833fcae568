#include "SoilWallText.h"

#include <sstream>

namespace terraq::test {

std::string SoilWall::text(int stages, int stage) const {
  std::ostringstream out;
  out.precision(17);
  out << "Soil model test wall, stage " << stage << "\n";
  out << units << " 0 1 0 2 2 0 " << stages << " 0\n";
  out << NI << " " << h << " " << WMAX << " " << TOL << " " << excavation << "\n";
  out << "0 " << NI << " 1 " << EI << "\n";
  out << "0\n" << springs.size() << "\n";
  for (const Spring& s : springs)
    out << s.station << " " << s.station << " 1 " << s.stiffness << " 0\n";
  out << excavation << " " << width << " " << width << " " << waterBehind << " " << waterFront
      << " " << activeFactor << " 1 0\n";
  out << surcharge << " 0 0 0 0 0\n0\n" << layers.size() << "\n";
  for (const Layer& l : layers) {
    out << l.code << " " << l.bottom << "\n";
    for (int row = 0; row < 2; ++row)
      out << l.gamma << " " << l.cohesion << " " << l.phi << " 0.01 20000 0\n";
  }
  out << (stages > 1 ? stage : 0) << "\n";
  return out.str();
}

std::string StagedSoilText(const std::vector<SoilWall>& stages) {
  std::string text;
  const int n = static_cast<int>(stages.size());
  for (int k = 0; k < n; ++k) text += stages[static_cast<size_t>(k)].text(n, k + 1);
  return text;
}

}  // namespace terraq::test
