#include "ui/views/tablecommands.h"

#include "core/draft/quillabydoc.h"
#include "ui/base/imainwindow.h"
#include "ui/base/uiprompter.h"
#include "ui/base/waitcursor.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"

#include <QAction>
#include <QVariant>

namespace qb {

namespace {

constexpr const char* kIdProperty = "draftCommandId";

// Answers Yes to the question the weaver was asked before the dialog.
class AnsweredPrompter final : public IPrompter {
public:
    AnsweredPrompter(IPrompter& inner, const std::string& answered) : m_inner(inner), m_answered(answered) {}
    bool ask(const std::string& q) override { return (!m_answered.empty() && q == m_answered) || m_inner.ask(q); }
    void tell(const std::string& m) override { m_inner.tell(m); }

private:
    IPrompter& m_inner;
    const std::string& m_answered;
};

} // namespace

std::optional<DraftCommandId> CommandIdOf(const QAction* a)
{
    const QVariant v = a ? a->property(kIdProperty) : QVariant();
    if (!v.isValid()) return std::nullopt;
    return static_cast<DraftCommandId>(v.toInt());
}

CTableCommands::CTableCommands(IMainWindow* main, QObject* owner, std::function<void()> refresh)
    : m_main(main)
    , m_owner(owner)
    , m_refresh(std::move(refresh))
{}

QAction* CTableCommands::make(DraftCommandId id, const char* text, CommandAsker ask)
{
    QAction* a = m_actions.make(m_owner, id, QString::fromLatin1(text), [this](DraftCommandId c) { choose(c); });
    a->setProperty(kIdProperty, static_cast<int>(id));
    if (ask) m_askers[id] = std::move(ask);
    return a;
}

void CTableCommands::choose(DraftCommandId id)
{
    m_refresh();
    CDraftWindow* w = m_main->activeDraftWindow();
    if (w && action(id)->isEnabled()) {
        CUiPrompter prompter(m_main);
        CommandRequest request;
        const auto ask = m_askers.find(id);
        if (ask == m_askers.end() || ask->second(*w, prompter, request)) run(id, *w, request);
    }
    m_refresh();
}

CommandResult CTableCommands::run(DraftCommandId id, CDraftWindow& w, const CommandRequest& request)
{
    const CommandEntry& entry = CommandFor(id);
    CQuillabyDoc& doc = w.document();
    CUiPrompter ui(m_main);
    AnsweredPrompter prompter(ui, request.answered);
    CommandOutcome out;
    {
        WaitCursor wait;
        out = RunCommand(entry, doc, request.args, prompter);
    }
    if (entry.kind == CommandKind::NewDraft) OpenNewDraft(m_main, std::move(out.draft));
    else if (out.result.done()) m_main->afterCommand(doc, out.result);
    return out.result;
}

CDraftWindow* OpenNewDraft(IMainWindow* main, std::unique_ptr<CQuillabyDoc> draft)
{
    if (!draft) return nullptr;
    CDraftWindow* w = main->addDocumentWindow(std::move(draft), QString());
    // A draft no file holds yet: closing it asks to save.
    w->document().SetModified(true);
    w->refreshTitle();
    w->frame()->fitInWindow();
    return w;
}

} // namespace qb
