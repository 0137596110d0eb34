#pragma once

// Shared by the harnesses: a check that stops the run with a message, and a
// private scratch folder (under $TMPDIR) that also serves as XDG_DATA_HOME, so
// nothing a harness does reaches the user's own folders.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace fuzz {

inline std::string& ScratchFolder()
{
    static std::string folder;
    return folder;
}

inline void RemoveScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(ScratchFolder(), ignored);
}

// Creates the scratch folder and points XDG_DATA_HOME into it; call before any Qt
// function reads the environment. The folder is removed when the process exits
// normally; after a crash it stays, to be looked at.
inline void MakeScratchFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/glyphox-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    ScratchFolder() = pattern;
    const std::string data = pattern + "/data";
    std::filesystem::create_directories(data);
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    std::atexit(RemoveScratchFolder);
}

inline QString ScratchPath(const char* name)
{
    return QString::fromStdString(ScratchFolder() + "/" + name);
}

// Writes bytes at the start of a file and sets its length, with zeros after the
// bytes (a hole, so long files cost nothing). The old contents are cut off
// rather than truncated first, which would make every close flush the file.
inline void WriteFile(const QString& path, const char* data, size_t size, off_t length)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT, 0644);
    FUZZ_CHECK(fd >= 0);
    const off_t written = std::min(off_t(size), length);
    FUZZ_CHECK(::ftruncate(fd, written) == 0);
    for (off_t done = 0; done < written;) {
        const ssize_t n = ::pwrite(fd, data + done, size_t(written - done), done);
        FUZZ_CHECK(n > 0);
        done += n;
    }
    FUZZ_CHECK(::ftruncate(fd, length) == 0);
    ::close(fd);
}

inline void WriteFile(const QString& path, const char* data, size_t size)
{
    WriteFile(path, data, size, off_t(size));
}

} // namespace fuzz
