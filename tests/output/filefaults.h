#pragma once

// Ways to make file writes fail on purpose, also when the tests run as root.

#include <QFile>
#include <QString>

#ifdef Q_OS_LINUX
#include <csignal>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace filefaults {

// Files written by this process stop growing at `bytes`: a write past that
// fails part-way, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(quint64 bytes)
    {
#ifdef Q_OS_LINUX
        std::signal(SIGXFSZ, SIG_IGN);
        m_active = getrlimit(RLIMIT_FSIZE, &m_old) == 0;
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        m_active = m_active && setrlimit(RLIMIT_FSIZE, &limited) == 0;
#else
        Q_UNUSED(bytes);
#endif
    }
    ~FileSizeLimit()
    {
#ifdef Q_OS_LINUX
        if (m_active)
            setrlimit(RLIMIT_FSIZE, &m_old);
#endif
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool active() const
    {
        return m_active;
    }

private:
    bool m_active = false;
#ifdef Q_OS_LINUX
    rlimit m_old{};
#endif
};

// A folder nothing can be created in. Root ignores permissions, so for root
// the capability that lets it do so is left out of effect meanwhile.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString &path) : m_path(path)
    {
        m_oldPermissions = QFile::permissions(path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                        | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
#ifdef Q_OS_LINUX
        if (geteuid() == 0 && syscall(SYS_capget, &m_header, m_saved) == 0) {
            __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
            reduced[CAP_DAC_OVERRIDE / 32].effective &= ~(1U << (CAP_DAC_OVERRIDE % 32));
            m_dropped = syscall(SYS_capset, &m_header, reduced) == 0;
        }
#endif
        QFile probe(path + QStringLiteral("/.probe"));
        m_active = !probe.open(QIODevice::WriteOnly);
        if (!m_active)
            probe.remove();
    }
    ~ReadOnlyFolder()
    {
#ifdef Q_OS_LINUX
        if (m_dropped)
            syscall(SYS_capset, &m_header, m_saved);
#endif
        QFile::setPermissions(m_path, m_oldPermissions);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;
    // False when the platform let a file be created all the same.
    bool active() const
    {
        return m_active;
    }

private:
    QString m_path;
    QFileDevice::Permissions m_oldPermissions;
    bool m_active = false;
#ifdef Q_OS_LINUX
    bool m_dropped = false;
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
#endif
};

} // namespace filefaults
