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
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "MainFormFixture.h"
#include "design/TDesignForm.h"
#include "dialogs/TDlgSection.h"

namespace terraq::test {
namespace {

const QRect kLaptop(0, 0, 1366, 768);

bool InScrollArea(const QWidget* widget, const QWidget* window) {
  for (const QWidget* w = widget->parentWidget(); w && w != window; w = w->parentWidget())
    if (qobject_cast<const QScrollArea*>(w)) return true;
  return false;
}

// Every button of `window` shown outside a scroll area lies within `room`
// (global coordinates): one beyond it cannot be reached.
void ExpectButtonsWithin(const QWidget* window, const QRect& room, const QString& what,
                         bool hasButtons = true) {
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
  EXPECT_EQ(seen > 0, hasButtons) << what.toStdString();
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
  // What the main window's child windows are seen in.
  QRect Room() const {
    const QWidget* viewport = form.MdiArea().viewport();
    return QRect(viewport->mapToGlobal(QPoint(0, 0)), viewport->size()).intersected(kLaptop);
  }
};

TEST_F(LaptopScreen, EveryButtonOfEveryWindowIsWithinReach) {
  for (const char* item :
       {"DesignWall", "CompStudy", "CompDesignSituations", "DataProp", "DataTitle", "DataCSD"}) {
    QMdiSubWindow* window = Open(item);
    ASSERT_TRUE(window) << item;
    ExpectButtonsWithin(window, Room(), QString::fromLatin1(item),
                        qstrcmp(item, "DataTitle") != 0 && qstrcmp(item, "DataCSD") != 0);
    SaveShot(window, QStringLiteral("laptop-") + QLatin1String(item));
    // A data window opened over the Design window comes in front of it.
    if (qstrcmp(item, "DesignWall") == 0) {
      QMdiSubWindow* data = Open("DataTitle");
      EXPECT_EQ(form.MdiArea().subWindowList(QMdiArea::StackingOrder).last(), data);
      EXPECT_EQ(form.MdiArea().activeSubWindow(), data);
    }
  }
  // A dialog of its own fits the screen.
  ui::TDlgSection section(std::nullopt, "no library here", form.Data(), std::nullopt, &form);
  section.show();
  section.resize(section.sizeHint());
  ProcessEvents();
  EXPECT_LE(section.frameGeometry().height(), kLaptop.height());
  section.move(0, 0);
  ExpectButtonsWithin(&section, kLaptop, QStringLiteral("Section"));
}

// F1 opens the page of the window it is pressed in, at its section: not
// the page of the menus, whose headings name the same items.
TEST_F(LaptopScreen, F1OpensEachWindowsOwnPage) {
  QTemporaryDir docs;
  qputenv("TERRAQ_DOC_DIR", docs.path().toUtf8());
  QDir(docs.path()).mkpath(QStringLiteral("help"));
  const auto page = [&](const char* name, QStringList anchors) {
    QFile file(QDir(docs.path()).filePath(QStringLiteral("help/") + QLatin1String(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const QString& a : anchors)
      file.write(QStringLiteral("<a name=\"%1\"></a>").arg(a).toUtf8());
  };
  page("menus.html", {"design", "study", "design-situations", "wall-section"});
  page("designing-a-wall.html", {"the-design-window", "the-ground-checks"});
  page("running-studies.html", {"the-study-window"});
  page("design-situations-window.html", {"the-window"});
  page("checking-a-section.html", {"picking-the-section"});
  const auto pressF1 = [&](QWidget* in) {
    QTest::keyClick(in, Qt::Key_F1);
    ProcessEvents();
    return answers.openedUrls.isEmpty() ? QString() : answers.openedUrls.takeLast();
  };
  const std::pair<const char*, const char*> windows[] = {
      {"DesignWall", "/help/designing-a-wall.html#the-design-window"},
      {"CompStudy", "/help/running-studies.html#the-study-window"},
      {"CompDesignSituations", "/help/design-situations-window.html#the-window"}};
  for (const auto& [item, expected] : windows) {
    QMdiSubWindow* window = Open(item);
    ASSERT_TRUE(window) << item;
    EXPECT_TRUE(pressF1(window->widget()).endsWith(QLatin1String(expected))) << item;
  }
  // The Design window's Ground tab opens the section on the ground checks.
  auto* design = qobject_cast<ui::TDesignForm*>(Open("DesignWall")->widget());
  ASSERT_TRUE(design);
  design->ResultTabs()->setCurrentWidget(design->GroundPanel());
  EXPECT_TRUE(pressF1(design).endsWith(QLatin1String("#the-ground-checks")));
  // The Section dialog runs modal, outside the main window: its own F1.
  ui::TDlgSection section(std::nullopt, "no library here", form.Data(), std::nullopt, &form);
  auto* help = section.findChild<QAction*>(QStringLiteral("HelpKey"));
  ASSERT_TRUE(help);
  EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
  help->trigger();
  ASSERT_FALSE(answers.openedUrls.isEmpty());
  EXPECT_TRUE(answers.openedUrls.last().endsWith(
      QLatin1String("/help/checking-a-section.html#picking-the-section")));
  qunsetenv("TERRAQ_DOC_DIR");
}

}  // namespace
}  // namespace terraq::test
