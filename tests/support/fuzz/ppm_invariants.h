#pragma once

#include "support/ppm_image.h"

#include <cstdio>
#include <cstdlib>

// Aborts unless `image` is in one of the two states a reader may leave:
// loaded with a sane header and a buffer of exactly the size it declares
// (every byte is read, so a short buffer trips AddressSanitizer), or not
// loaded with every field at rest.
inline void requireSoundImage(const tex::PPMImage& image)
{
    bool sound;
    if (image.loaded) {
        sound = image.width >= 1 && image.height >= 1 && image.maxValue >= 1 && image.maxValue <= 65535
                && image.bytesPerSample == (image.maxValue > 255 ? 2 : 1) && image.pixels != nullptr;
        if (sound) {
            const long long bytes = 3LL * image.width * image.height * image.bytesPerSample;
            sound = bytes <= tex::PPMImage::maxRasterBytes;
            unsigned sum = 0;
            for (long long i = 0; sound && i < bytes; ++i)
                sum += image.pixels[i];
            // Keeps the reads above from being optimised away.
            volatile unsigned sink = sum;
            (void)sink;
        }
    } else {
        sound = image.width == 0 && image.height == 0 && image.maxValue == 0 && image.bytesPerSample == 0
                && image.pixels == nullptr;
    }
    if (!sound) {
        std::fprintf(stderr, "unsound image state for %s\n", image.filename.c_str());
        std::abort();
    }
}
