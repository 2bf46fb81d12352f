#pragma once

#include <QList>
#include <QRect>

class QMainWindow;

namespace qb {

class CStoredSettings;

// Where the main window opens and what it keeps of its place when it closes
// ("Settings"/InitialXPos, InitialYPos, InitialWidth, InitialHeight).
namespace WindowPlacement {

// Applies the stored placement when it has a positive size and lies on a
// present screen (else only a size that fits); nothing stored yet: most of
// the primary screen, centred.
void restore(QMainWindow& window, const CStoredSettings& settings);
// Records the placement as closing does (nothing while minimised).
void record(const QMainWindow& window, CStoredSettings& settings);
// The title strip of `r` can be reached on one of the screens.
bool isUsable(const QRect& r, const QList<QRect>& screens);

} // namespace WindowPlacement

} // namespace qb
