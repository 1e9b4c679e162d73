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
#include <limits>
#include <new>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The error of a failed stat or open.
VbError fileError(int error, const QString& path)
{
    return VbError(FileErrorNumber(error, QFileInfo(path).absoluteDir().exists() ? VbErr::FileNotFound
                                                                                  : VbErr::PathNotFound));
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

VbError tooManyLines(int64_t maxLines)
{
    return VbError(VbErr::OutOfMemory,
                   QStringLiteral("Die Datei hat zu viele Zeilen; eine Tabelle nimmt nur den Inhalt einer Datei von höchstens ")
                       + CStr(Variant(double(maxLines))) + QStringLiteral(" Zeilen auf."));
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

void MeasurementLineCutter::line(QByteArrayView bytes)
{
    if (int64_t(lines_.size()) >= maxLines_)
        throw tooManyLines(maxLines_);
    lines_.push_back(AnsiText(bytes));
}

void MeasurementLineCutter::feed(QByteArrayView bytes)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (afterCr_ && c == '\n' && i == start) {
            afterCr_ = false;
            start = i + 1;   // the rest of a line end cut between two pieces
            continue;
        }
        afterCr_ = false;
        if (c != '\r' && c != '\n')
            continue;
        if (pending_.isEmpty()) {
            line(bytes.sliced(start, i - start));
        } else {
            pending_.append(bytes.sliced(start, i - start));
            line(pending_);
            pending_ = QByteArray();
        }
        if (c == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            else
                afterCr_ = i + 1 == bytes.size();
        }
        start = i + 1;
    }
    if (start < bytes.size())
        pending_.append(bytes.sliced(start));
}

std::vector<QString> MeasurementLineCutter::finish()
{
    if (!pending_.isEmpty()) {
        line(pending_);
        pending_ = QByteArray();
    }
    return std::move(lines_);
}

std::vector<QString> MeasurementLines(QByteArrayView bytes)
{
    MeasurementLineCutter cutter(std::numeric_limits<int64_t>::max());
    cutter.feed(bytes);
    return cutter.finish();
}

std::vector<QString> ReadMeasurementFile(const QString& path, int64_t maxBytes, int64_t maxLines)
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
    try {
        MeasurementLineCutter cutter(maxLines);
        // A file that grows while it is read is read up to the limit and refused beyond it.
        std::vector<char> piece(64 * 1024);
        int64_t used = 0;
        for (;;) {
            const ssize_t n = ::read(fd, piece.data(), piece.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw VbError(VbErr::FileAccess);
            if (n == 0)
                break;
            used += n;
            if (used > maxBytes)
                throw tooLarge(used, maxBytes);
            cutter.feed(QByteArrayView(piece.data(), qsizetype(n)));
        }
        return cutter.finish();
    } catch (const std::bad_alloc&) {
        throw VbError(VbErr::OutOfMemory);
    }
}
