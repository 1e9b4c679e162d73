#include "FileState.h"
#include "FileOps.h"
#include <QCryptographicHash>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<FileState> StateOfFile(const QString& path)
{
    // A name no file has (one with a NUL) describes none, rather than the file its part
    // names. One open file for every part, so that they describe the same file even while
    // another writer renames a new one into its place.
    if (path.contains(QChar(0)))
        return std::nullopt;
    const int fd = ::open(NativePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<FileState> state;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        char buffer[1 << 16];
        ssize_t n = 0;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
            if (n > 0)
                hash.addData(QByteArrayView(buffer, n));
        if (n == 0) {
            state = FileState{int64_t(st.st_size), int64_t(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000,
                              uint32_t(st.st_uid), hash.result().toHex()};
        }
    }
    ::close(fd);
    return state;
}
