#pragma once

#include <QIcon>

// The pictures of the window's buttons, drawn in code at the given square size, each with a
// greyed image for the disabled state.
namespace ButtonPictures {

QIcon FolderWithMagnifier(int size);
QIcon FolderWithArrowIn(int size);
// roomAfter: transparent columns on the right, for buttons that want more room before the text
// than the style puts there.
QIcon Magnifier(int size, int roomAfter);
QIcon WindowWithArrowOut(int size);

}  // namespace ButtonPictures
