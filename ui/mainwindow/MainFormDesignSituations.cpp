// The Design Situations item of the Computation menu and its window, and the
// project's choice of sets of partial factors: read with the project, kept
// in the project file beside the data file when the project is saved, with
// the wall's section (MainFormSection.cpp).

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>

#include "design/TDesignForm.h"
#include "design/TDesignSituationsForm.h"
#include "mainwindow/TMainForm.h"
#include "project/ProjectDesignSituations.h"
#include "project/ProjectSection.h"
#include "project/ProjectSequence.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

namespace fs = std::filesystem;

void TMainForm::addDesignSituationsItem(QMenu* menu) {
  QAction* a = addItem(menu, QStringLiteral("CompDesignSituations"), tr("&Design Situations..."));
  a->setToolTip(
      tr("The wall analysed with sets of partial factors, and the envelope of the design "
         "effects"));
  connect(a, &QAction::triggered, this, &TMainForm::ShowDesignSituations);
}

void TMainForm::SetDesignSituations(const DesignSituationsChoice& choice) {
  // Nothing chosen, nothing of the project's own and the options as they
  // come: the project has no design situations and writes no file for them.
  if (choice == DesignSituationsChoice{}) designSituations_.reset();
  else designSituations_ = choice;
  // The Design window offers the project's sets as design approaches.
  if (designWindow_)
    if (auto* design = qobject_cast<TDesignForm*>(designWindow_->widget()))
      design->SetFactorSets(choice.sets);
  Data().Modified = true;
  UpdateMenuStates();
}

void TMainForm::ShowDesignSituations() {
  if (situationsWindow_) {
    if (situationsWindow_->isMinimized()) situationsWindow_->showNormal();
    mdiArea_->setActiveSubWindow(situationsWindow_);
    return;
  }
  // The data text is asked for at each use: what is typed in an open
  // dialog counts, and every stage of a staged project is analysed.
  auto* form = new TDesignSituationsForm(
      [this] {
        storeChildWindows();
        return project_.DataText();
      },
      designSituations_.value_or(DesignSituationsChoice{}),
      [this](const DesignSituationsChoice& choice) { SetDesignSituations(choice); });
  // The sequence as it stands at each run, stages and supports as edited.
  form->SetSequence([this]() -> std::optional<design::SequentialPlan> {
    if (sequence_ && !sequence_->stages.empty()) return sequence_;
    return std::nullopt;
  });
  form->SetSection([this] { return wallSection_; });
  QMdiSubWindow* window = mdiArea_->addSubWindow(form);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setObjectName(QStringLiteral("DesignSituationsWindow"));
  window->setWindowTitle(form->windowTitle());
  situationsWindow_ = window;
  window->resize(form->sizeHint());
  window->show();
}

void TMainForm::readDesignSituations() {
  std::string error;
  designSituations_ = ReadProjectDesignSituations(fs::path(Data().DataFileName), error);
  if (!error.empty())
    statusBar()->showMessage(
        tr("The design situations are not read, the project opens without them: %1")
            .arg(QString::fromStdString(error)));
}

void TMainForm::saveProjectMembers() {
  const fs::path dataFile(Data().DataFileName);
  QStringList unsaved;
  std::string error;
  if (!SaveProjectSection(dataFile, wallSection_, error)) unsaved << QString::fromStdString(error);
  error.clear();
  if (!SaveProjectDesignSituations(dataFile, designSituations_, error))
    unsaved << QString::fromStdString(error);
  error.clear();
  if (!SaveProjectSequence(dataFile, sequence_, Data().Units, error))
    unsaved << QString::fromStdString(error);
  error.clear();
  if (!SaveProjectDesignRecord(dataFile, designRecord_, error))
    unsaved << QString::fromStdString(error);
  if (!unsaved.isEmpty())
    TUserPrompts::Current().showWarning(
        this, tr("The data file is saved, but not all the project keeps beside it:\n%1")
                  .arg(unsaved.join(QLatin1Char('\n'))));
}

}  // namespace terraq::ui
