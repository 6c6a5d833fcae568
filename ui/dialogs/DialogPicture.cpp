#include "dialogs/DialogPicture.h"

#include <QFile>
#include <QImage>
#include <QLabel>

#include "platform/JpegImage.h"

namespace terraq::ui {

QString PictureResourcePath(const QString& fileName) { return QStringLiteral(":/pictures/") + fileName; }

QPixmap LoadDialogPicture(const QString& fileName) {
  const QString path = PictureResourcePath(fileName);
  QPixmap pixmap(path);
  if (pixmap.isNull()) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QImage image = DecodePictureBytes(file.readAll());
    if (image.isNull()) return {};
    pixmap = QPixmap::fromImage(image);
  }
  pixmap.setDevicePixelRatio(kPictureDensity);
  return pixmap;
}

QImage DecodePictureBytes(const QByteArray& bytes) {
  try {
    const JpegImage image =
        DecodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
    // The QImage only borrows the pixels: copy() takes them over before the
    // decoded buffer goes.
    const QImage view(image.rgb.data(), image.width, image.height, image.width * 3, QImage::Format_RGB888);
    return view.copy();
  } catch (const JpegError&) {
    return {};
  }
}

QLabel* MakePictureLabel(const QString& fileName, const QString& name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  const QPixmap pixmap = LoadDialogPicture(fileName);
  if (pixmap.isNull()) {
    label->setText(QObject::tr("(picture %1 not available)").arg(fileName));
  } else {
    label->setPixmap(pixmap);
    label->setFixedSize(pixmap.deviceIndependentSize().toSize());
  }
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace terraq::ui
