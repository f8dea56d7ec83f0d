// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/db/sessionlock.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace sw {

// One open lock file per database file and process, shared by the process's connections.
struct SessionLock::Descriptor
{
#ifdef Q_OS_WIN
    HANDLE handle = INVALID_HANDLE_VALUE;
#else
    int fd = -1;
#endif
    int sharedHolders = 0;
    bool exclusive = false;

    bool isOpen() const
    {
#ifdef Q_OS_WIN
        return handle != INVALID_HANDLE_VALUE;
#else
        return fd >= 0;
#endif
    }

    ~Descriptor()
    {
#ifdef Q_OS_WIN
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
#else
        if (fd >= 0)
            ::close(fd);
#endif
    }

    enum class Mode { None, Shared, Exclusive };

    // Sets the whole file's lock to `mode` without waiting; false when another process stands in the way.
    bool setMode(Mode mode)
    {
#ifdef Q_OS_WIN
        OVERLAPPED whole = {};
        UnlockFileEx(handle, 0, 1, 0, &whole);
        if (mode == Mode::None)
            return true;
        const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (mode == Mode::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
        if (LockFileEx(handle, flags, 0, 1, 0, &whole))
            return true;
        if (mode == Mode::Exclusive && sharedHolders > 0)
            LockFileEx(handle, LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole);
        return false;
#else
        struct flock lock = {};
        lock.l_type = mode == Mode::None ? F_UNLCK : mode == Mode::Shared ? F_RDLCK : F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = 0;
        lock.l_len = 0;
        return ::fcntl(fd, F_SETLK, &lock) == 0;
#endif
    }

    void settle() { setMode(exclusive ? Mode::Exclusive : sharedHolders > 0 ? Mode::Shared : Mode::None); }
};

namespace {

// How long a new session waits for another process's restore to end: 50 x 100 ms.
constexpr int kWaitAttempts = 50;
constexpr unsigned long kWaitStepMs = 100;

// The operating system keeps record locks per process and drops all of them when
// any descriptor of the file is closed, so the process keeps exactly one per file.
QMutex &registryMutex()
{
    static QMutex mutex;
    return mutex;
}

QHash<QString, std::weak_ptr<SessionLock::Descriptor>> &registry()
{
    static QHash<QString, std::weak_ptr<SessionLock::Descriptor>> open;
    return open;
}

} // namespace

SessionLock::SessionLock(std::shared_ptr<Descriptor> descriptor, bool exclusive)
    : m_descriptor(std::move(descriptor))
    , m_exclusive(exclusive)
{
}

SessionLock::~SessionLock()
{
    if (!m_descriptor || !m_descriptor->isOpen())
        return;
    QMutexLocker guard(&registryMutex());
    if (m_exclusive)
        m_descriptor->exclusive = false;
    else
        --m_descriptor->sharedHolders;
    m_descriptor->settle();
}

namespace {

std::shared_ptr<SessionLock::Descriptor> descriptorFor(const QString &databaseFile)
{
    const QString path = QFileInfo(SessionLock::lockFile(databaseFile)).absoluteFilePath();
    if (auto existing = registry().value(path).lock())
        return existing;
    auto descriptor = std::make_shared<SessionLock::Descriptor>();
#ifdef Q_OS_WIN
    descriptor->handle = CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
#else
    descriptor->fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
#endif
    registry().insert(path, descriptor);
    return descriptor;
}

} // namespace

std::shared_ptr<SessionLock> SessionLock::shared(const QString &databaseFile)
{
    QMutexLocker guard(&registryMutex());
    auto descriptor = descriptorFor(databaseFile);
    if (!descriptor->isOpen())
        return std::shared_ptr<SessionLock>(new SessionLock(nullptr, false));
    // The process's own restore (holding the exclusive lock) opens connections of its own.
    if (!descriptor->exclusive && descriptor->sharedHolders == 0) {
        // Another process restoring holds the exclusive lock: wait a little for it to end,
        // then refuse, rather than work on a database being replaced.
        bool locked = descriptor->setMode(Descriptor::Mode::Shared);
        for (int attempt = 0; !locked && attempt < kWaitAttempts; ++attempt) {
            guard.unlock();
            QThread::msleep(kWaitStepMs);
            guard.relock();
            locked =
                descriptor->exclusive || descriptor->sharedHolders > 0 || descriptor->setMode(Descriptor::Mode::Shared);
        }
        if (!locked)
            return nullptr;
    }
    ++descriptor->sharedHolders;
    return std::shared_ptr<SessionLock>(new SessionLock(std::move(descriptor), false));
}

std::shared_ptr<SessionLock> SessionLock::exclusive(const QString &databaseFile)
{
    QMutexLocker guard(&registryMutex());
    auto descriptor = descriptorFor(databaseFile);
    if (!descriptor->isOpen() || descriptor->exclusive)
        return nullptr;
    if (!descriptor->setMode(Descriptor::Mode::Exclusive))
        return nullptr;
    descriptor->exclusive = true;
    return std::shared_ptr<SessionLock>(new SessionLock(std::move(descriptor), true));
}

} // namespace sw
