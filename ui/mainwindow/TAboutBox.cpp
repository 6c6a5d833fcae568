#include "mainwindow/TAboutBox.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

#include "mainwindow/CommandRules.h"
#include "widgets/HelpDocuments.h"

namespace terraq::ui {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("About"));
  AddHelpKey(this, QStringLiteral("help/menus.html#help"));
  const QLocale locale = QLocale::system();
  const QDate release(kReleaseYear, kReleaseMonth, kReleaseDay);

  auto* layout = new QVBoxLayout(this);
  auto* product = new QLabel(QString::fromLatin1(kApplicationTitle), this);
  QFont big = product->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  product->setFont(big);
  layout->addWidget(product);
  layout->addWidget(new QLabel(tr("Version ") + QString::fromLatin1(kVersionText), this));
  layout->addWidget(new QLabel(QString::fromLatin1(kProductDescription), this));
  layout->addSpacing(8);
  layout->addWidget(new QLabel(tr("Today: %1").arg(locale.toString(QDate::currentDate(), QLocale::ShortFormat)), this));
  layout->addWidget(new QLabel(tr("Released: %1").arg(locale.toString(release, QLocale::ShortFormat)), this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace terraq::ui
