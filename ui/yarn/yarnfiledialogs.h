#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace qb {

// A file dialog the yarn and planner commands show. Tests answer them
// through SetYarnFileChooser instead of a user.
struct YarnFileQuestion {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString title;
    QString start; // folder or proposed file
    QString filter;
};

using YarnFileChooser = std::function<QString(const YarnFileQuestion& q)>;
void SetYarnFileChooser(YarnFileChooser chooser);
// The chosen file, or empty when the weaver cancels.
QString ChooseYarnFile(QWidget* parent, const YarnFileQuestion& q);

// The filters of the yarn document type: text and archive files.
QString YarnFileFilter();

// Files the yarn document type opens: ".txt" and ".yrn", without case.
bool IsYarnFilePath(const QString& path);

} // namespace qb
