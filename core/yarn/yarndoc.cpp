#include "core/yarn/yarndoc.h"

#include "core/yarn/yarnarchive.h"
#include "core/yarn/yarnmessages.h"
#include "core/yarn/yarntext.h"

#include "core/wif/wiftext.h"
#include "core/wif/wifwriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace qb {

namespace {

// The bytes of a file; on a read error, those read before it.
bool readFile(const std::string& path, std::string& bytes, std::string& reason)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        reason = std::strerror(errno);
        return false;
    }
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    const bool failed = std::ferror(f) != 0;
    if (failed) reason = std::strerror(errno);
    std::fclose(f);
    return !failed;
}

std::string withReason(const char* format, const std::string& path, const std::string& reason)
{
    std::string m = FormatMessage(format, path);
    if (!reason.empty()) m += "\n" + reason;
    return m;
}

void addLine(std::string& message, const char* text)
{
    if (!message.empty()) message += "\n\n";
    message += text;
}

std::vector<std::string> distinct(const CYarnDoc& doc, const std::string& (CYarn::*field)() const)
{
    std::vector<std::string> out;
    for (int i = 0; i < doc.count(); ++i) {
        const std::string& v = (doc.yarn(i).*field)();
        if (std::find(out.begin(), out.end(), v) == out.end()) out.push_back(v);
    }
    return out;
}

} // namespace

int CYarnDoc::indexOf(const CYarn* y) const
{
    for (std::size_t i = 0; i < m_yarns.size(); ++i)
        if (m_yarns[i].get() == y) return static_cast<int>(i);
    return -1;
}

CYarn* CYarnDoc::Append(std::unique_ptr<CYarn> y)
{
    if (!y || count() >= kMaxYarns) return nullptr;
    m_yarns.push_back(std::move(y));
    m_modified = true;
    return m_yarns.back().get();
}

CYarn* CYarnDoc::AppendNew(std::string size, std::string fiber, std::uint32_t density, int shrinkage, int sett)
{
    return Append(std::make_unique<CYarn>(std::move(size), std::move(fiber), density, shrinkage, sett));
}

bool CYarnDoc::Delete(const CYarn* y)
{
    const int i = indexOf(y);
    if (i < 0) return false;
    if (m_selected == y) m_selected = nullptr;
    m_yarns.erase(m_yarns.begin() + i);
    m_modified = true;
    return true;
}

void CYarnDoc::DeleteAll()
{
    m_yarns.clear();
    m_selected = nullptr;
}

bool CYarnDoc::IsYarnArchivePath(std::string_view path)
{
    if (path.size() < 4) return false;
    std::string ext(path.substr(path.size() - 4));
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext == ".yrn";
}

YarnFileResult CYarnDoc::Open(const std::string& path)
{
    DeleteAll();
    m_path = path;
    m_modified = false;
    YarnFileResult result;
    std::string bytes, reason;
    const bool read = readFile(path, bytes, reason);
    if (IsYarnArchivePath(path)) {
        if (!read) {
            result.message = withReason(yarnmsg::kReadFailed, path, reason);
            return result;
        }
        YarnArchiveRead a = ParseYarnArchive(bytes);
        if (!a.ok) {
            result.message = withReason(yarnmsg::kReadFailed, path, a.error);
            return result;
        }
        for (CYarn& y : a.yarns) m_yarns.push_back(std::make_unique<CYarn>(std::move(y)));
        if (a.clamped > 0) addLine(result.message, yarnmsg::kOutOfRange);
        result.ok = true;
        return result;
    }
    // The yarns of a text file read before an error stay.
    YarnTextRead t = ParseYarnText(bytes, kMaxYarns);
    for (CYarn& y : t.yarns) m_yarns.push_back(std::make_unique<CYarn>(std::move(y)));
    if (!read) result.message = withReason(yarnmsg::kReadFailed, path, reason);
    if (t.truncated) addLine(result.message, yarnmsg::kTooManyYarns);
    if (t.clamped > 0) addLine(result.message, yarnmsg::kOutOfRange);
    result.ok = read;
    return result;
}

YarnFileResult CYarnDoc::Save(const std::string& path)
{
    return Save(path, IsYarnArchivePath(path) ? YarnFormat::Archive : YarnFormat::Text);
}

YarnFileResult CYarnDoc::Save(const std::string& path, YarnFormat format)
{
    std::string bytes;
    if (format == YarnFormat::Archive) {
        bytes = YarnArchiveBytes(*this);
    } else {
        for (auto& y : m_yarns) {
            y->NormalizeForFile();
            bytes += YarnTextLine(*y);
            bytes += "\r\n";
        }
    }
    YarnFileResult result;
    std::string error;
    if (!WriteFileAtomically(path, bytes, &error)) {
        result.message = withReason(yarnmsg::kWriteFailed, path, error);
        return result;
    }
    m_path = path;
    m_modified = false;
    result.ok = true;
    return result;
}

std::vector<std::string> DistinctSizes(const CYarnDoc& doc)
{
    return distinct(doc, &CYarn::size);
}

std::vector<std::string> DistinctFibers(const CYarnDoc& doc)
{
    return distinct(doc, &CYarn::fiber);
}

} // namespace qb
