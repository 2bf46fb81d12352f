#pragma once

#include <QGuiApplication>

namespace qb {

// The busy cursor for as long as a long piece of work runs; questions asked
// meanwhile put it aside (see CUiPrompter).
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace qb
