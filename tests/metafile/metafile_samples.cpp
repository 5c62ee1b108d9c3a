// metafile_samples <folder>: writes the writer's sample files, as inputs for the fuzzer and for
// comparing SVG renderers.
#include "metafile_writer.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: metafile_samples <folder>\n", stderr);
        return 1;
    }
    for (const auto& sample : metafile_test::allSamples()) {
        const std::string path = std::string(argv[1]) + "/" + sample.name;
        if (!metafile_test::writeFile(path, sample.bytes)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
