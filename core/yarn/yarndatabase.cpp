#include "core/yarn/yarndatabase.h"

#include "core/yarn/yarnmessages.h"

#include <filesystem>
#include <system_error>

namespace qb {

CYarnDoc* YarnDatabase::Get(IYarnDatabaseHost& host)
{
    if (m_doc) return m_doc.get();
    const std::string stored = host.storedPath();
    if (!stored.empty()) {
        auto doc = std::make_unique<CYarnDoc>();
        if (doc->Open(YarnDatabaseFile(stored)).ok) m_doc = std::move(doc);
    }
    if (m_doc) return m_doc.get();

    if (host.ask(yarnmsg::kNotFound)) {
        const std::string path = host.chooseFileToOpen();
        if (path.empty()) return nullptr;
        auto doc = std::make_unique<CYarnDoc>();
        const YarnFileResult r = doc->Open(path);
        if (!r.ok) {
            host.tell(r.message);
            return nullptr;
        }
        if (!r.message.empty()) host.tell(r.message);
        host.storePath(path);
        m_doc = std::move(doc);
        return m_doc.get();
    }

    auto doc = std::make_unique<CYarnDoc>();
    doc->setPath(stored.empty() ? std::string() : YarnDatabaseFile(stored));
    const std::string path = host.chooseFileToSave(yarnmsg::kSaveAsTitle, yarnmsg::kDefaultFileName);
    if (!path.empty()) {
        const YarnFileResult r = doc->Save(path);
        if (!r.ok) {
            host.tell(r.message);
            return nullptr;
        }
        host.storePath(path);
    }
    m_doc = std::move(doc);
    return m_doc.get();
}

bool YarnDatabase::Commit(IYarnDatabaseHost& host)
{
    if (!m_doc || !m_doc->IsModified()) return true;
    const YarnFileResult r = m_doc->Save(m_doc->path());
    if (!r.ok) host.tell(r.message);
    return r.ok;
}

CYarnDoc* YarnDatabase::Revert(IYarnDatabaseHost& host)
{
    if (m_doc && !m_doc->IsModified()) return m_doc.get();
    m_doc.reset();
    return Get(host);
}

std::string YarnDatabaseFile(const std::string& stored)
{
    std::error_code ec;
    if (!stored.empty() && std::filesystem::is_directory(stored, ec))
        return (std::filesystem::path(stored) / yarnmsg::kDefaultFileName).string();
    return stored;
}

std::string YarnExportName(const std::string& archivePath)
{
    if (!CYarnDoc::IsYarnArchivePath(archivePath)) return {};
    return archivePath.substr(0, archivePath.size() - 4) + ".txt";
}

YarnFileResult ExportYarnsAsText(const std::string& from, const std::string& to)
{
    CYarnDoc doc;
    YarnFileResult r = doc.Open(from);
    if (!r.ok) return r;
    // The export is the readable copy, whatever the name ends in.
    r = doc.Save(to, YarnFormat::Text);
    if (r.ok) r.message = yarnmsg::kExported;
    return r;
}

} // namespace qb
