#pragma once
// "Save Attributes": the size, resolution and colour depth of a graph saved
// to a file. Height and width in inches (at least 2 each) and pixels per
// inch (a whole number, at least 10) are numeric entry fields; the colour
// depth only applies to bitmaps and is disabled for vector pictures.
//
// OK checks every field and then the size of the bitmap those values make:
// one that cannot be held ends the dialog with kOutOfMemory, and the caller
// shows kOutOfMemoryMessage.

#include <QDialog>

#include "GraphOutput.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace terraq::ui {

class TDataEdit;

class TdlgFormat : public QDialog {
  Q_OBJECT

 public:
  // The dialog's third result, besides Accepted and Rejected.
  static constexpr int kOutOfMemory = 2;
  static constexpr const char* kOutOfMemoryMessage = "There is not enough memory to complete this task.";

  // `bitmap`: the file is a bitmap (BMP, PNG) and the colour depth applies.
  explicit TdlgFormat(bool bitmap, QWidget* parent = nullptr);

  // The size chosen (meaningful after Accepted).
  TGraphImageSize ImageSize() const;

 private:
  void FormCreate(bool bitmap);
  void okClick();

  TGraphImageSize size_;
  TDataEdit* heightField_;
  TDataEdit* widthField_;
  TDataEdit* pixelsField_;
  QGroupBox* colours_;
  QRadioButton* blackWhite_;
  QRadioButton* colors16_;
  QRadioButton* colors256_;
  QRadioButton* highColor_;
  QRadioButton* trueColor_;
  QPushButton* okButton_;
};

// Whether a bitmap of width × height pixels can be made: each side at most
// 32767 pixels (what the raster painter addresses) and at most 2^28 pixels
// in all (a gigabyte at 32 bits a pixel). Sizes are taken unrounded so that
// absurd entries cannot overflow.
bool ExportBitmapFits(long double pixelWidth, long double pixelHeight);

}  // namespace terraq::ui
