// Writes the integrity stamp into a linked executable: stampimage <file>.
// Run by the build after every link; the program checks the stamp at start-up.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/LMImageStamp.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: stampimage <executable>\n");
        return 2;
    }
    std::vector<uint8_t> image;
    {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "stampimage: cannot read %s\n", argv[1]);
            return 1;
        }
        image.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (!lmstamp::ApplyImageStamp(image)) {
        std::fprintf(stderr, "stampimage: %s holds no single stamp block\n", argv[1]);
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "stampimage: cannot write %s\n", argv[1]);
        return 1;
    }
    return lmstamp::CheckImageStamp(image) == lmstamp::EResult::kValid ? 0 : 1;
}
