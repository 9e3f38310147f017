#pragma once

#include <cstddef>
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
// A symbolic link is followed, link by link, to the file it leads to,
// whether that exists yet or not: the temporary file is made beside that
// file and renamed over it, and the link stays. Links in a loop are refused
// (step create, ELOOP). A target that exists and is not a regular file (a
// device such as /dev/null, a pipe) cannot be replaced by a rename: it is
// written in place, and commit() reports whether every byte went out.
//
// The temporary file is named after the target ("NAME.tmp-PID-N", NAME
// shortened where the whole would pass the system's limit of a name's
// length). It takes the permissions of the file it replaces, or those a new
// file would get. An empty target name creates nothing.
//
// failure() tells what went wrong first, with the system's error number, so
// that a message can name the cause: a folder that takes no new files is
// not the same problem as a full disk.
class AtomicFile {
public:
    struct Failure {
        enum class Step {
            none,
            // Creating the temporary file: the target's folder is at fault
            // (missing, not writable, on a read-only file system).
            create,
            // Opening the target itself (written in place), writing,
            // flushing or closing.
            write,
            // Renaming the complete temporary file over the target.
            replace,
        };
        Step step = Step::none;
        // errno of that step; 0 when a write through stream() failed, whose
        // cause the stream does not keep.
        int error = 0;
    };

    explicit AtomicFile(const std::string& path);
    // Discards the temporary file unless commit() succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // The stream to write to, or null when no file could be created.
    std::FILE* stream() const { return file; }
    // Writes `size` bytes to the stream, keeping the cause of a failure.
    // False when not all went out, or no file could be created.
    bool write(const void* data, std::size_t size);

    // Puts the written bytes in place. True when every write succeeded and
    // the target now holds exactly them; false, with the target untouched,
    // otherwise. Call it once.
    bool commit();

    // The first failure, or step none.
    const Failure& failure() const { return failed; }

private:
    void discard();
    // Keeps `step` with the current errno, unless an earlier step failed.
    void fail(Failure::Step step);

    std::string target;
    std::string temporary;
    std::FILE* file = nullptr;
    Failure failed;
};

} // namespace tex
