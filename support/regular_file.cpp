#include "support/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tex {

namespace {

// What a file of this mode is, for a message, or null for a regular file.
const char* kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return nullptr;
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISDIR(mode))
        return "a directory";
    return "not a file";
}

FileReadFailure systemFailure(std::string& detail)
{
    detail = std::strerror(errno);
    return FileReadFailure::system;
}

// Closes the descriptor however the read ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    const int fd;
};

} // namespace

std::string nonRegularKind(const std::string& path)
{
    struct stat status;
    const char* kind = ::stat(path.c_str(), &status) == 0 ? kindOf(status.st_mode) : nullptr;
    return kind ? kind : "";
}

FileReadFailure readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                                std::string& detail)
{
    bytes.clear();
    struct stat before;
    if (::stat(path.c_str(), &before) != 0)
        return systemFailure(detail);
    if (const char* kind = kindOf(before.st_mode)) {
        detail = kind;
        return FileReadFailure::notRegular;
    }

    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.fd < 0)
        return systemFailure(detail);
    struct stat opened;
    if (::fstat(file.fd, &opened) != 0)
        return systemFailure(detail);
    if (const char* kind = kindOf(opened.st_mode)) {
        detail = kind;
        return FileReadFailure::notRegular;
    }
    if (std::size_t(opened.st_size) > maxBytes)
        return FileReadFailure::tooLarge;

    // The size is only a hint (the file may grow or shrink meanwhile): read
    // until the end, or until one byte past the limit.
    bytes.resize(std::size_t(opened.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxBytes) {
                bytes.clear();
                return FileReadFailure::tooLarge;
            }
            bytes.resize(std::min(maxBytes + 1, filled * 2 + 4096));
        }
        const ssize_t got = ::read(file.fd, &bytes[filled], bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            bytes.clear();
            return systemFailure(detail);
        }
        if (got == 0)
            break;
        filled += std::size_t(got);
    }
    bytes.resize(filled);
    return FileReadFailure::none;
}

} // namespace tex
