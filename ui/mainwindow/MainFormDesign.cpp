// The Design menu of the main window and the Design window it opens, which
// reads the project as it stands and sets the wall's length through Apply,
// and offers the project's own sets of partial factors as design approaches.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <memory>
#include <optional>
#include <string>

#include "design/TDesignForm.h"
#include "dialogs/TDialogWindows.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"
#include "project/EnvelopePressure.h"
#include "project/WallLength.h"
#include "widgets/ScrollingPanel.h"

namespace terraq::ui {

namespace fs = std::filesystem;

void TMainForm::createDesignMenu() {
  QMenu* menu = menuBar()->addMenu(tr("&Design"));
  menu->setObjectName(QStringLiteral("DesignMenu"));
  QAction* a = addItem(menu, QStringLiteral("DesignWall"), tr("&Design the Wall..."));
  connect(a, &QAction::triggered, this, &TMainForm::ShowDesign);
}

void TMainForm::ShowDesign() {
  if (designWindow_) {
    if (designWindow_->isMinimized()) designWindow_->showNormal();
    mdiArea_->setActiveSubWindow(designWindow_);
    return;
  }
  // The project is asked for at each design and each Apply: New and Open
  // replace the project behind the main window. What is typed in an open
  // dialog counts, as for a run.
  // The last length applied, for Undo Apply; shared by the two callbacks.
  auto applied = std::make_shared<std::optional<WallLengthChange>>();
  const auto showProjectChanged = [this] {
    tableWindows_->Refresh();
    dialogWindows_->ReloadAll();
    analyseLiveSoon();
    UpdateMenuStates();
  };
  auto* form = new TDesignForm(
      // Every stage of a staged project, the one on screen as edited.
      // (A stage file that cannot be read throws; the window says so.)
      [this] {
        storeChildWindows();
        return Project().DataText();
      },
      [this, applied, showProjectChanged](int increments, double length) -> std::string {
        if (!storeChildWindows()) return "A data window holds an entry that is not valid.";
        TProgramData& d = Data();
        if (d.StageCount > 1)
          return "A staged project keeps one wall for every stage: set its length in Wall "
                 "Properties.";
        std::string refused;
        *applied = ChangeWallLength(d, increments, length, refused);
        if (!*applied) return refused;
        showProjectChanged();
        return {};
      });
  // Undo Apply: the wall and the node references as they were.
  form->SetUndo([this, applied, showProjectChanged]() -> std::string {
    if (!*applied) return "There is no applied length to take back.";
    if (!storeChildWindows()) return "A data window holds an entry that is not valid.";
    std::string refused;
    if (!UndoWallLength(Data(), **applied, refused)) return refused;
    applied->reset();
    showProjectChanged();
    return {};
  });
  connectEnvelopePressure(form, showProjectChanged);
  // The project's construction sequence, designed stage by stage.
  form->SetSequence([this] { return project_.Members().sequence; });
  form->SetSoilModel(soilModelSource());
  form->SetFactorSets(project_.Members().FactorSets());
  // The choices of the last design come back; each design and Apply keeps
  // them with the project, saved with it.
  form->SetRecord(project_.Members().designRecord, [this](const DesignRecord& record) {
    project_.Members().designRecord = record;
    Data().Modified = true;
    UpdateMenuStates();
  });
  QMdiSubWindow* window = mdiArea_->addSubWindow(form);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setObjectName(QStringLiteral("DesignWindow"));
  window->setWindowTitle(form->windowTitle());
  designWindow_ = window;
  window->show();
  FitSubWindow(window, mdiArea_);
}

// The Design window's apparent-pressure envelope as the wall's specified
// earth pressure, and back.
void TMainForm::connectEnvelopePressure(TDesignForm* form,
                                        const std::function<void()>& showProjectChanged) {
  auto envelope = std::make_shared<std::optional<EarthPressureChange>>();
  form->SetEnvelopePressure(
      [this, envelope, showProjectChanged](const design::PressureEnvelope& e) -> std::string {
        if (!storeChildWindows()) return "A data window holds an entry that is not valid.";
        std::string refused;
        *envelope = SetEnvelopePressure(Data(), e, refused);
        if (!*envelope) return refused;
        showProjectChanged();
        return {};
      },
      [this, envelope, showProjectChanged]() -> std::string {
        if (!*envelope) return "There is no envelope set to take back.";
        if (!storeChildWindows()) return "A data window holds an entry that is not valid.";
        std::string refused;
        if (!UndoEnvelopePressure(Data(), **envelope, refused)) return refused;
        envelope->reset();
        showProjectChanged();
        return {};
      });
}

}  // namespace terraq::ui
