// Sanitizer reports of the helper processes a test starts. A helper's stderr goes nowhere and
// its abort reads as a crash, so its reports are written to files of a folder of this run's
// own (through the log_path option the helpers inherit), and any such file fails the run.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

class ChildReports : public ::testing::EmptyTestEventListener {
public:
    ChildReports() {
        for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
            QByteArray options = qgetenv(name);
            if (!options.isEmpty())
                options += ':';
            qputenv(name, QByteArray(options +
                                     "log_path=" + QFile::encodeName(m_dir.filePath("report"))));
        }
    }

    // Reports are told under the test that was running when they were written.
    void OnTestEnd(const ::testing::TestInfo& test) override {
        for (const QFileInfo& file : QDir(m_dir.path()).entryInfoList(QDir::Files)) {
            QFile report(file.filePath());
            // An unreadable report still fails the run, under its name.
            const QByteArray text =
                report.open(QIODevice::ReadOnly)
                    ? report.readAll()
                    : QByteArray("(unreadable: " + QFile::encodeName(file.filePath()) + ')');
            std::fprintf(stderr, "A helper's sanitizer report during %s.%s:\n%s\n",
                         test.test_suite_name(), test.name(), text.constData());
            report.remove();
            m_found = true;
        }
    }

    bool found() const { return m_found; }

private:
    QTemporaryDir m_dir;
    bool m_found = false;
};

// Runs the tests; any helper's report fails the run.
inline int runAllTestsWatchingChildren() {
    auto* reports = new ChildReports; // owned by gtest's listener list
    ::testing::UnitTest::GetInstance()->listeners().Append(reports);
    const int status = RUN_ALL_TESTS();
    return reports->found() ? 1 : status;
}
