// Reads every file of the given corpus directories through PPMImage, built
// with sanitizers by the test suite. Files named "valid-*" must load and
// "broken-*" must not; every image must be left in a sound state.
#include "ppm_invariants.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace tex;

int main(int argc, char** argv)
{
    int files = 0;
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            if (!entry.is_regular_file())
                continue;
            const std::string name = entry.path().filename().string();
            const PPMImage image(entry.path().string());
            requireSoundImage(image);
            ++files;
            const bool valid = name.rfind("valid-", 0) == 0;
            const bool broken = name.rfind("broken-", 0) == 0;
            if ((valid && !image.loaded) || (broken && image.loaded)) {
                std::fprintf(stderr, "%s: loaded is %d\n", name.c_str(), int(image.loaded));
                ++failures;
            }
        }
    }
    std::printf("%d files read, %d unexpected\n", files, failures);
    return files > 0 && failures == 0 ? 0 : 1;
}
