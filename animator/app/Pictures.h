// The animator's pictures: one hand-drawn SVG set compiled into the program, for the tool
// buttons of the main window, the view and the graph, and the program's own icon.
#pragma once

#include <QFontMetrics>
#include <QIcon>
#include <QSize>
#include <QString>

namespace quillon {

// The resource path of a picture of the set, e.g. ":/quillon/icons/save.svg".
QString PicturePath(const QString& name);
// The picture as an icon; a name outside the set gives a null icon.
QIcon ToolPicture(const QString& name);
// The program's icon: the windows, the About box, the desktop entry and the MIME type use it.
QIcon ProgramIcon();
// The size of the tool-bar pictures: one and a half text heights, at least 20 pixels.
QSize ToolIconSize(const QFontMetrics& metrics);

}  // namespace quillon
