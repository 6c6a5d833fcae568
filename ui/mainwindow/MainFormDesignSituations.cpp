// The Design Situations item of the Computation menu and its window, and the
// project's choice of sets of partial factors, one of the project's members
// (MainFormMembers.cpp).

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
#include "widgets/ScrollingPanel.h"
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
  std::optional<DesignSituationsChoice>& situations = project_.Members().designSituations;
  if (choice == DesignSituationsChoice{}) situations.reset();
  else situations = choice;
  // The Design window offers the project's sets as design approaches.
  if (designWindow_)
    if (auto* design = qobject_cast<TDesignForm*>(designWindow_->widget()))
      design->SetFactorSets(choice.sets);
  Data().Modified = true;
  projectEdited(tr("Edit Design Situations"));
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
      project_.Members().designSituations.value_or(DesignSituationsChoice{}),
      [this](const DesignSituationsChoice& choice) { SetDesignSituations(choice); });
  // The sequence as it stands at each run, stages and supports as edited.
  form->SetSequence([this] { return project_.Members().StagedSequence(); });
  form->SetSoilModel(soilModelSource());
  form->SetSection([this] { return project_.Members().section; });
  QMdiSubWindow* window = mdiArea_->addSubWindow(form);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setObjectName(QStringLiteral("DesignSituationsWindow"));
  window->setWindowTitle(form->windowTitle());
  situationsWindow_ = window;
  window->show();
  FitSubWindow(window, mdiArea_);
}

}  // namespace terraq::ui
