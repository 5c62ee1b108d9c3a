#include "converter/bmp_to_jpeg.h"

#include "converter/bmp_reader.h"
#include "converter/unique_fd.h"
#include "platform/temporary_files.h"
#include "platform/write_all.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/random.h>
#include <unistd.h>

namespace {

using namespace pictavo::jpeg;

// Full-resolution chroma (4:4:4): the program always asks for quality 100, and 4:2:0 smears the
// coloured text and edges of screenshots (39.5 dB against 53.8 dB on a 1920x1080 screenshot).
constexpr int kSubsampling = TJSAMP_444;

struct Compressor {
    tjhandle handle = tjInitCompress();
    ~Compressor() {
        if (handle)
            tjDestroy(handle);
    }
};

struct JpegBuffer {
    unsigned char* data = nullptr;
    ~JpegBuffer() { tjFree(data); }
};

std::uint64_t randomNumber() {
    std::uint64_t value = 0;
    if (::getrandom(&value, sizeof value, GRND_NONBLOCK) != sizeof value)
        value = static_cast<std::uint64_t>(
                    std::chrono::steady_clock::now().time_since_epoch().count()) ^
                reinterpret_cast<std::uintptr_t>(&value);
    return value;
}

std::string randomDigits() {
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(randomNumber()));
    return digits;
}

// Restores errno on the way out: cleaning up must not overwrite the reason of a failure.
struct KeepErrno {
    int saved = errno;
    ~KeepErrno() { errno = saved; }
};

int failWith(int code, int error) {
    errno = error;
    return code;
}

// The old way, where the file system has no unnamed files: a short hidden name of the program's
// own pattern in the target's folder, so rename() stays on one file system, a long target name
// cannot make it too long, Browse never lists it, and the program removes it should a crash leave
// it behind.
int writeThroughNamedFile(const std::string& folder, const char* jpegPath,
                          const unsigned char* data, std::size_t size) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string temporary = folder;
        temporary.append(kTemporaryPrefix).append(randomDigits()).append(kTemporarySuffix);
        UniqueFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!fd.valid()) {
            if (errno == EEXIST)
                continue;
            return PICTAVO_JPEG_CANNOT_WRITE;
        }
        // No fsync: a Save All of many pictures would wait on the disk for each one.
        const bool written = writeAll(fd.get(), data, size) && fd.close();
        if (written && ::rename(temporary.c_str(), jpegPath) == 0)
            return PICTAVO_JPEG_OK;
        const KeepErrno reason;
        ::unlink(temporary.c_str());
        return PICTAVO_JPEG_CANNOT_WRITE;
    }
    return failWith(PICTAVO_JPEG_CANNOT_WRITE, EEXIST);
}

// Written into a file with no name, which takes the target's name only once whole: whatever
// becomes of the folder meanwhile (made read-only, removed), nothing is left in it on failure.
int writeAtomically(const char* jpegPath, const unsigned char* data, std::size_t size) {
    const std::string_view target(jpegPath);
    const std::size_t slash = target.rfind('/');
    const std::string folder(slash == std::string_view::npos ? std::string_view()
                                                             : target.substr(0, slash + 1));
    UniqueFd fd(::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC,
                       0666));
    if (!fd.valid()) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
            return writeThroughNamedFile(folder, jpegPath, data, size);
        return PICTAVO_JPEG_CANNOT_WRITE;
    }
    if (!writeAll(fd.get(), data, size))
        return PICTAVO_JPEG_CANNOT_WRITE;
    char self[32];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd.get());
    if (::linkat(AT_FDCWD, self, AT_FDCWD, jpegPath, AT_SYMLINK_FOLLOW) == 0)
        return PICTAVO_JPEG_OK;
    if (errno == ENOENT && ::access("/proc/self/fd", X_OK) != 0)
        return writeThroughNamedFile(folder, jpegPath, data, size);
    if (errno != EEXIST)
        return PICTAVO_JPEG_CANNOT_WRITE;
    // A file is there already: it is replaced at once, through a name of its own for the
    // moment between the link and the rename.
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string temporary = folder;
        temporary.append(kTemporaryPrefix).append(randomDigits()).append(kTemporarySuffix);
        if (::linkat(AT_FDCWD, self, AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST)
                continue;
            return PICTAVO_JPEG_CANNOT_WRITE;
        }
        if (::rename(temporary.c_str(), jpegPath) == 0)
            return PICTAVO_JPEG_OK;
        const KeepErrno reason;
        ::unlink(temporary.c_str());
        return PICTAVO_JPEG_CANNOT_WRITE;
    }
    return failWith(PICTAVO_JPEG_CANNOT_WRITE, EEXIST);
}

int convert(const char* bmpPath, const char* jpegPath, int quality) {
    JpegBuffer jpeg;
    unsigned long jpegSize = 0;
    {
        BmpPixels pixels;
        switch (readBmp(bmpPath, pixels)) {
        case BmpStatus::Ok:
            break;
        case BmpStatus::CannotRead:
            return PICTAVO_JPEG_CANNOT_READ;
        case BmpStatus::Unsupported:
            return PICTAVO_JPEG_UNSUPPORTED_BMP;
        }
        Compressor compressor;
        if (!compressor.handle)
            return failWith(PICTAVO_JPEG_ENCODE_FAILED, ENOMEM);
        // A worst-case buffer up front: TurboJPEG never has to grow and copy it.
        jpegSize = tjBufSize(pixels.width, pixels.height, kSubsampling);
        if (jpegSize > INT_MAX)
            return failWith(PICTAVO_JPEG_ENCODE_FAILED, EFBIG);
        if (!(jpeg.data = tjAlloc(static_cast<int>(jpegSize))))
            return failWith(PICTAVO_JPEG_ENCODE_FAILED, ENOMEM);
        const int flags = TJFLAG_NOREALLOC | (pixels.bottomUp ? TJFLAG_BOTTOMUP : 0);
        if (tjCompress2(compressor.handle, pixels.data, pixels.width, pixels.pitch,
                        pixels.height, pixels.pixelFormat, &jpeg.data, &jpegSize, kSubsampling,
                        quality, flags) != 0)
            // libjpeg's one failure here that is not a fault of the input.
            return failWith(PICTAVO_JPEG_ENCODE_FAILED,
                            std::strstr(tjGetErrorStr2(compressor.handle), "memory") ? ENOMEM : EIO);
    }
    return writeAtomically(jpegPath, jpeg.data, jpegSize);
}

} // namespace

extern "C" int BmpToJpeg(const char* bmpPath, const char* jpegPath, int setting) {
    if (!bmpPath || !jpegPath || !*bmpPath || !*jpegPath)
        return failWith(PICTAVO_JPEG_BAD_ARGUMENT, EINVAL);
    try {
        return convert(bmpPath, jpegPath, std::clamp(setting, 1, 100));
    } catch (const std::bad_alloc&) {
        return failWith(PICTAVO_JPEG_ENCODE_FAILED, ENOMEM);
    } catch (...) {
        // Nothing may escape into a C caller.
        return failWith(PICTAVO_JPEG_ENCODE_FAILED, EIO);
    }
}
