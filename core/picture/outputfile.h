#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace qb {

// A file being written by a picture writer: remembers the first failure and
// removes the half-written file unless commit() succeeds.
class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    bool open(const std::string& path, std::string& error);
    bool write(const void* data, std::size_t n);
    // Flushes and closes; false with the reason when anything failed.
    bool commit(std::string& error);
    std::FILE* handle() const { return m_file; }
    bool failed() const { return m_failed; }

private:
    std::FILE* m_file = nullptr;
    std::string m_path;
    bool m_failed = false;
    int m_errno = 0;
    bool m_committed = false;
};

// Removes a half-written picture, but only a plain file: writing to a device
// such as /dev/full must never delete it.
void RemovePartialFile(const std::string& path);

// "Unable to write \"path\": reason".
std::string WriteErrorText(const std::string& path, const std::string& reason);

} // namespace qb
