#include "ui/app/quillabyapp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    qb::CQuillabyApp::setApplicationNames();
    qb::CQuillabyApp quillaby;
    if (!quillaby.InitInstance(QCoreApplication::arguments())) return quillaby.exitCode();
    return QApplication::exec();
}
