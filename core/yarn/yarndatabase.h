#pragma once

#include "core/yarn/yarndoc.h"

#include <memory>
#include <string>

namespace qb {

// What the application's yarn database needs from the program around it:
// the stored path (DfltYarnDocFileLocn), questions and the file dialogs.
class IYarnDatabaseHost {
public:
    virtual ~IYarnDatabaseHost() = default;
    virtual std::string storedPath() = 0;
    virtual void storePath(const std::string& path) = 0;
    virtual bool ask(const std::string& question) = 0;
    virtual void tell(const std::string& message) = 0;
    // The chosen file, or empty when the weaver cancels.
    virtual std::string chooseFileToOpen() = 0;
    virtual std::string chooseFileToSave(const std::string& title, const std::string& proposedName) = 0;
};

// The one yarn database the application keeps, loaded on first use.
class YarnDatabase {
public:
    // The loaded database; on first use it is opened from the stored path,
    // or the weaver is asked to locate one or to create a new one. Null when
    // there is none.
    CYarnDoc* Get(IYarnDatabaseHost& host);
    CYarnDoc* loaded() const { return m_doc.get(); }

    // OK in the Yarn Database dialog: a modified database is saved to its
    // file. False (and the message told) when that fails.
    bool Commit(IYarnDatabaseHost& host);
    // Cancel in the dialog: the changes are thrown away and the database is
    // read again from its file.
    CYarnDoc* Revert(IYarnDatabaseHost& host);

private:
    std::unique_ptr<CYarnDoc> m_doc;
};

// The stored database location as a file: a folder names "yarnDoc.txt" in
// it, since the Options sheet picks a folder.
std::string YarnDatabaseFile(const std::string& stored);

// "Export Yarn Data": the name proposed for the text copy of an archive
// (".yrn" replaced by ".txt"), empty for a file that is not an archive.
std::string YarnExportName(const std::string& archivePath);
// Reads `from` and writes its yarns as text to `to`. On success the message
// is the one that says so; on failure it says why.
YarnFileResult ExportYarnsAsText(const std::string& from, const std::string& to);

} // namespace qb
