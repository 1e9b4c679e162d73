#include "OtherProcessLock.h"
#include "platform/FileOps.h"
#include "platform/ReplacementLock.h"
#include <QFile>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr unsigned LongestLifeSeconds = 60;

// In the forked child: only calls that are safe after a fork of a threaded program.
[[noreturn]] void HoldLock(const char* lockFile, int ready, int release)
{
    // The parent's files stay the parent's: its own locks among them are not held on here.
    const int highest = int(::sysconf(_SC_OPEN_MAX));
    for (int fd = 3; fd < highest && fd < 65536; ++fd)
        if (fd != ready && fd != release)
            ::close(fd);
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    ::sigaction(SIGALRM, &dfl, nullptr);
    ::alarm(LongestLifeSeconds);
    const int fd = ::open(lockFile, O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    const char taken = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? '1' : '0';
    if (::write(ready, &taken, 1) != 1 || taken != '1')
        ::_exit(1);
    // Held until the parent closes its end of the pipe (or ends).
    char byte = 0;
    while (::read(release, &byte, 1) > 0) {
    }
    ::_exit(0);
}

} // namespace

OtherProcessLock::OtherProcessLock(const QString& target)
{
    // Made as the program makes it, so that the other process only opens it.
    { const ReplacementLock made(target); }
    const QByteArray lockFile = NativePath(ReplacementLock::LockFile(target));
    int ready[2], release[2];
    if (::pipe2(ready, O_CLOEXEC) != 0)
        return;
    if (::pipe2(release, O_CLOEXEC) != 0) {
        ::close(ready[0]);
        ::close(ready[1]);
        return;
    }
    pid_ = ::fork();
    if (pid_ == 0)
        HoldLock(lockFile.constData(), ready[1], release[0]);
    ::close(ready[1]);
    ::close(release[0]);
    release_ = release[1];
    char taken = '0';
    held_ = pid_ > 0 && ::read(ready[0], &taken, 1) == 1 && taken == '1';
    ::close(ready[0]);
}

OtherProcessLock::~OtherProcessLock()
{
    Free();
}

void OtherProcessLock::Free()
{
    if (release_ >= 0)
        ::close(release_);
    release_ = -1;
    if (pid_ > 0)
        ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
    held_ = false;
}
