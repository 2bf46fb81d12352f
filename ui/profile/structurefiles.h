#pragma once

#include <QString>

#include <functional>

namespace qb {

class IMainWindow;

// The folder of the weave structures that come with the program: beside the
// program, in its share folder when installed, or in the source tree it was
// built from. Empty when none of them exists.
QString StructureLibraryFolder();

// The "Weave Structure" file dialog for a weave-structure draft. It starts in
// `storedFolder`, or in the structure library while that is empty. Empty
// when cancelled. Tests replace the dialog with SetStructureFileChooser.
QString ChooseStructureFile(IMainWindow* main, const QString& storedFolder);
using StructureFileChooser = std::function<QString(const QString& title, const QString& startFolder)>;
void SetStructureFileChooser(StructureFileChooser chooser);

} // namespace qb
