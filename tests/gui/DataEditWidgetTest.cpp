// The numeric entry field as a widget: what the keys do, where the focus
// goes after a refused entry, the error box, and the companion label. The
// rules themselves (bounds, formats, messages) are the logic's and are
// tested with it; here the shell around them is.

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "GuiTestSupport.h"
#include "dialogs/TDataEdit.h"

namespace terraq::test {
namespace {

using ui::TDataEdit;

// A dialog with a default button, two fields and their labels, shown and
// active, so that keys and focus behave as for the user.
class DataEditWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&dialog);
    auto makeField = [&] {
      auto* field = new TDataEdit(&dialog);
      auto* label = new QLabel(&dialog);
      field->SetEditLabel(label);
      layout->addWidget(label);
      layout->addWidget(field);
      return field;
    };
    first = makeField();
    second = makeField();
    okButton = new QPushButton(QStringLiteral("OK"), &dialog);
    okButton->setDefault(true);
    layout->addWidget(okButton);
    QObject::connect(okButton, &QPushButton::clicked, [this] { ++okClicks; });
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  }

  // Replaces the field's text as the user does: select all, type.
  static void Type(TDataEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
  }

  TestPrompts answers;
  ui::TPromptsOverride prompts{answers.Make()};
  QDialog dialog;
  TDataEdit* first = nullptr;
  TDataEdit* second = nullptr;
  QPushButton* okButton = nullptr;
  int okClicks = 0;
};

TEST_F(DataEditWidgetTest, EnterChecksNormalisesAndSelectsWithoutReachingTheDefaultButton) {
  Type(first, QStringLiteral("3*4"));
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_EQ(first->text(), QStringLiteral("12"));
  EXPECT_TRUE(first->EntryValid());
  EXPECT_EQ(first->selectedText(), QStringLiteral("12"));
  EXPECT_EQ(okClicks, 0);
  // The keypad's Enter is the same key.
  Type(first, QStringLiteral("1/4"));
  QTest::keyClick(first, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(first->text(), QStringLiteral("0.25"));
  EXPECT_EQ(okClicks, 0);
  EXPECT_TRUE(answers.errors.isEmpty());
}

TEST_F(DataEditWidgetTest, OperatorTypedOverTheSelectedValueExtendsIt) {
  first->SetNumber(12);
  first->setFocus();
  first->selectAll();
  QTest::keyClicks(first, QStringLiteral("*2"));
  EXPECT_EQ(first->text(), QStringLiteral("12*2"));
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_EQ(first->Number(), 24);
  // The selection left by Enter: a digit replaces the value, an operator
  // extends it again.
  QTest::keyClick(first, '5');
  EXPECT_EQ(first->text(), QStringLiteral("5"));
  first->selectAll();
  QTest::keyClick(first, '-');
  EXPECT_EQ(first->text(), QStringLiteral("5-"));
}

TEST_F(DataEditWidgetTest, RefusedEntryTakesTheFocusBackAfterItsBox) {
  first->SetIntegerOnly(true);
  Type(first, QStringLiteral("2.5"));
  QTest::keyClick(first, Qt::Key_Tab);
  ProcessEvents();
  ASSERT_EQ(answers.errors, QStringList{QStringLiteral("Entry must be an integer.")});
  EXPECT_EQ(QApplication::focusWidget(), first);
  EXPECT_EQ(first->text(), QStringLiteral("2.5"));
  EXPECT_FALSE(first->EntryValid());

  // A whole value passes and the focus moves on.
  Type(first, QStringLiteral("5/2*2"));
  second->setFocus();
  ProcessEvents();
  EXPECT_EQ(QApplication::focusWidget(), second);
  EXPECT_EQ(first->text(), QStringLiteral("5"));
  EXPECT_EQ(answers.errors.size(), 1);
}

TEST_F(DataEditWidgetTest, ValueOutsideTheBoundsIsReplacedByTheBound) {
  first->SetMinVal(2);
  first->SetMaxVal(1e4932L);
  Type(first, QStringLiteral("1"));
  second->setFocus();
  ProcessEvents();
  ASSERT_EQ(answers.errors, QStringList{QStringLiteral("Entry must be greater than or equal to 2")});
  EXPECT_EQ(first->text(), QStringLiteral("2"));
  EXPECT_EQ(QApplication::focusWidget(), first);
  // The corrected value is taken as it stands.
  EXPECT_TRUE(first->ConfirmEntry());
}

TEST_F(DataEditWidgetTest, ConfirmEntryReportsEveryRefusalOncePerAction) {
  Type(first, QStringLiteral("abc"));
  EXPECT_FALSE(first->ConfirmEntry());
  ASSERT_EQ(answers.errors.size(), 1);
  EXPECT_TRUE(answers.errors.front().startsWith(QStringLiteral("Entry could not be evaluated:")));
  // Asked again, it says why again.
  EXPECT_FALSE(first->ConfirmEntry());
  EXPECT_EQ(answers.errors.size(), 2);
  // Leaving the field and a dialog's store from the same click: the box of
  // the refusal found on leaving is still to come, and comes once.
  Type(first, QStringLiteral("def"));
  second->setFocus();
  EXPECT_FALSE(first->ConfirmEntry());
  ProcessEvents();
  EXPECT_EQ(answers.errors.size(), 3);
  // A value the program writes needs no check.
  first->SetNumber(7);
  EXPECT_TRUE(first->HoldsCheckedValue());
  EXPECT_TRUE(first->ConfirmEntry());
  EXPECT_EQ(answers.errors.size(), 3);
}

TEST_F(DataEditWidgetTest, LabelFollowsCaptionUnitsAndEnabledState) {
  first->SetCaption(QStringLiteral("&Free Height of Wall, H"));
  first->SetUnitsString(QStringLiteral("L2"));
  QLabel* label = first->EditLabel();
  EXPECT_EQ(label->text(), QStringLiteral("&Free Height of Wall, H (ft)"));
  EXPECT_EQ(label->buddy(), first);
  first->SetUnits(2);
  EXPECT_EQ(label->text(), QStringLiteral("&Free Height of Wall, H (m)"));
  first->SetUnitsString(QString());
  EXPECT_EQ(label->text(), QStringLiteral("&Free Height of Wall, H"));
  first->setEnabled(false);
  EXPECT_FALSE(label->isEnabled());
  first->setEnabled(true);
  EXPECT_TRUE(label->isEnabled());
}

}  // namespace
}  // namespace terraq::test
