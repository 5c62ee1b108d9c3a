// pictavo-metafile <file>: the helper process that reads an EMF or WMF file and replies with
// SVG. The parsers are old C code fed with untrusted files, so they run here, under limits,
// where a crash costs one file instead of the program's whole gallery.
#include "helper_protocol.h"
#include "metafile_parse.h"
#include "platform/write_all.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define PICTAVO_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PICTAVO_ASAN 1
#endif
#endif

namespace {

using namespace metafile;

constexpr rlim_t kMemoryLimit = rlim_t{1} << 30;
constexpr rlim_t kCpuSeconds = 10;
#ifdef PICTAVO_ASAN
constexpr rlim_t kReportBytes = rlim_t{16} << 20;
#endif

void setLimit(int resource, rlim_t soft, rlim_t hard) {
    const rlimit limit{soft, hard};
    setrlimit(resource, &limit);
}

void limitResources() {
#ifndef PICTAVO_ASAN
    // AddressSanitizer reserves terabytes of address space; its builds go without this limit.
    setLimit(RLIMIT_AS, kMemoryLimit, kMemoryLimit);
#endif
    setLimit(RLIMIT_CPU, kCpuSeconds, kCpuSeconds + 1);
    setLimit(RLIMIT_CORE, 0, 0);
#ifdef PICTAVO_ASAN
    // Room for a sanitizer's report in the file its options name: a report that cannot be
    // written would hide the fault from the tests.
    setLimit(RLIMIT_FSIZE, kReportBytes, kReportBytes);
#else
    setLimit(RLIMIT_FSIZE, 0, 0);
#endif
    // A write to a file then fails instead of killing the helper.
    std::signal(SIGXFSZ, SIG_IGN);
    // Nobody waits for a reply once the program is gone.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
}

#ifdef PICTAVO_METAFILE_FAULTS
// Where the hog's block goes: an allocation whose block is never used may be left out by the
// compiler altogether (GCC 16 does), and the limit would go untested.
void* volatile g_hogBlock = nullptr;

// Faults on demand, in the tests' build of the helper only, so the program's handling
// of a misbehaving helper can be tested.
void misbehaveIfAsked() {
    const char* mode = std::getenv("PICTAVO_METAFILE_TEST");
    if (mode == nullptr)
        return;
    if (std::strcmp(mode, "crash") == 0) {
        std::signal(SIGSEGV, SIG_DFL); // past any sanitizer's handler, as a real fault would be
        std::raise(SIGSEGV);
    } else if (std::strcmp(mode, "hang") == 0) {
        for (;;)
            pause();
    } else if (std::strcmp(mode, "spin") == 0) {
        // A short CPU limit shows that the limit ends a runaway parser.
        setLimit(RLIMIT_CPU, 1, 2);
        volatile unsigned long n = 0;
        for (;;)
            n = n + 1;
    } else if (std::strcmp(mode, "hog") == 0) {
        // More than the memory limit allows: must fail, not succeed.
        g_hogBlock = std::malloc(std::size_t{3} << 29);
        if (g_hogBlock == nullptr)
            std::_Exit(kExitReaderFailed);
        std::free(g_hogBlock);
        std::fputs("SVG 1 1\n<svg xmlns=\"http://www.w3.org/2000/svg\"/>", stdout);
        std::fflush(stdout); // _Exit leaves stdio's buffers unwritten
        std::_Exit(kExitOk);
    }
}
#endif

bool readWholeFile(const char* path, std::string* bytes, int* exitCode) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0)
            close(fd);
        *exitCode = kExitUnreadable;
        return false;
    }
    if (static_cast<std::size_t>(info.st_size) > kMaxInputBytes) {
        close(fd);
        *exitCode = kExitTooLarge;
        return false;
    }
    bytes->resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes->size()) {
        const ssize_t n = read(fd, bytes->data() + done, bytes->size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    close(fd);
    bytes->resize(done); // a file that shrank while being read is simply shorter
    return true;
}

int exitCodeFor(Status status) {
    switch (status) {
    case Status::Ok:
        return kExitOk;
    case Status::NotMetafile:
        return kExitNotMetafile;
    case Status::TooLarge:
        return kExitTooLarge;
    case Status::Damaged:
        return kExitDamaged;
    case Status::BadSize:
        return kExitBadSize;
    case Status::ReaderFailed:
        break;
    }
    return kExitReaderFailed;
}

// Qt's SVG code is the program's, so any drawing that upsets it is caught here first.
bool rendersInQt(int argc, char** argv, const std::string& svg, int width, int height) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer(QByteArray::fromRawData(svg.data(), static_cast<qsizetype>(svg.size())));
    if (!renderer.isValid())
        return false;
    const double scale = std::min(1.0, 256.0 / std::max(width, height));
    QImage image(std::max(1, int(width * scale)), std::max(1, int(height * scale)),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return painter.end();
}

} // namespace

int main(int argc, char** argv) {
    limitResources();
#ifdef PICTAVO_METAFILE_FAULTS
    misbehaveIfAsked();
#endif
    if (argc != 2) {
        std::fputs("usage: pictavo-metafile <file>\n", stderr);
        return kExitUsage;
    }

    // The libraries may print on stdout: the reply gets a channel of its own.
    std::fflush(stdout);
    const int reply = dup(STDOUT_FILENO);
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (reply < 0 || nowhere < 0 || dup2(nowhere, STDOUT_FILENO) < 0)
        return kExitUsage;
    close(nowhere);

    std::string bytes;
    int code = kExitOk;
    if (!readWholeFile(argv[1], &bytes, &code)) {
        std::fprintf(stderr, "pictavo-metafile: cannot read %s\n", argv[1]);
        return code;
    }
    const Result result =
        parseMetafile(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    if (result.status != Status::Ok) {
        std::fprintf(stderr, "pictavo-metafile: %s\n", result.detail.c_str());
        return exitCodeFor(result.status);
    }
    if (result.svg.size() > kMaxSvgBytes) {
        std::fputs("pictavo-metafile: the drawing is too large\n", stderr);
        return kExitTooLarge;
    }
    if (!rendersInQt(argc, argv, result.svg, result.frameWidth, result.frameHeight)) {
        std::fputs("pictavo-metafile: the drawing does not render\n", stderr);
        return kExitBadDrawing;
    }

    char header[kMaxReplyHeader];
    const int headerLength = std::snprintf(header, sizeof header, "%s %d %d\n", kReplyTag,
                                           result.frameWidth, result.frameHeight);
    if (!writeAll(reply, header, static_cast<std::size_t>(headerLength)) ||
        !writeAll(reply, result.svg.data(), result.svg.size()))
        return kExitUsage;
    return close(reply) == 0 ? kExitOk : kExitUsage;
}
