#include "tools/texbake/ppm_output.h"

#include <cerrno>
#include <cstring>

namespace texbake {

namespace {

tex::PPMWriter::Depth writerDepth(Depth depth)
{
    return depth == Depth::Eight ? tex::PPMWriter::Depth::Eight : tex::PPMWriter::Depth::Sixteen;
}

} // namespace

PpmOutput::PpmOutput(const std::string& path, int width, int height, Depth depth)
    : writer(path, width, height, writerDepth(depth))
{
    // Appending no rows reports whether the file and its header were
    // written, before anything is baked for it.
    const std::uint8_t none8 = 0;
    const std::uint16_t none16 = 0;
    started = noteFailure(depth == Depth::Eight ? writer.writeRows(&none8, 0) : writer.writeRows(&none16, 0));
}

bool PpmOutput::writeRows(const std::uint8_t* samples, int rows)
{
    errno = 0;
    return noteFailure(writer.writeRows(samples, rows));
}

bool PpmOutput::writeRows(const std::uint16_t* samples, int rows)
{
    errno = 0;
    return noteFailure(writer.writeRows(samples, rows));
}

bool PpmOutput::finish()
{
    errno = 0;
    return noteFailure(writer.finish());
}

bool PpmOutput::noteFailure(bool written)
{
    if (!written && reason.empty() && errno != 0)
        reason = std::strerror(errno);
    return written;
}

} // namespace texbake
