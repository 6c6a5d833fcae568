// The Study item of the Computation menu and the Study window it opens,
// which reads the project as it stands at each Run and keeps its study
// beside the project's data file.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <string>
#include <utility>
#include <vector>

#include "design/StudyFitView.h"
#include "design/TStudyForm.h"
#include "dialogs/TDialogWindows.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"
#include "project/FittedValues.h"
#include "widgets/ScrollingPanel.h"

namespace terraq::ui {

void TMainForm::addStudyItem(QMenu* menu) {
  QAction* a = addItem(menu, QStringLiteral("CompStudy"), tr("&Study..."));
  connect(a, &QAction::triggered, this, &TMainForm::ShowStudy);
}

void TMainForm::ShowStudy() {
  if (studyWindow_) {
    if (studyWindow_->isMinimized()) studyWindow_->showNormal();
    mdiArea_->setActiveSubWindow(studyWindow_);
    return;
  }
  // The project is asked for at each Run: New and Open replace the project
  // behind the main window. What is typed in an open dialog counts.
  auto* form = new TStudyForm(
      [this] {
        storeChildWindows();
        return WholeDataText();
      },
      [this] {
        const std::string& name = Data().DataFileName;
        return name == kNewFileName ? QString() : QString::fromStdString(name);
      });
  // The sequence as it stands at each Run, stages and supports as edited.
  form->SetSequence([this] { return project_.Members().StagedSequence(); });
  form->SetSoilModel(soilModelSource());
  // The cut's plan as it stands: the ground's outputs of a random study.
  form->SetGround([this] { return project_.Members().excavation; });
  form->FitView()->SetMeasurements([this] { return project_.Members().measurements; });
  // Fitted values go into the project as the Design window's Apply puts a
  // wall length there: the data windows stored first, shown changed after.
  form->FitView()->SetApply(
      [this](const std::vector<std::pair<std::string, double>>& values) -> std::string {
        if (!storeChildWindows()) return "A data window holds an entry that is not valid.";
        std::string refused;
        if (!ApplyFittedValues(Data(), values, refused)) return refused;
        tableWindows_->Refresh();
        dialogWindows_->ReloadAll();
        projectEdited(tr("Apply Fitted Values"));
        return {};
      });
  QMdiSubWindow* window = mdiArea_->addSubWindow(form);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setObjectName(QStringLiteral("StudyWindow"));
  window->setWindowTitle(form->windowTitle());
  studyWindow_ = window;
  window->show();
  FitSubWindow(window, mdiArea_);
}

}  // namespace terraq::ui
