#pragma once

#include <cstdio>
#include <string>

namespace tex {

// A file that is written whole or not at all. The bytes go to a new
// temporary file beside the target (same directory, so that the final
// rename stays on one file system); commit() flushes it to disk and renames
// it over the target. Until then, and whenever a write, the flush, the close
// or the rename fails, the target keeps its old content (or stays absent)
// and the temporary file is removed.
//
// A symbolic link is followed: the file it leads to is replaced, and the
// link stays. A target that exists and is not a regular file (a device such
// as /dev/null, a pipe), or a link that leads nowhere yet, cannot be
// replaced by a rename: it is written in place, and commit() reports whether
// every byte went out.
//
// The temporary file is named after the target ("NAME.tmp-PID-N", NAME
// shortened where the whole would pass the system's limit of a name's
// length). It takes the permissions of the file it replaces, or those a new
// file would get. An empty target name creates nothing.
class AtomicFile {
public:
    explicit AtomicFile(const std::string& path);
    // Discards the temporary file unless commit() succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // The stream to write to, or null when no file could be created.
    std::FILE* stream() const { return file; }

    // Puts the written bytes in place. True when every write succeeded and
    // the target now holds exactly them; false, with the target untouched,
    // otherwise. Call it once.
    bool commit();

private:
    void discard();

    std::string target;
    std::string temporary;
    std::FILE* file = nullptr;
};

} // namespace tex
