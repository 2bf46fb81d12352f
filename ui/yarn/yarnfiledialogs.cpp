#include "ui/yarn/yarnfiledialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace qb {

namespace {

YarnFileChooser& chooser()
{
    static YarnFileChooser c;
    return c;
}

} // namespace

void SetYarnFileChooser(YarnFileChooser c)
{
    chooser() = std::move(c);
}

QString ChooseYarnFile(QWidget* parent, const YarnFileQuestion& q)
{
    if (chooser()) return chooser()(q);
    if (q.kind == YarnFileQuestion::Kind::Open) return QFileDialog::getOpenFileName(parent, q.title, q.start, q.filter);
    return QFileDialog::getSaveFileName(parent, q.title, q.start, q.filter);
}

QString YarnFileFilter()
{
    return QStringLiteral("Yarn Database Files (*.txt);;Yarn Archive Files (*.yrn);;All Files (*)");
}

bool IsYarnFilePath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("txt") || suffix == QLatin1String("yrn");
}

} // namespace qb
