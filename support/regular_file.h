#pragma once

#include <cstddef>
#include <string>

namespace tex {

// Why readRegularFile read nothing.
enum class FileReadFailure {
    none,
    // The system refused (no such file, no permission, a read error);
    // `detail` holds its message.
    system,
    // The path names something other than a regular file; `detail` says
    // what: "a FIFO", "a character device", "a block device", "a socket",
    // "a directory".
    notRegular,
    // The file holds more than the bytes asked for.
    tooLarge,
};

// Reads the whole of the regular file at `path` into `bytes`, refusing one
// of more than `maxBytes` bytes. Anything that is not a regular file is
// refused before a byte is read and without waiting: a FIFO with no writer,
// a terminal or a socket would otherwise block the caller for good, and a
// device such as /dev/zero never ends. The path is examined before it is
// opened, and the file, opened without blocking, again after, so that a
// swap in between is caught too. On failure `bytes` is empty.
FileReadFailure readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                                std::string& detail);

// What `path` names when that is not a regular file, in the words of
// FileReadFailure::notRegular ("a FIFO", ...); empty for a regular file and
// for a path that names nothing.
std::string nonRegularKind(const std::string& path);

} // namespace tex
