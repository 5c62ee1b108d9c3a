// Converts BMP files to JPEG with the converter library on N threads and prints the seconds taken.
// Usage: pictavo_converter_bench [--threads N] [--reload] OUT_DIR BMP...
//   --reload  loads and unloads the library around every call, as the program does.
#include "converter/bmp_to_jpeg.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Library {
    void* handle = dlopen(PICTAVO_JPEG_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    BmpToJpegFunction convert =
        handle ? reinterpret_cast<BmpToJpegFunction>(dlsym(handle, "BmpToJpeg")) : nullptr;
    ~Library() {
        if (handle)
            dlclose(handle);
    }
};

} // namespace

int main(int argc, char** argv) {
    int threads = 1;
    bool reload = false;
    int arg = 1;
    for (; arg < argc && argv[arg][0] == '-'; ++arg) {
        if (std::string(argv[arg]) == "--threads" && arg + 1 < argc)
            threads = std::max(1, std::atoi(argv[++arg]));
        else if (std::string(argv[arg]) == "--reload")
            reload = true;
    }
    if (argc - arg < 2) {
        std::fprintf(stderr, "usage: %s [--threads N] [--reload] OUT_DIR BMP...\n", argv[0]);
        return 2;
    }
    const std::string outDir = argv[arg++];
    std::vector<std::string> inputs(argv + arg, argv + argc);

    auto resident = std::make_optional<Library>();
    if (!resident->convert) {
        std::fprintf(stderr, "cannot load %s: %s\n", PICTAVO_JPEG_LIBRARY, dlerror());
        return 1;
    }
    // Otherwise every later dlopen would only count references to the resident copy.
    if (reload)
        resident.reset();
    std::atomic<std::size_t> next{0};
    std::atomic<int> failures{0};
    const auto work = [&] {
        for (std::size_t i; (i = next++) < inputs.size();) {
            const std::string& in = inputs[i];
            const std::size_t slash = in.rfind('/');
            const std::string base = in.substr(slash + 1, in.rfind('.') - slash - 1);
            const std::string out = outDir + "/" + base + ".jpg";
            if (reload) {
                Library fresh;
                failures += !fresh.convert || fresh.convert(in.c_str(), out.c_str(), 100) != 0;
            } else {
                failures += resident->convert(in.c_str(), out.c_str(), 100) != 0;
            }
        }
    };
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (auto& t : pool)
        t.join();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%.4f\n", elapsed.count());
    if (failures > 0) {
        std::fprintf(stderr, "%d conversions failed\n", failures.load());
        return 1;
    }
    return 0;
}
