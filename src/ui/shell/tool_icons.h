// The pictures of the command tool bar, painted in code: the program ships
// no image files, and the pictures stay sharp at any screen scale.
#pragma once

#include <QIcon>
#include <QString>

namespace pelodyn {

// The picture of tool button `button` (TB_New, TB_Zoom_IN, ...); an empty
// icon for a name without one.
QIcon ToolIcon(const QString& button);

}  // namespace pelodyn
