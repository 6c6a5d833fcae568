#include "project/FittedValues.h"

#include <exception>
#include <optional>

#include "Parameters.h"
#include "project/TProgramData.h"

namespace terraq::ui {

bool ApplyFittedValues(TProgramData& data,
                       const std::vector<std::pair<std::string, double>>& values,
                       std::string& refused) {
  if (data.StageCount > 1) {
    refused =
        "A staged project keeps its soil and wall per stage: enter the fitted values in "
        "the stages' tables.";
    return false;
  }
  if (values.empty()) {
    refused = "There are no fitted values to apply.";
    return false;
  }
  const std::string before = data.DataFileText();
  std::string error;
  const std::optional<design::ParameterText> text = design::ParameterText::Parse(before, error);
  if (!text) {
    refused = "The project's parameters cannot be read: " + error;
    return false;
  }
  const design::ParameterText::Applied applied = text->apply(values);
  if (applied.error) {
    refused = "The fitted values cannot be set in the data file: " + *applied.error;
    return false;
  }
  // Reading the text back replaces the tables; the project keeps its name.
  const std::string name = data.DataFileName;
  try {
    data.LoadText(applied.text);
  } catch (const std::exception& e) {
    data.LoadText(before);  // the project as it was
    data.DataFileName = name;
    refused = std::string("The project cannot take the fitted values: ") + e.what();
    return false;
  }
  data.DataFileName = name;
  data.Modified = true;
  return true;
}

}  // namespace terraq::ui
