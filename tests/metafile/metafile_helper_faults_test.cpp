// A helper that crashes, hangs, runs away or answers nonsense costs one file, never the caller.
#include "metafile_test_support.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

using namespace metafile_test;

namespace {

class HelperFaults : public ::testing::Test {
protected:
    void SetUp() override { m_sample = writeInto(m_dir, "sample.emf", sampleEmf()); }

    // A stand-in helper: a shell script with the given body.
    QString fakeHelper(const QString& name, const QByteArray& body) {
        const QString path = m_dir.filePath(name);
        QFile script(path);
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + body + "\n");
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ExeOwner);
        return path;
    }

    QString refusalFrom(const QString& helper, int timeoutMs = kTimeoutMs) {
        QString error;
        const auto drawing = loadMetafileViaHelper(helper, m_sample, timeoutMs, &error);
        EXPECT_FALSE(drawing.has_value()) << helper.toStdString();
        return error;
    }

    QTemporaryDir m_dir;
    QString m_sample;
};

TEST_F(HelperFaults, CrashIsReportedAsSuch) {
    const HelperFault fault("crash");
    QString error;
    EXPECT_FALSE(loadThroughHelper(m_sample, &error));
    EXPECT_EQ(error, "the metafile reader crashed");
}

TEST_F(HelperFaults, HangIsCutOffAtTheTimeout) {
    const HelperFault fault("hang");
    QString error;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(loadThroughHelper(m_sample, &error, 1000));
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(error, "the metafile reader took too long");
    EXPECT_GE(elapsed, 1000);
    EXPECT_LT(elapsed, 5000);
}

// The helper's CPU limit (1 s in this mode) ends a runaway parse long before the timeout.
TEST_F(HelperFaults, RunawayParseIsEndedByTheCpuLimit) {
    const HelperFault fault("spin");
    QString error;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(loadThroughHelper(m_sample, &error, 60000));
    EXPECT_EQ(error, "the metafile reader took too long");
    EXPECT_LT(clock.elapsed(), 30000);
}

TEST_F(HelperFaults, MemoryLimitRefusesAHugeAllocation) {
#ifdef PICTAVO_SANITIZE_BUILD
    GTEST_SKIP() << "sanitizer builds run the helper without a memory limit";
#endif
    const HelperFault fault("hog");
    QString error;
    EXPECT_FALSE(loadThroughHelper(m_sample, &error));
    EXPECT_EQ(error, "the metafile reader could not convert the file");
}

TEST_F(HelperFaults, NonsenseRepliesAreRefused) {
    EXPECT_TRUE(refusalFrom(m_dir.filePath("missing-helper"))
                    .startsWith("the metafile reader is missing: " + m_dir.filePath("missing-helper")));
    EXPECT_EQ(refusalFrom(fakeHelper("garbage", "echo hello; exit 0")),
              "the metafile reader gave an unreadable reply");
    EXPECT_EQ(refusalFrom(fakeHelper("no-newline", "printf 'SVG 10 10'")),
              "the metafile reader gave an unreadable reply");
    EXPECT_EQ(refusalFrom(fakeHelper("zero-size", "printf 'SVG 0 10\\n<svg/>'")),
              "the metafile reader gave an unreadable reply");
    EXPECT_EQ(refusalFrom(fakeHelper("huge-size", "printf 'SVG 99999 10\\n<svg/>'")),
              "the metafile reader gave an unreadable reply");
    EXPECT_EQ(refusalFrom(fakeHelper("not-svg", "printf 'SVG 10 10\\n<html></html>'")),
              "the metafile's drawing cannot be shown");
    // A failure code outweighs whatever was written.
    EXPECT_EQ(refusalFrom(fakeHelper("damaged", "printf 'SVG 10 10\\n<svg "
                                                "xmlns=\"http://www.w3.org/2000/svg\"/>'; exit 5")),
              "the metafile is damaged");
    EXPECT_EQ(refusalFrom(fakeHelper("killed", "kill -9 $$")), "the metafile reader crashed");
    EXPECT_EQ(refusalFrom(fakeHelper("endless", "exec yes")),
              "the metafile reader's reply is too large");
}

} // namespace
