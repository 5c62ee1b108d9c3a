// Makes memory run short for a while: the process may map only a little more
// than it maps now. Not under AddressSanitizer, which maps terabytes of shadow.
#pragma once

#include <QFile>
#include <sys/resource.h>

class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(qint64 spareBytes) {
        QFile status(QStringLiteral("/proc/self/status"));
        if (getrlimit(RLIMIT_AS, &m_old) != 0 || !status.open(QIODevice::ReadOnly))
            return;
        qint64 mappedKb = 0;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmSize:"))
                mappedKb = line.mid(7).trimmed().split(' ').value(0).toLongLong();
        rlimit tight = m_old;
        tight.rlim_cur = rlim_t(mappedKb * 1024 + spareBytes);
        m_active = mappedKb > 0 && setrlimit(RLIMIT_AS, &tight) == 0;
    }
    ~AddressSpaceLimit() { lift(); }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

    bool active() const { return m_active; }
    void lift() {
        if (m_active)
            setrlimit(RLIMIT_AS, &m_old);
        m_active = false;
    }

private:
    rlimit m_old{};
    bool m_active = false;
};
