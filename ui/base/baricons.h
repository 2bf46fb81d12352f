#pragma once

#include <QIcon>

namespace qb {

// A tool bar picture from the program's own SVG set (":/icons/<name>.svg"),
// drawn afresh at every scale.
QIcon BarIcon(const char* name);

} // namespace qb
