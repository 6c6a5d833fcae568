#include "PackageFile.h"

#include <QDate>

#include "DocumentHtml.h"
#include "api/EngineRoute.h"
#include "platform/ProgramBasics.h"
#include "project/AsciiLower.h"
#include "project/AtomicFile.h"
#include "project/ProjectDesignSituations.h"
#include "project/SequentialRun.h"
#include "project/WriteGuards.h"

namespace terraq::report {

std::optional<PackageForm> PackageFormFor(const std::filesystem::path& file) {
  const std::string extension = ui::AsciiLower(file.extension().string());
  if (extension == ".pdf") return PackageForm::Pdf;
  if (extension == ".html" || extension == ".htm") return PackageForm::Html;
  return std::nullopt;
}

PackageInput AnalysedPackageInput(const std::filesystem::path& dataFile, std::string dataText) {
  PackageInput input;
  input.dataFile = dataFile;
  input.dataText = std::move(dataText);
  engine::api::AnalysisOptions options;
  options.reportText = true;
  // A project with a construction sequence: the package is of its stages,
  // each from the one before, as terraq run analyses them. The design
  // situations build the stages themselves from the data file as it is,
  // each set factoring it first.
  const std::string beforeConstruction = input.dataText;
  // The project's members, read once for every part of the package.
  ui::MembersFault fault;
  const ui::ProjectMembers members = ui::ReadProjectMembers(
      dataFile, [&input] { return ui::DataTextUnits(input.dataText); }, fault);
  std::string sequenceError;
  if (std::optional<ui::SequentialRunInput> sequence =
          ui::SequentialRunOf(members, fault, input.dataText, sequenceError)) {
    std::string unstaged = std::move(input.dataText);
    input.dataText = sequence->sequence.text;
    options.sequential = std::move(sequence->options);
    input.sequence = PackageInput::Sequence{std::move(sequence->plan),
                                            std::move(sequence->sequence), std::move(unstaged)};
  }
  // The soil as the project models it, for the text analysed (the stages
  // when there are).
  if (sequenceError.empty())
    input.subgrade = options.subgrade =
        ui::SubgradeRunOptions(dataFile, members.soilModel, input.dataText, sequenceError);
  input.earthPressure = options.earthPressure = members.earthPressure;
  input.seepage = options.seepage = members.seepage;
  input.anchors = members.anchors;
  input.excavation = members.excavation;
  input.measurements = members.measurements;
  options.seismic = members.seismic;
  if (sequenceError.empty()) input.analysis = engine::Analyse(input.dataText, options);
  else  // nothing analysed: the package gives the inputs and why
    input.analysis.error =
        engine::api::AnalysisError{engine::api::AnalysisError::Kind::Stop, sequenceError, 0};
  input.programVersion = ui::kVersionText;
  input.date = QDate::currentDate().toString(Qt::ISODate).toStdString();
  input.section = ui::CheckProjectSection(dataFile, members, fault, input.dataText, input.analysis);
  input.situations = RunPackageSituations(dataFile, members, fault, beforeConstruction);
  input.design = PackageDesignChoice(members, fault);
  // The design chapter's limit equilibrium takes the seepage the analysis took.
  if (input.design) input.design->record.request.soil.seepage = members.seepage;
  return input;
}

std::string PackageBytes(const Document& document, PackageForm form, Paper paper) {
  return form == PackageForm::Pdf ? PdfBytes(document, paper) : HtmlText(document);
}

std::string WritePackageFile(const std::filesystem::path& file, const std::string& bytes) {
  try {
    ui::WriteFileAtomically(file, bytes);
  } catch (const ui::EFileWriteError& e) {
    return "cannot write " + e.path().string() + ": " + e.reason();
  } catch (const ui::EInOutError& e) {
    return e.what();
  }
  return {};
}

std::optional<PackageInput::DesignChoice> PackageDesignChoice(const ui::ProjectMembers& members,
                                                              const ui::MembersFault& fault) {
  // None, or a project file the command refused already.
  if (!members.designRecord || fault.part == ui::MembersFault::Part::ProjectFile)
    return std::nullopt;
  PackageInput::DesignChoice choice{*members.designRecord, std::nullopt, {}};
  if (!choice.record.approach.empty())
    choice.approach = ui::FindProjectFactorSet(members, choice.record.approach, choice.error);
  return choice;
}

}  // namespace terraq::report
