#include "support/ppm_writer.h"

#include <cstddef>
#include <vector>

namespace tex {

PPMWriter::PPMWriter(const std::string& path, int width, int height, Depth depth)
    : file(width >= 1 && height >= 1 ? path : std::string()), width(width), height(height), depth(depth),
      failed(width < 1 || height < 1 || file.stream() == nullptr)
{
    if (failed)
        return;
    const int maximum = depth == Depth::Eight ? 255 : 65535;
    failed = std::fprintf(file.stream(), "P6 %d %d %d\n", width, height, maximum) < 0;
}

bool PPMWriter::reserveRows(const void* samples, int rows, Depth expected)
{
    if (failed || depth != expected || rows < 0 || rows > height - rowsWritten || (rows > 0 && !samples))
        failed = true;
    else
        rowsWritten += rows;
    return !failed;
}

bool PPMWriter::writeRows(const std::uint8_t* samples, int rows)
{
    if (!reserveRows(samples, rows, Depth::Eight))
        return false;
    const std::size_t count = std::size_t(width) * 3 * std::size_t(rows);
    failed = std::fwrite(samples, 1, count, file.stream()) != count;
    return !failed;
}

bool PPMWriter::writeRows(const std::uint16_t* samples, int rows)
{
    if (!reserveRows(samples, rows, Depth::Sixteen))
        return false;
    // Most significant byte first, whatever the host's byte order; one row
    // at a time keeps the staging buffer small.
    const std::size_t perRow = std::size_t(width) * 3;
    std::vector<unsigned char> bytes(2 * perRow);
    for (int r = 0; r < rows && !failed; ++r) {
        const std::uint16_t* row = samples + std::size_t(r) * perRow;
        for (std::size_t i = 0; i < perRow; ++i) {
            bytes[2 * i] = static_cast<unsigned char>(row[i] >> 8);
            bytes[2 * i + 1] = static_cast<unsigned char>(row[i] & 0xFF);
        }
        failed = std::fwrite(bytes.data(), 1, bytes.size(), file.stream()) != bytes.size();
    }
    return !failed;
}

bool PPMWriter::finish()
{
    if (failed || rowsWritten != height)
        return false;
    failed = !file.commit();
    return !failed;
}

} // namespace tex
