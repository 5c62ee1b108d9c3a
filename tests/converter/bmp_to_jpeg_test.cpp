// Loads the converter the way the program does, by absolute path, and judges the files it leaves.
#include "converter/bmp_to_jpeg.h"
#include "tests/converter/bmp_files.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace pictavo::test;

namespace {

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

// Saturated one-pixel lines over gradients: asymmetric, so a flip or a channel swap shows, and
// sharp in colour, so chroma subsampling shows.
QImage pattern(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y,
                         (x + 2 * y) % 7 == 0 ? qRgb(220, 20, 40)
                         : x % 5 == 0         ? qRgb(20, 40, 230)
                                              : qRgb(x * 255 / w, y * 255 / h, (x * y) % 256));
    return img;
}

double psnr(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c) {
            const QRgb p = x.pixel(c, r), q = y.pixel(c, r);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                sum += d * d;
        }
    const double mse = sum / (3.0 * x.width() * x.height());
    return mse == 0 ? 99 : 10 * std::log10(255 * 255 / mse);
}

class Converter : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_library = dlopen(PICTAVO_JPEG_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(s_library, nullptr) << dlerror();
        s_convert = reinterpret_cast<BmpToJpegFunction>(dlsym(s_library, "BmpToJpeg"));
        ASSERT_NE(s_convert, nullptr);
    }
    static void TearDownTestSuite() { dlclose(s_library); }

    void SetUp() override {
        char tmpl[] = "/tmp/pictavo-converter-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
    }
    void TearDown() override {
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_dir);
    }

    int convert(const fs::path& bmp, const fs::path& jpeg, int setting = 100) {
        return s_convert(bmp.c_str(), jpeg.c_str(), setting);
    }
    std::set<std::string> listing() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir))
            names.insert(e.path().filename());
        return names;
    }
    // Converts and expects a JPEG of img's size, faithful to it, and no stray file.
    void expectFaithful(const fs::path& bmp, const QImage& reference, const std::string& what) {
        const fs::path jpeg = m_dir / "out.jpg";
        fs::remove(jpeg);
        const auto before = listing();
        ASSERT_EQ(convert(bmp, jpeg), PICTAVO_JPEG_OK) << what;
        const QImage out(QString::fromStdString(jpeg));
        ASSERT_EQ(out.size(), reference.size()) << what;
        EXPECT_GE(psnr(reference, out), 40.0) << what;
        auto after = listing();
        after.erase("out.jpg");
        EXPECT_EQ(after, before) << what;
    }

    static inline void* s_library = nullptr;
    static inline BmpToJpegFunction s_convert = nullptr;
    fs::path m_dir;
};

TEST_F(Converter, EveryBmpQtWritesBecomesAFaithfulJpeg) {
    std::vector<std::pair<std::string, QImage>> cases;
    for (QSize s :
         {QSize(1, 1), QSize(2, 3), QSize(3, 2), QSize(5, 7), QSize(7, 5), QSize(641, 479)})
        cases.emplace_back("rgb " + std::to_string(s.width()), pattern(s.width(), s.height()));
    QImage alpha = pattern(333, 211).convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < alpha.width(); ++x)
        alpha.setPixel(x, 7, qRgba(10, 200, 30, x % 256));
    cases.emplace_back("argb", alpha);
    for (int colours : {2, 16, 200}) {
        QImage indexed(123, 45, QImage::Format_Indexed8);
        indexed.setColorCount(colours);
        for (int i = 0; i < colours; ++i)
            indexed.setColor(i, qRgb(i * 37 % 256, i * 91 % 256, 255 - i));
        for (int y = 0; y < indexed.height(); ++y)
            for (int x = 0; x < indexed.width(); ++x)
                indexed.setPixel(x, y, (x / 3 + y) % colours);
        cases.emplace_back("indexed " + std::to_string(colours), indexed);
    }
    cases.emplace_back("mono", pattern(77, 31).convertToFormat(QImage::Format_Mono));
    cases.emplace_back("grey", pattern(65, 33).convertToFormat(QImage::Format_Grayscale8));

    for (const auto& [what, img] : cases) {
        const fs::path bmp = m_dir / "in.bmp";
        ASSERT_TRUE(img.save(QString::fromStdString(bmp), "BMP")) << what;
        // What Qt reads back from its own file is the picture the JPEG must show.
        expectFaithful(bmp, QImage(QString::fromStdString(bmp)), what);
    }
}

TEST_F(Converter, ReadsOtherUncompressedLayouts) {
    const QImage img = pattern(37, 19);
    QImage primaries(21, 13, QImage::Format_RGB32); // exact in 5 and 6 bits
    for (int y = 0; y < primaries.height(); ++y)
        for (int x = 0; x < primaries.width(); ++x)
            primaries.setPixel(x, y, qRgb(x % 2 * 255, y % 2 * 255, (x + y) % 3 ? 255 : 0));
    const std::array<std::uint32_t, 3> bgrx{0xff0000, 0xff00, 0xff}, rgbx{0xff, 0xff00, 0xff0000};
    const struct {
        const char* what;
        QImage image;
        BmpHeader header;
    } cases[] = {
        {"top-down 24", img, {.height = -1}},
        {"32 plain", img, {.bitCount = 32, .masks = bgrx}},
        {"32 V5 top-down",
         img,
         {.height = -1, .bitCount = 32, .compression = 3, .infoSize = 124, .masks = bgrx}},
        {"32 other order", img, {.bitCount = 32, .compression = 3, .masks = rgbx}},
        {"16 565", primaries, {.bitCount = 16, .compression = 3, .masks = {0xf800, 0x7e0, 0x1f}}},
    };
    for (const auto& c : cases) {
        writeFile(m_dir / "in.bmp", bmpFile(c.image, c.header));
        expectFaithful(m_dir / "in.bmp", c.image, c.what);
    }
}

// JPEG's own limit, which the program's loader shares: what loads can be saved.
TEST_F(Converter, SidesOf65500AreAccepted) {
    for (auto [w, h] : {std::pair{65500, 1}, {1, 65500}}) {
        writeFile(m_dir / "in.bmp", bmpFile(pattern(w, h), {}));
        expectFaithful(m_dir / "in.bmp", pattern(w, h), std::to_string(w));
    }
}

TEST_F(Converter, BadInputLeavesNoJpegAndKeepsAnExistingOne) {
    const fs::path good = m_dir / "good.bmp";
    ASSERT_TRUE(pattern(31, 17).save(QString::fromStdString(good), "BMP"));
    const std::string bytes = readFile(good);
    // The layout Save All writes, its rows read straight from the file.
    const std::string bgrx = bmpFile(pattern(31, 17), {.bitCount = 32});
    const auto headerOnly = [](BmpHeader h, std::size_t dataBytes) {
        return bmpHeader(h) + std::string(dataBytes, '\x55');
    };
    const struct {
        const char* name;
        std::string bytes; // no file at all when empty and named "missing"
        int expected;
    } inputs[] = {
        {"missing", {}, PICTAVO_JPEG_CANNOT_READ},
        {"empty", {}, PICTAVO_JPEG_UNSUPPORTED_BMP},
        {"text", "not a picture at all, just some words of text", PICTAVO_JPEG_UNSUPPORTED_BMP},
        {"half", bytes.substr(0, bytes.size() / 2), PICTAVO_JPEG_UNSUPPORTED_BMP},
        {"short by one", bytes.substr(0, bytes.size() - 1), PICTAVO_JPEG_UNSUPPORTED_BMP},
        {"32 short by one", bgrx.substr(0, bgrx.size() - 1), PICTAVO_JPEG_UNSUPPORTED_BMP},
        {"huge", headerOnly({.width = 100000, .height = 100000}, 4096),
         PICTAVO_JPEG_UNSUPPORTED_BMP},
        {"wide", headerOnly({.width = 65501, .dataSize = 196504}, 196504),
         PICTAVO_JPEG_UNSUPPORTED_BMP},
        {"tall", headerOnly({.height = -65501, .dataSize = 262004}, 262004),
         PICTAVO_JPEG_UNSUPPORTED_BMP},
        {"too many pixels", headerOnly({.width = 65500, .height = 4200}, 4096),
         PICTAVO_JPEG_UNSUPPORTED_BMP},
        {"rle", headerOnly({.bitCount = 8, .compression = 1, .dataSize = 8}, 1032),
         PICTAVO_JPEG_UNSUPPORTED_BMP},
    };
    for (const auto& in : inputs) {
        const fs::path bmp = m_dir / in.name;
        if (std::string(in.name) != "missing")
            writeFile(bmp, in.bytes);
        for (bool existing : {false, true}) {
            const fs::path jpeg = m_dir / (std::string(in.name) + ".jpg");
            if (existing)
                writeFile(jpeg, "keep me");
            const auto before = listing();
            EXPECT_EQ(convert(bmp, jpeg), in.expected) << in.name;
            EXPECT_EQ(listing(), before) << in.name;
            EXPECT_EQ(fs::exists(jpeg), existing) << in.name;
            if (existing) {
                EXPECT_EQ(readFile(jpeg), "keep me") << in.name;
            }
        }
    }
    EXPECT_EQ(convert(m_dir, m_dir / "folder.jpg"), PICTAVO_JPEG_CANNOT_READ);
    EXPECT_EQ(s_convert(nullptr, (m_dir / "null.jpg").c_str(), 100), PICTAVO_JPEG_BAD_ARGUMENT);
    EXPECT_EQ(s_convert(good.c_str(), "", 100), PICTAVO_JPEG_BAD_ARGUMENT);
    EXPECT_FALSE(fs::exists(m_dir / "folder.jpg"));
}

TEST_F(Converter, UnreadableBmpLeavesNothing) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their mode";
    const fs::path bmp = m_dir / "locked.bmp";
    ASSERT_TRUE(pattern(8, 8).save(QString::fromStdString(bmp), "BMP"));
    fs::permissions(bmp, fs::perms::none);
    EXPECT_EQ(convert(bmp, m_dir / "locked.jpg"), PICTAVO_JPEG_CANNOT_READ);
    EXPECT_FALSE(fs::exists(m_dir / "locked.jpg"));
}

TEST_F(Converter, UnwritableTargetLeavesNothing) {
    const fs::path bmp = m_dir / "in.bmp";
    ASSERT_TRUE(pattern(9, 9).save(QString::fromStdString(bmp), "BMP"));
    writeFile(m_dir / "plain", "a file, not a folder");
    fs::create_directory(m_dir / "folder");
    const auto before = listing();
    // /proc takes no new files even from root; a folder's mode stops only other users.
    std::vector<fs::path> targets = {m_dir / "absent" / "x.jpg", m_dir / "plain" / "x.jpg",
                                     m_dir / "folder", "/proc/pictavo-converter-test.jpg"};
    if (geteuid() != 0) {
        fs::create_directory(m_dir / "readonly");
        fs::permissions(m_dir / "readonly", fs::perms::owner_read | fs::perms::owner_exec);
        targets.push_back(m_dir / "readonly" / "x.jpg");
    }
    for (const auto& target : targets) {
        errno = 0;
        EXPECT_NE(convert(bmp, target), PICTAVO_JPEG_OK) << target;
        EXPECT_NE(errno, 0) << target << ": errno tells the caller why";
        EXPECT_FALSE(fs::is_regular_file(target)) << target;
    }
    EXPECT_TRUE(fs::is_empty(m_dir / "folder"));

    // A disk that fills up half-way through the JPEG, simulated by a file size limit.
    ASSERT_TRUE(pattern(641, 479).save(QString::fromStdString(bmp), "BMP"));
    writeFile(m_dir / "full.jpg", "keep me");
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const rlimit small{4096, old.rlim_max};
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const int result = convert(bmp, m_dir / "full.jpg");
    const int why = errno;
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, PICTAVO_JPEG_CANNOT_WRITE);
    EXPECT_EQ(why, EFBIG);
    EXPECT_EQ(readFile(m_dir / "full.jpg"), "keep me");
    auto after = listing();
    after.erase("readonly");
    after.erase("full.jpg");
    EXPECT_EQ(after, before);
}

TEST_F(Converter, ReplacesAnExistingFileAndTakesLongNames) {
    const fs::path bmp = m_dir / "in.bmp";
    ASSERT_TRUE(pattern(40, 30).save(QString::fromStdString(bmp), "BMP"));
    for (const fs::path& target : {m_dir / "old.jpg", m_dir / (std::string(251, 'n') + ".jpg")}) {
        writeFile(target, "an older file");
        ASSERT_EQ(convert(bmp, target), PICTAVO_JPEG_OK);
        EXPECT_EQ(QImage(QString::fromStdString(target)).size(), QSize(40, 30));
    }
    EXPECT_EQ(listing().size(), 3u);
}

TEST_F(Converter, SettingIsClampedToTheQualityRange) {
    const fs::path bmp = m_dir / "in.bmp";
    ASSERT_TRUE(pattern(64, 48).save(QString::fromStdString(bmp), "BMP"));
    const auto jpegAt = [&](int setting) {
        const fs::path jpeg = m_dir / ("q" + std::to_string(setting) + ".jpg");
        EXPECT_EQ(convert(bmp, jpeg, setting), PICTAVO_JPEG_OK);
        return readFile(jpeg);
    };
    EXPECT_EQ(jpegAt(-5), jpegAt(1));
    EXPECT_EQ(jpegAt(1000), jpegAt(100));
    EXPECT_LT(jpegAt(1).size(), jpegAt(100).size());
}

TEST_F(Converter, ParallelCallsGiveTheSameFilesAsSequentialOnes) {
    constexpr int kFiles = 6;
    std::vector<std::string> expected;
    for (int i = 0; i < kFiles; ++i) {
        const fs::path bmp = m_dir / (std::to_string(i) + ".bmp");
        ASSERT_TRUE(pattern(200 + 13 * i, 150 - 7 * i).save(QString::fromStdString(bmp), "BMP"));
        ASSERT_EQ(convert(bmp, m_dir / "seq.jpg"), PICTAVO_JPEG_OK);
        expected.push_back(readFile(m_dir / "seq.jpg"));
    }
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 10; ++round)
                for (int i = t; i < kFiles; i += 3) {
                    const fs::path out = m_dir / ("par" + std::to_string(i) + ".jpg");
                    EXPECT_EQ(convert(m_dir / (std::to_string(i) + ".bmp"), out), 0);
                    EXPECT_EQ(readFile(out), expected[i]) << i;
                }
        });
    for (auto& t : threads)
        t.join();
}

TEST_F(Converter, DamagedHeadersNeverCrashOrLeaveAPartialFile) {
    const std::string good = bmpFile(pattern(13, 11), {});
    std::mt19937 random(12345);
    const fs::path bmp = m_dir / "damaged.bmp", jpeg = m_dir / "damaged.jpg";
    for (int i = 0; i < 1000; ++i) {
        std::string bytes = good;
        for (int n = 0; n < 3; ++n)
            bytes[random() % 70] = static_cast<char>(random());
        writeFile(bmp, bytes.substr(0, bytes.size() - random() % 2 * (random() % bytes.size())));
        fs::remove(jpeg);
        if (convert(bmp, jpeg) == PICTAVO_JPEG_OK) {
            EXPECT_FALSE(QImage(QString::fromStdString(jpeg)).isNull()) << i;
        } else {
            EXPECT_FALSE(fs::exists(jpeg)) << i;
        }
        for (const auto& name : listing())
            ASSERT_TRUE(name == "damaged.bmp" || name == "damaged.jpg") << name;
    }
}

} // namespace
