#include "core/picture/outputfile.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace qb {

std::string WriteErrorText(const std::string& path, const std::string& reason)
{
    return "Unable to write \"" + path + "\": " + reason;
}

void RemovePartialFile(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) std::remove(path.c_str());
}

OutputFile::~OutputFile()
{
    if (m_file) std::fclose(m_file);
    if (!m_committed && !m_path.empty()) RemovePartialFile(m_path);
}

bool OutputFile::open(const std::string& path, std::string& error)
{
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file) {
        error = WriteErrorText(path, std::strerror(errno));
        return false;
    }
    m_path = path;
    static_cast<void>(std::setvbuf(m_file, nullptr, _IOFBF, 1 << 20));
    return true;
}

bool OutputFile::write(const void* data, std::size_t n)
{
    if (m_failed || !m_file) return false;
    if (n && std::fwrite(data, 1, n, m_file) != n) {
        m_failed = true;
        m_errno = errno;
    }
    return !m_failed;
}

bool OutputFile::commit(std::string& error)
{
    if (!m_file) return false;
    if (std::fflush(m_file) != 0 && !m_failed) {
        m_failed = true;
        m_errno = errno;
    }
    const int rc = std::fclose(m_file);
    m_file = nullptr;
    if (rc != 0 && !m_failed) {
        m_failed = true;
        m_errno = errno;
    }
    if (m_failed) {
        error = WriteErrorText(m_path, m_errno ? std::strerror(m_errno) : "write failed");
        return false;
    }
    m_committed = true;
    return true;
}

} // namespace qb
