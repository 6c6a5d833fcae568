// The Construction Sequence item of the Options menu and its window, and
// the project's construction sequence: read with the project, kept in the
// project file beside the data file when the project is saved, with the
// design situations (MainFormDesignSituations.cpp).

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>

#include "mainwindow/TMainForm.h"
#include "project/ProjectSequence.h"
#include "sequence/TSequenceForm.h"

namespace terraq::ui {

namespace fs = std::filesystem;

void TMainForm::addSequenceItem(QMenu* menu) {
  QAction* a =
      addItem(menu, QStringLiteral("OptConstructionSequence"), tr("Construction Se&quence..."));
  a->setToolTip(
      tr("Stages over one wall, each starting from the wall and soil the stage before left"));
  connect(a, &QAction::triggered, this, &TMainForm::ShowSequence);
}

QString TMainForm::sequenceUnavailable() {
  if (Data().StageCount >= 2)
    return tr(
        "This project is staged with a data set per stage (Staged Construction Options), "
        "each stage analysed on its own. A construction sequence is of one problem: the "
        "wall and soil before construction. End the staged analysis (keeping the stage "
        "before construction) to build a sequence over it.");
  if (Data().LongTerm)
    return tr(
        "This project has short-term and long-term analyses. A construction sequence is of "
        "one problem: the wall and soil before construction. Turn the long-term analyses "
        "off (Options menu) to build a sequence over it.");
  return {};
}

void TMainForm::checkSequenceWindow() {
  if (!sequenceWindow_) return;
  const auto* form = qobject_cast<const TSequenceForm*>(sequenceWindow_->widget());
  if (form && form->Editable() != sequenceUnavailable().isEmpty()) sequenceWindow_->close();
}

void TMainForm::SetSequence(const design::SequentialPlan& plan) {
  // No stages and no supports: the project has no sequence and writes
  // nothing for it.
  std::optional<design::SequentialPlan>& sequence = project_.Members().sequence;
  if (plan == design::SequentialPlan{}) sequence.reset();
  else sequence = plan;
  Data().Modified = true;
  analyseLiveSoon();
  UpdateMenuStates();
}

void TMainForm::ShowSequence() {
  if (sequenceWindow_) {
    if (sequenceWindow_->isMinimized()) sequenceWindow_->showNormal();
    mdiArea_->setActiveSubWindow(sequenceWindow_);
    return;
  }
  // The data text is asked for at each check: what is typed in an open
  // dialog counts.
  auto* form = new TSequenceForm(
      [this] {
        storeChildWindows();
        return project_.DataText();
      },
      sequenceUnavailable(), project_.Members().sequence.value_or(design::SequentialPlan{}),
      [this](const design::SequentialPlan& plan) { SetSequence(plan); });
  QMdiSubWindow* window = mdiArea_->addSubWindow(form);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setObjectName(QStringLiteral("SequenceWindow"));
  window->setWindowTitle(form->windowTitle());
  sequenceWindow_ = window;
  window->resize(form->sizeHint().boundedTo(mdiArea_->size()));
  window->show();
}

}  // namespace terraq::ui
