#include "ui/base/uiprompter.h"

#include "ui/base/imainwindow.h"

#include <QApplication>
#include <QGuiApplication>

namespace qb {

namespace {

// A wait cursor must not sit over a message box waiting for the user.
class CursorPause {
public:
    CursorPause() : m_count(0)
    {
        while (QGuiApplication::overrideCursor()) {
            QGuiApplication::restoreOverrideCursor();
            ++m_count;
        }
    }
    ~CursorPause()
    {
        for (int i = 0; i < m_count; ++i) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }

private:
    int m_count;
};

} // namespace

// Texts may carry file names, which are in the local encoding.
bool CUiPrompter::ask(const std::string& question)
{
    CursorPause pause;
    return m_main && m_main->ask(QString::fromLocal8Bit(question));
}

void CUiPrompter::tell(const std::string& message)
{
    CursorPause pause;
    m_told = true;
    if (m_main) m_main->tell(QString::fromLocal8Bit(message));
}

} // namespace qb
