// The editor as the recovery tests run it: started like quillaby, it makes
// the tests' edits in its draft (the one given, or a new one), says
// "edited" on standard output and goes on until it is stopped.
#include "tests/ui/recoveryedits.h"
#include "ui/app/mainframe.h"
#include "ui/app/quillabyapp.h"
#include "ui/views/draftwindow.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    qb::CQuillabyApp::setApplicationNames();
    qb::CQuillabyApp quillaby;
    if (!quillaby.InitInstance(QCoreApplication::arguments())) return quillaby.exitCode();
    QTimer::singleShot(0, [&] {
        qb::CDraftWindow* w = quillaby.mainFrame()->activeDraftWindow();
        if (!w) {
            std::puts("no draft");
            std::fflush(stdout);
            QCoreApplication::exit(3);
            return;
        }
        recoverytest::ApplyEdits(w->document());
        std::puts("edited");
        std::fflush(stdout);
    });
    return QApplication::exec();
}
