#pragma once

#include <string>

namespace tex {

// Writes a binary PPM ("P6") file: the header "P6 <width> <height> 255\n"
// followed by width × height × 3 bytes from `pixels`, row by row from the
// first row given, each pixel red, green, blue. The file is replaced whole or
// not at all (see AtomicFile): a failure leaves no partial file behind and an
// old file of that name unchanged.
//
// pixels:   width × height × 3 bytes, only read.
// width:    pixels per row, at least 1.
// height:   rows, at least 1.
// filename: the file to write.
//
// Returns true when the whole file was written and put in place. Returns
// false, creating no file, when width or height is below 1 or pixels is
// null; false also when the file cannot be created or a write, the flush or
// the rename fails.
bool writePPM(const unsigned char* pixels, int width, int height, const std::string& filename);

} // namespace tex
