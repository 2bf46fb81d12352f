#include "ui/profile/structurefiles.h"

#include "ui/base/imainwindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace qb {

namespace {

StructureFileChooser& chooser()
{
    static StructureFileChooser c;
    return c;
}

} // namespace

QString StructureLibraryFolder()
{
    QStringList candidates;
    if (QCoreApplication::instance()) {
        const QString app = QCoreApplication::applicationDirPath();
        candidates << app + QStringLiteral("/structures") << app + QStringLiteral("/../share/quillaby/structures");
    }
#ifdef QUILLABY_STRUCTURES_DIR
    candidates << QStringLiteral(QUILLABY_STRUCTURES_DIR);
#endif
    for (const QString& c : candidates)
        if (QFileInfo(c).isDir()) return QDir::cleanPath(QFileInfo(c).absoluteFilePath());
    return {};
}

void SetStructureFileChooser(StructureFileChooser c)
{
    chooser() = std::move(c);
}

QString ChooseStructureFile(IMainWindow* main, const QString& storedFolder)
{
    const QString title = QStringLiteral("Weave Structure");
    const QString start = storedFolder.isEmpty() ? StructureLibraryFolder() : storedFolder;
    if (chooser()) return chooser()(title, start);
    return QFileDialog::getOpenFileName(main ? main->window() : nullptr, title, start,
                                        QStringLiteral("Weaving Files(*.wif; *.qlb) (*.qlb *.wif)"));
}

} // namespace qb
