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

} // namespace
