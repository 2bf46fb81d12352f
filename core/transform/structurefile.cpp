#include "core/transform/structurefile.h"

#include "core/draft/iprompter.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/blockmessages.h"
#include "core/wif/wifreader.h"

namespace qb {

namespace {

std::string withHeading(const std::string& detail, StructureUse use)
{
    return use == StructureUse::Plot ? blockmsg::plotHeading(detail) : blockmsg::heading(detail);
}

} // namespace

std::string NotAStructureMessage(const std::string& path, StructureUse use)
{
    return withHeading(blockmsg::format(blockmsg::kNotStructure, path), use);
}

std::unique_ptr<CQuillabyDoc> OpenWeaveStructure(const std::string& path, StructureUse use, IPrompter& prompter)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    QuietPrompter quiet;
    WifReadOptions options;
    options.liftplan = LiftplanChoice::Treadling;
    if (!ReadWifFile(path, *doc, quiet, options, nullptr)) {
        prompter.tell(withHeading(blockmsg::format(blockmsg::kUnreadable, path), use));
        return nullptr;
    }
    if (!doc->blocks().definesStructure) {
        prompter.tell(NotAStructureMessage(path, use));
        return nullptr;
    }
    return doc;
}

} // namespace qb
