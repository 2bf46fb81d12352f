#pragma once

#include "core/transform/draftcommandid.h"
#include "ui/views/tablecommands.h"

#include <QObject>
#include <QString>

class QAction;

namespace qb {

class IMainWindow;

// The commands that combine the open draft with itself or with other draft
// files, or take one part of another file: on the Threading, Treadling and
// Tieup menus and the Color menu's Import submenu, each change of the draft
// one named undo step.
class CCombineCommands : public QObject {
    Q_OBJECT
public:
    explicit CCombineCommands(IMainWindow* main);

    static CCombineCommands* of(IMainWindow* main);
    QAction* action(DraftCommandId c) const { return m_table.action(c); }
    void updateStates();
    void addMenus();

private:
    QAction* make(DraftCommandId c, const char* text, CommandAsker ask, const char* tip = nullptr);
    // The merge dialog of Interleave and Overlay: the files it names.
    CommandAsker askMerge(const QString& title, const QString& text);
    // One draft file, told as the reader tells it when it cannot be read.
    bool chooseDraft(CDraftWindow& w, IPrompter& prompter, CommandRequest& r,
                     const QString& title = QStringLiteral("File to Import From"));

    IMainWindow* m_main;
    CTableCommands m_table;
};

void AddCombineMenus(IMainWindow* main);

} // namespace qb
