#pragma once

#include <QPoint>

#include <string>
#include <utility>
#include <vector>

namespace qb {

class CPaneTool;

// The commands of the selection's menu.
enum class SelectionCommand {
    Clear,
    Insert,
    Delete,
    SetColor,
    Label,
    Repeat,
    FlipVertical,
    FlipHorizontal,
    Invert,
    RotateCW,
    RotateCCW,
    Set,
    DeleteTreadles,
};

// What a pane's selection offers and does: each command is one named undo
// step and clears the selection afterwards.
class CSelectionCommands {
public:
    explicit CSelectionCommands(CPaneTool& host) : m_host(host) {}

    // What the menu offers in this pane (the tieup offers a shorter menu with
    // "&Delete" when whole treadles are selected).
    std::vector<SelectionCommand> offered() const;
    bool run(SelectionCommand c);
    // The menu at a viewport point.
    void showMenu(QPoint pos);
    // "&Label..." on threads first..last (0-based) of the threading or treadling.
    void editLabel(int first, int last);
    // Tieup "&Delete": removes treadles first..last (0-based).
    void deleteTreadles(int first, int last);
    // Threads first..last of the selection (threading and treadling).
    std::pair<int, int> selectedThreads() const;

private:
    bool runOnTieup(SelectionCommand c);
    // "&Repeat...": asks how often in the Repeat dialog and puts the copies
    // right after the selection.
    bool repeat(int first, int last);
    void repeatThreads(int first, int last, int times);

    CPaneTool& m_host;
};

// The name of a selection command as the Edit menu names its step.
std::string SelectionCommandName(SelectionCommand c);

} // namespace qb
