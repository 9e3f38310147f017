#include "support/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tex {

namespace {

// Distinguishes the temporary files of one process; the process id
// distinguishes processes.
std::atomic<unsigned> temporaryCounter{0};

// The links followed in a row before a path counts as a loop (Linux's own
// limit).
constexpr int maxLinks = 40;

// `target` followed by `suffix`, its last component shortened where needed
// (at a character boundary of UTF-8) so that it stays within NAME_MAX bytes.
std::string besideTarget(const std::string& target, const std::string& suffix)
{
    const std::size_t slash = target.rfind('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    std::size_t end = target.size();
    if (end - start + suffix.size() > NAME_MAX) {
        end = start + (NAME_MAX > suffix.size() ? NAME_MAX - suffix.size() : 0);
        while (end > start && (static_cast<unsigned char>(target[end]) & 0xC0) == 0x80)
            --end;
    }
    return target.substr(0, end) + suffix;
}

// Opens a new file named after `target` in its directory, exclusively, so
// that no other writer's temporary file is ever reused.
int createTemporary(const std::string& target, std::string& name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = besideTarget(target, ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(temporaryCounter++));
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Where `path` leads through symbolic links, followed one at a time, so
// that a link to a file that does not exist yet gives that file's path: the
// path itself when it is not a link (or cannot be looked at). After as many
// links as the system follows (a loop), the last link.
std::string followLinks(std::string path)
{
    for (int hop = 0; hop < maxLinks; ++hop) {
        struct stat link;
        if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
            return path;
        char to[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), to, sizeof to);
        if (length <= 0 || std::size_t(length) >= sizeof to)
            return path;
        const std::string leadsTo(to, std::size_t(length));
        // A relative link is relative to the folder that holds it.
        const std::size_t slash = path.rfind('/');
        path = leadsTo[0] == '/' || slash == std::string::npos ? leadsTo : path.substr(0, slash + 1) + leadsTo;
    }
    return path;
}

} // namespace

AtomicFile::AtomicFile(const std::string& path) : target(path)
{
    if (target.empty())
        return;
    // What is not a regular file is written in place, opened as the system
    // opens the name: some links to such files name no path to follow
    // (/dev/stdout on a pipe leads to "pipe:[N]").
    struct stat existing;
    if (::stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        file = std::fopen(target.c_str(), "wb");
        if (file == nullptr)
            fail(Failure::Step::write);
        return;
    }
    // Replace the file a link leads to, existing or not, and keep the link.
    target = followLinks(target);
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    struct stat link;
    if (!exists && ::lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        // Links in a loop: renaming over the last would replace a link.
        errno = ELOOP;
        fail(Failure::Step::create);
        return;
    }

    const int fd = createTemporary(target, temporary);
    if (fd < 0) {
        fail(Failure::Step::create);
        temporary.clear();
        return;
    }
    if (exists)
        ::fchmod(fd, existing.st_mode & 07777);
    file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        fail(Failure::Step::create);
        ::close(fd);
        discard();
    }
}

AtomicFile::~AtomicFile()
{
    if (file != nullptr)
        std::fclose(file);
    file = nullptr;
    discard();
}

bool AtomicFile::write(const void* data, std::size_t size)
{
    if (file == nullptr)
        return false;
    errno = 0;
    if (std::fwrite(data, 1, size, file) == size)
        return true;
    fail(Failure::Step::write);
    return false;
}

bool AtomicFile::commit()
{
    if (file == nullptr)
        return false;
    errno = 0;
    bool written = std::fflush(file) == 0 && !std::ferror(file);
    // Only a regular temporary file is synced and renamed; a device or pipe
    // target was written in place.
    if (written && !temporary.empty())
        written = ::fsync(::fileno(file)) == 0;
    if (!written)
        fail(Failure::Step::write);
    if (std::fclose(file) != 0 && written) {
        fail(Failure::Step::write);
        written = false;
    }
    file = nullptr;
    if (temporary.empty())
        return written;
    if (written && std::rename(temporary.c_str(), target.c_str()) == 0) {
        temporary.clear();
        return true;
    }
    if (written)
        fail(Failure::Step::replace);
    discard();
    return false;
}

void AtomicFile::fail(Failure::Step step)
{
    if (failed.step == Failure::Step::none)
        failed = {step, errno};
}

void AtomicFile::discard()
{
    if (!temporary.empty())
        std::remove(temporary.c_str());
    temporary.clear();
}

} // namespace tex
