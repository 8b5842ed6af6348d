// The pictures of Vesk's window: the mechanism types in their three states, numbered as the list
// rows and type buttons number their images, and the tool-bar pictures from the program's
// resources.
#pragma once

#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>

namespace vesk {

// The mechanism type and state (0 plain, 1 optimised, 2 marked or down) of an image number;
// false for a number that is no type's image.
bool ImageOfIndex(int index, int& type, int& state);
// A type's picture in a state, side pixels square.
QImage MechPicture(int type, int state, int side);
// The picture of an image number; a null icon for a number outside the set.
QIcon MechImage(int index, int side);
// A tool-bar picture by name, e.g. "start"; a null icon for a name outside the set.
QIcon ToolPicture(const QString& name);
// The side of the tool-bar and list pictures: one text height, at least 16 pixels.
int PictureSide(const QFontMetrics& metrics);

}  // namespace vesk
