// TMainForm: the members of the project file the project holds beside its
// data file (section, design situations, construction sequence, design
// record: project/ProjectMembers.h). The project reads them when it opens
// and keeps them; the window says what it opened without, saves them after
// the data file and converts them with the units.

#include <QMdiSubWindow>
#include <QStatusBar>

#include "mainwindow/TMainForm.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

void TMainForm::tellMembersFault() {
  const MembersFault& fault = project_.ProjectFileFault();
  const QString reason = QString::fromStdString(fault.reason);
  switch (fault.part) {
    case MembersFault::Part::None: return;
    case MembersFault::Part::ProjectFile:
      // The user agreed to open the data file alone (OpenFile).
      statusBar()->showMessage(
          tr("The project file is not read, the project opens without the section, design "
             "situations, sequence, soil model and design record it keeps; saves leave it as "
             "it is: %1")
              .arg(reason));
      return;
    case MembersFault::Part::Sequence:
      statusBar()->showMessage(
          tr("The construction sequence is not read, the project opens without it: %1")
              .arg(reason));
      return;
  }
}

void TMainForm::saveProjectMembers() {
  QStringList unsaved;
  for (const std::string& line : project_.SaveMembers()) unsaved << QString::fromStdString(line);
  if (!unsaved.isEmpty())
    TUserPrompts::Current().showWarning(
        this, tr("The data file is saved, but not all the project keeps beside it:\n%1")
                  .arg(unsaved.join(QLatin1Char('\n'))));
}

void TMainForm::membersToUnits(int before) {
  project_.Members() = MembersInUnits(project_.Members(), before, Data().Units);
  // The windows of the members show them in the units they were opened
  // with: the minimum surcharge, the design's lengths, the sequence's
  // headers.
  if (situationsWindow_) situationsWindow_->close();
  if (designWindow_) designWindow_->close();
  if (sequenceWindow_) sequenceWindow_->close();
}

design::SoilModelSource TMainForm::soilModelSource() {
  return [this](std::string_view engineText, std::string& error) {
    return DesignSoilModel(Data().DataFileName, project_.Members(), engineText, error);
  };
}

}  // namespace terraq::ui
