#include "plotwindow/GraphSaveChoice.h"

#include <QFileInfo>
#include <array>

namespace terraq::ui {

namespace {
struct FileType {
  const char* filter;
  const char* extension;
  TGraphFileFormat format;
};
constexpr std::array<FileType, 4> kTypes = {{{"Bitmap (*.bmp)", "bmp", TGraphFileFormat::Bmp},
                                             {"PNG image (*.png)", "png", TGraphFileFormat::Png},
                                             {"SVG picture (*.svg)", "svg", TGraphFileFormat::Svg},
                                             {"PDF document (*.pdf)", "pdf", TGraphFileFormat::Pdf}}};
}  // namespace

QString GraphSaveFilter() {
  QStringList filters;
  for (const FileType& t : kTypes) filters << QLatin1String(t.filter);
  return filters.join(QStringLiteral(";;"));
}

TGraphImageSize DefaultGraphImageSize() {
  TGraphImageSize size;
  size.WidthInches = 6;
  size.HeightInches = 4;
  size.PixelsPerInch = 150;
  size.Colors = TBitmapColors::TrueColor24Bit;
  return size;
}

TGraphSaveChoice ChooseGraphFile(const QString& typed, int filterIndex) {
  for (const FileType& t : kTypes)
    if (QFileInfo(typed).suffix().compare(QLatin1String(t.extension), Qt::CaseInsensitive) == 0)
      return {typed, t.format};
  const FileType& t = kTypes[filterIndex >= 0 && filterIndex < static_cast<int>(kTypes.size()) ? filterIndex : 0];
  // "plot." gets "bmp", not a second dot.
  const QString stem = typed.endsWith(QLatin1Char('.')) ? typed : typed + QLatin1Char('.');
  return {stem + QLatin1String(t.extension), t.format};
}

QString SuggestedGraphFileName(const std::string& caption) {
  QString name = QString::fromStdString(caption).trimmed();
  for (QChar& c : name)
    if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 32) c = QLatin1Char('-');
  return name.isEmpty() ? QStringLiteral("graph") : name;
}

}  // namespace terraq::ui
