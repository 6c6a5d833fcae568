#pragma once
// The explanatory pictures of the data dialogs: JPEG files compiled into the
// program as image resources under ":/pictures/" (see resources/pictures).

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>

class QLabel;
class QWidget;

namespace terraq::ui {

// The pictures hold this many pixels for each pixel they are shown at, so
// that they stay sharp on high-density screens.
inline constexpr qreal kPictureDensity = 2;

// The resource path of a picture file, e.g. "WallSection.jpg".
QString PictureResourcePath(const QString& fileName);

// Decodes a picture resource: through Qt's JPEG reader when the image
// plug-in is at hand, else through our own libjpeg decoder, so that a
// deployment without Qt's image plug-ins still shows the pictures. The
// pixmap carries kPictureDensity as its device pixel ratio. A null pixmap
// when the resource is missing or does not decode.
QPixmap LoadDialogPicture(const QString& fileName);

// Decodes JPEG bytes with our own libjpeg decoder; a null image when they
// do not decode.
QImage DecodePictureBytes(const QByteArray& bytes);

// A label showing a picture at its own size; `name` is its object name.
// Without the picture the label says which one is missing, in place of a
// blank area.
QLabel* MakePictureLabel(const QString& fileName, const QString& name, QWidget* parent);

}  // namespace terraq::ui
