// Placeholder until the contents land: the title page only.
#include "PackageContents.h"

namespace terraq::report {

Document BuildPackage(const PackageInput& input) {
  Document document;
  document.titlePage.title = input.dataFile.filename().string();
  return document;
}

}  // namespace terraq::report
