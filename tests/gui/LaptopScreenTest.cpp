// The windows on a laptop's screen (1366x768): every button of every window
// within reach, the windows in front when opened; and F1 in each window
// opening that window's own help page.
//
// Setting TERRAQ_DIALOG_SHOTS to a folder saves pictures of the windows at
// that size there.

#include <gtest/gtest.h>

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "Document.h"
#include "MainFormFixture.h"
#include "design/TDesignForm.h"
#include "dialogs/TDlgSection.h"
#include "dialogs/TDlgStaged.h"
#include "dialogs/TReportPreview.h"
#include "dialogs/TSubgradeModulusDialog.h"
#include "graphs/TGraphPlot.h"
#include "mainwindow/TAboutBox.h"
#include "plotwindow/TdlgFormat.h"
#include "plotwindow/TfrmActiveLines.h"
#include "plotwindow/TfrmGraphCaption.h"
#include "plotwindow/TfrmLineNames.h"
#include "widgets/ReportViewer.h"

namespace terraq::test {
namespace {

using ui::TGraphPlot;

const QRect kLaptop(0, 0, 1366, 768);

bool InScrollArea(const QWidget* widget, const QWidget* window) {
  for (const QWidget* w = widget->parentWidget(); w && w != window; w = w->parentWidget())
    if (qobject_cast<const QScrollArea*>(w)) return true;
  return false;
}

// Every button of `window` shown outside a scroll area lies within `room`
// (global coordinates): one beyond it cannot be reached. With
// `needsButtons`, the window has some (OK, Run, Save...).
void ExpectButtonsWithin(const QWidget* window, const QRect& room, const QString& what,
                         bool needsButtons = true) {
  int seen = 0;
  for (const QWidget* button : window->findChildren<QWidget*>()) {
    if (!qobject_cast<const QPushButton*>(button) && !qobject_cast<const QDialogButtonBox*>(button))
      continue;
    if (!button->isVisibleTo(window) || InScrollArea(button, window)) continue;
    ++seen;
    const QRect at(button->mapToGlobal(QPoint(0, 0)), button->size());
    EXPECT_TRUE(room.contains(at))
        << what.toStdString() << ": " << button->objectName().toStdString() << " at " << at.x()
        << "," << at.y() << " " << at.width() << "x" << at.height();
  }
  if (needsButtons) {
    EXPECT_GT(seen, 0) << what.toStdString();
  }
}

void SaveShot(QWidget* window, const QString& name) {
  const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (!shots.isEmpty())
    window->grab().save(shots + QLatin1Char('/') + name + QStringLiteral(".png"));
}

class LaptopScreen : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    form.StartUp({});
    ASSERT_TRUE(form.OpenFile(
        QString::fromStdString(
            CopySample("wall.tq4d", "examples/cantilever-sand-generated.tq4d").string()),
        ui::kLayoutCurrent));
    form.setGeometry(kLaptop);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }
  void TearDown() override { form.Data().Modified = false; }

  QMdiSubWindow* Open(const char* item) {
    Trigger(item);
    ProcessEvents();
    return form.MdiArea().activeSubWindow();
  }
  // Every dialog that runs modal, outside the main window, and the help
  // page its F1 opens.
  struct Dialog {
    std::unique_ptr<QDialog> dialog;
    const char* help;
  };
  std::vector<Dialog> ModalDialogs() {
    static const TGraphPlot graph;
    ui::TStagedContext staged{[] { return 1; }, [] { return 1; }, nullptr, nullptr, nullptr};
    std::vector<Dialog> d;
    d.push_back({std::make_unique<ui::TDlgSection>(std::nullopt, "no library here", form.Data(),
                                                   std::nullopt, &form),
                 "/help/checking-a-section.html#picking-the-section"});
    d.push_back({std::make_unique<ui::TDlgStaged>(staged, &form),
                 "/help/staged-and-long-term.html#the-dialog"});
    d.push_back({std::make_unique<ui::TReportPreview>(report::Document{}, "wall", &form),
                 "/help/calculation-package.html#from-the-program"});
    d.push_back(
        {std::make_unique<ui::TSubgradeModulusDialog>(1, 1, ReadText(folder / "wall.tq4d"), &form),
         "/help/soil-models.html#deriving-the-subgrade-modulus"});
    d.push_back({std::make_unique<ui::TAboutBox>(&form), "/help/menus.html#help"});
    d.push_back({std::make_unique<ui::TdlgFormat>(true, &form), "/help/graphs.html#save-to-disk"});
    d.push_back(
        {std::make_unique<ui::TfrmActiveLines>(graph, &form), "/help/graphs.html#active-curves"});
    d.push_back({std::make_unique<ui::TfrmGraphCaption>("a caption", true, &form),
                 "/help/graphs.html#graph-caption"});
    d.push_back({std::make_unique<ui::TfrmLineNames>(graph, &form), "/help/graphs.html#legend"});
    return d;
  }
  // The Data menu's items that open a window, as the menu enables them.
  std::vector<QAction*> DataItems() {
    emit form.Menu(QStringLiteral("DataMenu"))->aboutToShow();
    std::vector<QAction*> items;
    for (QAction* item : form.Menu(QStringLiteral("DataMenu"))->actions())
      if (!item->isSeparator() && !item->menu() && item->isEnabled()) items.push_back(item);
    return items;
  }
  // What the main window's child windows are seen in.
  QRect Room() const {
    const QWidget* viewport = form.MdiArea().viewport();
    return QRect(viewport->mapToGlobal(QPoint(0, 0)), viewport->size()).intersected(kLaptop);
  }
};

TEST_F(LaptopScreen, EveryButtonOfEveryWindowIsWithinReach) {
  // Each window opens in front, within the main window, its buttons in sight.
  const auto check = [&](QMdiSubWindow* window, const QString& what, bool needsButtons) {
    ASSERT_TRUE(window) << what.toStdString();
    EXPECT_EQ(form.MdiArea().subWindowList(QMdiArea::StackingOrder).last(), window)
        << what.toStdString();
    EXPECT_TRUE(QRect(QPoint(0, 0), form.MdiArea().viewport()->size()).contains(window->geometry()))
        << what.toStdString();
    ExpectButtonsWithin(window, Room(), what, needsButtons);
    SaveShot(window, QStringLiteral("laptop-") + what);
  };
  for (const char* item : {"DesignWall", "CompStudy", "CompDesignSituations",
                           "OptConstructionSequence", "CompLayers", "OptionofTexeEditor1"})
    check(Open(item), QString::fromLatin1(item), true);
  // The data windows, opened over the others (the tables have no buttons).
  for (QAction* item : DataItems()) {
    item->trigger();
    ProcessEvents();
    check(form.MdiArea().activeSubWindow(), item->objectName(), false);
  }
  // The results' windows after a run.
  form.CompRun();
  ProcessEvents();
  check(Open("GraphDeflectionMomentShear"), QStringLiteral("plot"), false);
  ui::ShowReportViewer(form.MdiArea(), QString::fromStdString((folder / "wall.tq4o").string()));
  ProcessEvents();
  check(form.MdiArea().activeSubWindow(), QStringLiteral("report"), false);
  // The dialogs of their own fit the screen at their size.
  for (Dialog& d : ModalDialogs()) {
    const QString what = d.dialog->windowTitle();
    d.dialog->show();
    d.dialog->resize(d.dialog->sizeHint());
    d.dialog->move(0, 0);
    ProcessEvents();
    EXPECT_LE(d.dialog->frameGeometry().height(), kLaptop.height()) << what.toStdString();
    EXPECT_LE(d.dialog->frameGeometry().width(), kLaptop.width()) << what.toStdString();
    ExpectButtonsWithin(d.dialog.get(), kLaptop, what);
    SaveShot(d.dialog.get(), QStringLiteral("laptop-dialog-") + what);
  }
}

// The help pages as the documents are built from their sources: a page per
// source of the user's manual, an anchor per heading (as HeadingAnchor).
void WriteHelpPages(const QString& docs) {
  QDir(docs).mkpath(QStringLiteral("help"));
  const QDir sources(QString::fromStdString(SourcePath("docs/users").string()));
  for (const QString& name : sources.entryList({QStringLiteral("*.md")})) {
    QFile source(sources.filePath(name));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QFile page(QDir(docs).filePath(QStringLiteral("help/") + QFileInfo(name).completeBaseName() +
                                   QStringLiteral(".html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    for (const QString& line : QString::fromUtf8(source.readAll()).split(QLatin1Char('\n'))) {
      if (!line.startsWith(QLatin1Char('#'))) continue;
      QString anchor;
      for (const QChar ch : line.section(QLatin1Char(' '), 1).trimmed())
        if (ch.isLetterOrNumber() || ch == QLatin1Char('-') || ch == QLatin1Char('_'))
          anchor += ch.toLower();
        else if (ch == QLatin1Char(' ')) anchor += QLatin1Char('-');
      page.write(QStringLiteral("<a name=\"%1\"></a>\n").arg(anchor).toUtf8());
    }
  }
}

// F1 opens the page of the window it is pressed in, at the section on it:
// every window of the main window and every dialog of its own, walked
// against the headings the manual has.
TEST_F(LaptopScreen, F1OpensEachWindowsOwnSection) {
  QTemporaryDir docs;
  qputenv("TERRAQ_DOC_DIR", docs.path().toUtf8());
  WriteHelpPages(docs.path());
  const auto opened = [&] {
    ProcessEvents();
    return answers.openedUrls.isEmpty() ? QString() : answers.openedUrls.takeLast();
  };
  const auto pressF1 = [&](QWidget* in) {
    QTest::keyClick(in, Qt::Key_F1);
    return opened();
  };
  // Every data dialog and table of the Data menu: its own section.
  int data = 0;
  for (QAction* item : DataItems()) {
    item->trigger();
    QMdiSubWindow* window = form.MdiArea().activeSubWindow();
    ASSERT_TRUE(window) << item->objectName().toStdString();
    ++data;
    EXPECT_TRUE(pressF1(window->widget()).contains(QLatin1String("/help/tables-and-dialogs.html#")))
        << item->objectName().toStdString() << ": " << window->windowTitle().toStdString();
  }
  EXPECT_GE(data, 5);
  form.MdiArea().closeAllSubWindows();
  // The windows with pages of their own, the results' windows after a run.
  form.CompRun();
  ProcessEvents();
  ui::ShowReportViewer(form.MdiArea(), QString::fromStdString((folder / "wall.tq4o").string()));
  ProcessEvents();
  const QString report = pressF1(form.MdiArea().activeSubWindow()->widget());
  EXPECT_TRUE(report.endsWith(QLatin1String("/help/reading-results.html#after-a-run-in-terraqui")))
      << report.toStdString();
  const std::pair<const char*, const char*> windows[] = {
      {"DesignWall", "/help/designing-a-wall.html#the-design-window"},
      {"CompStudy", "/help/running-studies.html#the-study-window"},
      {"CompDesignSituations", "/help/design-situations-window.html#the-window"},
      {"OptConstructionSequence", "/help/staged-and-long-term.html#a-construction-sequence"},
      {"CompLayers", "/help/graphs.html#the-side-view"},
      {"OptionofTexeEditor1", "/help/menus.html#control-options"},
      {"GraphDeflection", "/help/graphs.html#the-plot-window"}};
  for (const auto& [item, expected] : windows) {
    QMdiSubWindow* window = Open(item);
    ASSERT_TRUE(window) << item;
    const QString got = pressF1(window->widget());
    EXPECT_TRUE(got.endsWith(QLatin1String(expected))) << item << ": " << got.toStdString();
  }
  form.MdiArea().closeAllSubWindows();

  // The dialogs that run modal, outside the main window: each its own F1.
  std::vector<Dialog> dialogs = ModalDialogs();
  for (auto& [dialog, expected] : dialogs) {
    auto* help = dialog->findChild<QAction*>(QStringLiteral("HelpKey"));
    ASSERT_TRUE(help) << dialog->windowTitle().toStdString();
    EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
    help->trigger();
    EXPECT_TRUE(opened().endsWith(QLatin1String(expected))) << dialog->windowTitle().toStdString();
  }
  // The Design window's Ground tab opens the section on the ground checks.
  auto* design = qobject_cast<ui::TDesignForm*>(Open("DesignWall")->widget());
  ASSERT_TRUE(design);
  design->ResultTabs()->setCurrentWidget(design->GroundPanel());
  EXPECT_TRUE(pressF1(design).endsWith(QLatin1String("#the-ground-checks")));
  qunsetenv("TERRAQ_DOC_DIR");
}

}  // namespace
}  // namespace terraq::test
