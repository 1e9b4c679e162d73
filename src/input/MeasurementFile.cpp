#include "MeasurementFile.h"

#include "platform/FileOps.h"
#include "platform/SymbolFont.h"
#include "platform/Variant.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The error of a failed stat or open.
VbError fileError(int error, const QString& path)
{
    switch (error) {
    case ENOENT:
        return VbError(QFileInfo(path).absoluteDir().exists() ? VbErr::FileNotFound : VbErr::PathNotFound);
    case ENOTDIR:
        return VbError(VbErr::PathNotFound);
    case EACCES:
    case EPERM:
        return VbError(VbErr::PermissionDenied);
    default:
        return VbError(VbErr::FileAccess);
    }
}

bool isRegular(const struct stat& st)
{
    return S_ISREG(st.st_mode);
}

VbError tooLarge(int64_t size, int64_t maxBytes)
{
    return VbError(VbErr::OutOfMemory,
                   QStringLiteral("Die Datei ist zu groß: ") + CStr(Variant(double(size)))
                       + QStringLiteral(" Bytes; eine Tabelle nimmt nur den Inhalt einer Datei von höchstens ")
                       + CStr(Variant(double(maxBytes))) + QStringLiteral(" Bytes auf."));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { ::close(fd_); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::vector<QString> MeasurementLines(QByteArrayView bytes)
{
    std::vector<QString> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.push_back(AnsiText(bytes.sliced(start, i - start)));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back(AnsiText(bytes.sliced(start)));
    return lines;
}

std::vector<QString> ReadMeasurementFile(const QString& path, int64_t maxBytes)
{
    const QByteArray name = NativePath(path);
    // Looked at before it is opened: opening a device may already act on it.
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        throw fileError(errno, path);
    if (!isRegular(st))
        throw VbError(VbErr::FileAccess);
    // Without blocking, and looked at again once open, in case the name was given to a
    // named pipe meanwhile: its open would wait for a writer.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw fileError(errno, path);
    const Descriptor file(fd);
    if (::fstat(fd, &st) != 0 || !isRegular(st))
        throw VbError(VbErr::FileAccess);
    if (st.st_size > maxBytes)
        throw tooLarge(st.st_size, maxBytes);
    // A file that grows while it is read is read up to the limit and refused beyond it;
    // the spare byte shows whether it still goes on.
    QByteArray bytes(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > maxBytes)
                throw tooLarge(used, maxBytes);
            bytes.resize(qsizetype(std::min<int64_t>(2 * int64_t(used), maxBytes + 1)));
        }
        const ssize_t n = ::read(fd, bytes.data() + used, size_t(bytes.size() - used));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw VbError(VbErr::FileAccess);
        if (n == 0)
            break;
        used += qsizetype(n);
    }
    bytes.truncate(used);
    return MeasurementLines(bytes);
}
