#include "core/wif/sourcedraft.h"

#include "core/draft/iprompter.h"
#include "core/draft/quillabydoc.h"
#include "core/wif/wiftext.h"

namespace qb {

SourceDraft ReadSourceDraft(const std::string& path, LiftplanChoice choice)
{
    SourceDraft out;
    std::string reason;
    auto ini = IniFile::load(path, &reason);
    if (!ini) {
        out.failure = "Unable to open " + path + ".\n" + reason;
        return out;
    }
    std::string version;
    if (!ini->readText("WIF", "Version", 64, version) || version.empty()) {
        out.failure = FormatMessage(wifmsg::kVersion, version);
        return out;
    }
    QuietPrompter quiet;
    WifReader reader(*ini, quiet);
    for (std::size_t i = 0; i < out.contents.size(); ++i) out.contents[i] = reader.flagged(static_cast<WifSection>(i));
    auto doc = std::make_unique<CQuillabyDoc>();
    WifReadOptions options;
    options.liftplan = choice;
    if (reader.open(*doc, options)) out.doc = std::move(doc);
    return out;
}

std::vector<std::unique_ptr<CQuillabyDoc>> ReadMergeSources(const std::vector<std::string>& paths,
                                                            LiftplanChoice choice)
{
    std::vector<std::unique_ptr<CQuillabyDoc>> out;
    for (const std::string& p : paths)
        if (SourceDraft s = ReadSourceDraft(p, choice); s.doc) out.push_back(std::move(s.doc));
    return out;
}

} // namespace qb
