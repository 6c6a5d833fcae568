#include "plotwindow/TdlgFormat.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "dialogs/TDataEdit.h"
#include "plotwindow/GraphSaveChoice.h"
#include "widgets/HelpDocuments.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

bool ExportBitmapFits(long double pixelWidth, long double pixelHeight) {
  constexpr long double kLargestSide = 32767;
  constexpr long double kLargestCount = 268435456.0L;  // 2^28
  if (!(pixelWidth >= 1 && pixelHeight >= 1)) return false;  // NaN included
  return pixelWidth <= kLargestSide && pixelHeight <= kLargestSide && pixelWidth * pixelHeight <= kLargestCount;
}

TdlgFormat::TdlgFormat(bool bitmap, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgFormat"));
  setWindowTitle(tr("Save Attributes"));
  AddHelpKey(this, QStringLiteral("help/graphs.html#save-to-disk"));
  FormCreate(bitmap);
}

void TdlgFormat::FormCreate(bool bitmap) {
  auto* grid = new QGridLayout;
  const auto field = [this, grid](const char* name, const QString& caption, long double value, long double min) {
    auto* edit = new TDataEdit(this);
    edit->setObjectName(QLatin1String(name));
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("lbl") + QLatin1String(name));
    edit->SetCaption(caption);
    edit->SetEditLabel(label);
    edit->SetMinVal(min);
    edit->SetNumber(value);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
  };
  const TGraphImageSize first = DefaultGraphImageSize();
  heightField_ = field("edHeight", tr("&Height (in)"), first.HeightInches, 2);
  widthField_ = field("edWidth", tr("&Width (in)"), first.WidthInches, 2);
  pixelsField_ = field("edPixels", tr("&Pixels Per Inch"), first.PixelsPerInch, 10);
  pixelsField_->SetIntegerOnly(true);
  pixelsField_->SetNumber(first.PixelsPerInch);

  colours_ = new QGroupBox(tr("Colors"), this);
  colours_->setObjectName(QStringLiteral("gbColors"));
  auto* colors = new QVBoxLayout(colours_);
  const auto radio = [this, colors](const char* name, const QString& caption) {
    auto* button = new QRadioButton(caption, colours_);
    button->setObjectName(QLatin1String(name));
    colors->addWidget(button);
    return button;
  };
  blackWhite_ = radio("rbBlackWhite", tr("Black and White"));
  colors16_ = radio("rb16Colors", tr("16 Colors"));
  colors256_ = radio("rb256Colors", tr("256 Colors"));
  highColor_ = radio("rbHighColor", tr("High Color (16 bit)"));
  trueColor_ = radio("rbTrueColor", tr("True Color (24 bit)"));
  trueColor_->setChecked(first.Colors == TBitmapColors::TrueColor24Bit);
  colors16_->setChecked(first.Colors == TBitmapColors::Colors16);
  // A vector picture has no colour depth to choose.
  colours_->setEnabled(bitmap);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  okButton_ = buttons->button(QDialogButtonBox::Ok);
  okButton_->setObjectName(QStringLiteral("btnOK"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
  connect(okButton_, &QPushButton::clicked, this, &TdlgFormat::okClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(colours_);
  layout->addStretch(1);
  layout->addWidget(buttons);
}

void TdlgFormat::okClick() {
  // Every field is checked before anything is taken; a refusal keeps the
  // dialog open with the focus in its field.
  for (TDataEdit* edit : {heightField_, widthField_, pixelsField_})
    if (!edit->ConfirmEntry()) return;
  const long double ppi = std::round(pixelsField_->Number());
  const long double width = widthField_->Number(), height = heightField_->Number();
  if (!ExportBitmapFits(std::round(ppi * width), std::round(ppi * height))) {
    done(kOutOfMemory);
    return;
  }
  size_.WidthInches = static_cast<double>(width);
  size_.HeightInches = static_cast<double>(height);
  size_.PixelsPerInch = static_cast<int>(ppi);
  size_.Colors = blackWhite_->isChecked()  ? TBitmapColors::BlackWhite
                 : colors256_->isChecked() ? TBitmapColors::Colors256
                 : highColor_->isChecked() ? TBitmapColors::HighColor16Bit
                 : trueColor_->isChecked() ? TBitmapColors::TrueColor24Bit
                                           : TBitmapColors::Colors16;
  // The bitmap is made now, while the dialog can still say that it cannot
  // be: the memory a page of this size needs may not be there.
  if (colours_->isEnabled() &&
      QImage(size_.PixelWidth(), size_.PixelHeight(), QImage::Format_RGB32).isNull()) {
    done(kOutOfMemory);
    return;
  }
  accept();
}

TGraphImageSize TdlgFormat::ImageSize() const { return size_; }

}  // namespace terraq::ui
