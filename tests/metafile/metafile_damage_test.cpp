// Damaged metafiles: each is refused with a reason, and the caller neither crashes nor waits
// past its timeout.
#include "metafile_test_support.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <random>

using namespace metafile_test;

namespace {

class MetafileDamage : public ::testing::Test {
protected:
    // The reason the helper gave for refusing the file ("" when it was accepted).
    QString refusal(const std::string& name, const Bytes& bytes) {
        const QString path = writeInto(m_dir, QString::fromStdString(name), bytes);
        QString error;
        QElapsedTimer clock;
        clock.start();
        const auto drawing = loadThroughHelper(path, &error);
        EXPECT_LT(clock.elapsed(), kTimeoutMs) << name;
        if (drawing)
            return {};
        EXPECT_FALSE(error.isEmpty()) << name;
        return error.isEmpty() ? QStringLiteral("(no reason)") : error;
    }

    void expectRefused(const std::string& name, const Bytes& bytes, const char* reasonPart) {
        const QString reason = refusal(name, bytes);
        EXPECT_TRUE(reason.contains(QLatin1String(reasonPart)))
            << name << ": \"" << reason.toStdString() << "\" lacks \"" << reasonPart << "\"";
    }

    QTemporaryDir m_dir;
};

Bytes cut(const Bytes& b, std::size_t length) {
    return Bytes(b.begin(), b.begin() + length);
}

TEST_F(MetafileDamage, TruncatedFilesAreRefused) {
    const std::vector<std::pair<std::string, Bytes>> files{
        {"emf", sampleEmf()}, {"wmf", sampleWmf(true)}, {"std.wmf", sampleWmf(false)}};
    for (const auto& [name, bytes] : files) {
        const std::size_t n = bytes.size();
        for (std::size_t length :
             {std::size_t{1}, std::size_t{5}, std::size_t{21}, std::size_t{22}, std::size_t{30},
              std::size_t{40}, std::size_t{44}, std::size_t{87}, std::size_t{88}, std::size_t{107},
              std::size_t{108}, std::size_t{116}, n / 2, n - 20, n - 6, n - 1}) {
            const std::string label = name + " cut at " + std::to_string(length);
            EXPECT_FALSE(refusal(label, cut(bytes, length)).isEmpty()) << label;
        }
    }
}

TEST_F(MetafileDamage, EmptyAndRandomFilesAreRefused) {
    expectRefused("empty", {}, "not an EMF or WMF");
    std::mt19937 random(20240501);
    Bytes noise(4096);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(random());
    expectRefused("noise", noise, "not an EMF or WMF");

    // Valid headers followed by noise.
    Bytes emf = cut(sampleEmf(), emf_offset::kHeaderSize);
    emf.insert(emf.end(), noise.begin(), noise.end());
    EXPECT_FALSE(refusal("emf header + noise", emf).isEmpty());
    for (bool placeable : {true, false}) {
        const std::size_t header =
            (placeable ? wmf_offset::kPlaceableSize : 0) + wmf_offset::kHeaderSize;
        Bytes wmf = cut(sampleWmf(placeable), header);
        wmf.insert(wmf.end(), noise.begin(), noise.end());
        EXPECT_FALSE(refusal("wmf header + noise", wmf).isEmpty());
    }
}

TEST_F(MetafileDamage, AbsurdHeaderSizesAreRefused) {
    using namespace emf_offset;
    const auto emfWith = [](std::size_t offset, std::uint32_t value) {
        Bytes b = sampleEmf();
        putU32(b, offset, value);
        return b;
    };
    expectRefused("empty frame", emfWith(kFrame + 8, 0), "size");
    expectRefused("reversed frame", emfWith(kFrame + 8, static_cast<std::uint32_t>(-5080)), "size");
    expectRefused("huge frame", emfWith(kFrame + 8, 0x7FFFFFFF), "size");
    expectRefused("frame beyond 16384 px", emfWith(kFrame + 8, 16385 * 2540 / 96 + 1), "size");
    expectRefused("no device", emfWith(kDevice, 0), "size");
    expectRefused("no millimetres", emfWith(kMillimeters + 4, 0), "size");
    expectRefused("impossible resolution", emfWith(kDevice, 0x7FFFFFFF), "size");
    expectRefused("header length 0", emfWith(4, 0), "damaged");
    expectRefused("header longer than file", emfWith(4, 0xFFFFFFF0), "damaged");

    Bytes wmf = sampleWmf(true);
    putU16(wmf, wmf_offset::kPlaceableInch, 0);
    expectRefused("inch 0", wmf, "size");
    wmf = sampleWmf(true);
    putU16(wmf, wmf_offset::kPlaceableInch, 1);
    putU16(wmf, wmf_offset::kPlaceableBox + 4, 32767);
    expectRefused("32767 inches wide", wmf, "size");
    wmf = sampleWmf(true);
    putU16(wmf, wmf_offset::kPlaceableBox + 4, 0);
    expectRefused("empty box", wmf, "size");
    for (bool placeable : {true, false}) {
        wmf = sampleWmf(placeable);
        const std::size_t header = placeable ? wmf_offset::kPlaceableSize : 0;
        putU32(wmf, header + wmf_offset::kMaxRecord, 0xFFFFFFFF);
        expectRefused("record limit beyond the file", wmf, "damaged");
    }
}

TEST_F(MetafileDamage, ImpossibleRecordLengthsAreRefused) {
    const std::size_t firstEmfRecord = emf_offset::kHeaderSize;
    for (std::uint32_t length : {0u, 4u, 6u, 0x7FFFFFF0u, 0xFFFFFFFFu}) {
        Bytes emf = sampleEmf();
        putU32(emf, firstEmfRecord + 4, length);
        expectRefused("emf record length " + std::to_string(length), emf, "damaged");
    }
    // The end record's length beyond the file.
    Bytes emf = sampleEmf();
    putU32(emf, emf.size() - 16, 64);
    expectRefused("emf end record too long", emf, "damaged");

    for (bool placeable : {true, false}) {
        const std::size_t header =
            (placeable ? wmf_offset::kPlaceableSize : 0) + wmf_offset::kHeaderSize;
        for (std::uint32_t words : {0u, 2u, 0x7FFFFFFFu}) {
            Bytes wmf = sampleWmf(placeable);
            putU32(wmf, header, words);
            expectRefused("wmf record words " + std::to_string(words), wmf, "damaged");
        }
        // Records longer than the header's record limit.
        Bytes wmf = sampleWmf(placeable);
        putU32(wmf, header - wmf_offset::kHeaderSize + wmf_offset::kMaxRecord, 1);
        expectRefused("wmf record over the limit", wmf, "damaged");
    }
}

// The library reads the description as far as its terminating zeros, so a pointer into the
// records or past the file is refused before the library sees it.
TEST_F(MetafileDamage, HeaderPointersOutsideTheHeaderAreRefused) {
    using namespace emf_offset;
    const auto emfWith = [](std::uint32_t descriptionChars, std::uint32_t descriptionOffset,
                            std::uint32_t formatBytes = 0, std::uint32_t formatOffset = 0) {
        Bytes b = sampleEmf();
        putU32(b, kDescriptionChars, descriptionChars);
        putU32(b, kDescriptionOffset, descriptionOffset);
        putU32(b, kPixelFormatBytes, formatBytes);
        putU32(b, kPixelFormatOffset, formatOffset);
        return b;
    };
    const auto size = std::uint32_t(sampleEmf().size());
    expectRefused("description at the last bytes", emfWith(0, size - 3), "damaged");
    expectRefused("description past the end", emfWith(4, size + 1000), "damaged");
    expectRefused("description in the records", emfWith(2, kHeaderSize + 8), "damaged");
    expectRefused("description longer than the header", emfWith(0x40000000, kHeaderSize - 4),
                  "damaged");
    expectRefused("pixel format past the end", emfWith(0, 0, 40, size), "damaged");

    // A real description, two strings each ending in a zero, inside a longer header.
    Bytes described = sampleEmf();
    const std::u16string text(u"Pictavo\0tests\0\0\0", 16); // whole 32-bit words
    Bytes utf16;
    for (char16_t c : text) {
        utf16.push_back(std::uint8_t(c & 0xFF));
        utf16.push_back(std::uint8_t(c >> 8));
    }
    described.insert(described.begin() + kHeaderSize, utf16.begin(), utf16.end());
    putU32(described, 4, std::uint32_t(kHeaderSize + utf16.size()));
    putU32(described, kBytes, std::uint32_t(described.size()));
    putU32(described, kDescriptionChars, std::uint32_t(text.size()));
    putU32(described, kDescriptionOffset, kHeaderSize);
    EXPECT_EQ(refusal("described", described), QString());
}

} // namespace
