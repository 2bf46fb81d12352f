#pragma once

#include <QColor>

#include <functional>
#include <optional>

namespace qb {

// The color dialog every command picks a new color with; nothing when the
// weaver cancels. Tests put a chooser of their own in its place.
std::optional<QColor> AskColor(QColor initial);
using ColorChooser = std::function<std::optional<QColor>(QColor initial)>;
void SetColorChooser(ColorChooser chooser);

} // namespace qb
