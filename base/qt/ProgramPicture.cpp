#include "base/qt/ProgramPicture.h"

#include <QImageReader>

QPixmap ProgramPicture(const QString& resource)
{
    QImageReader reader(resource, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}
