// The animator's pictures from the program's resources.
#include "animator/app/Pictures.h"

#include <QFile>
#include <algorithm>

namespace quillon {

QString PicturePath(const QString& name) { return QStringLiteral(":/quillon/icons/") + name + QStringLiteral(".svg"); }

QIcon ToolPicture(const QString& name) {
  const QString path = PicturePath(name);
  return QFile::exists(path) ? QIcon(path) : QIcon();
}

QIcon ProgramIcon() { return ToolPicture(QStringLiteral("quillon")); }

QSize ToolIconSize(const QFontMetrics& metrics) {
  const int side = std::max(20, (metrics.height() * 3 + 1) / 2);
  return {side, side};
}

}  // namespace quillon
