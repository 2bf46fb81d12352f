#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace qb {

// The short guide of the Help menu (Markdown, built from the README).
QString WeaversGuideText();
// Shows the guide in a window of its own beside `parent`, the one already
// open if there is one; returns it.
QDialog* ShowWeaversGuide(QWidget* parent);

} // namespace qb
