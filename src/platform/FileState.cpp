#include "FileState.h"
#include "FileOps.h"
#include "Locale.h"
#include "VbError.h"
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

FileId IdOf(const struct stat& st)
{
    return {uint64_t(st.st_dev), uint64_t(st.st_ino)};
}

FileStamp StampOf(const struct stat& st)
{
    const auto ns = [](const timespec& t) { return int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec; };
    return {uint64_t(st.st_dev), uint64_t(st.st_ino), ns(st.st_ctim), ns(st.st_mtim)};
}

// A look at a file, links followed; false when there is none.
bool Look(const QString& path, struct stat& st)
{
    return !path.contains(QChar(0)) && ::stat(NativePath(path).constData(), &st) == 0;
}

// SHA-256 of what is left to read of fd, in hexadecimal, by the system's crypto library
// (which uses the processor's SHA instructions where it has them); nothing on a read error.
std::optional<QByteArray> Sha256(int fd)
{
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) != 1)
        return std::nullopt;
    std::vector<char> buffer(1 << 20);
    ssize_t n = 0;
    while ((n = ::read(fd, buffer.data(), buffer.size())) > 0 || (n < 0 && errno == EINTR))
        if (n > 0 && EVP_DigestUpdate(ctx.get(), buffer.data(), size_t(n)) != 1)
            return std::nullopt;
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (n != 0 || EVP_DigestFinal_ex(ctx.get(), digest, &length) != 1)
        return std::nullopt;
    return QByteArray(reinterpret_cast<const char*>(digest), int(length)).toHex();
}

} // namespace

std::optional<FileState> StateOfFile(const QString& path)
{
    // A name no file has (one with a NUL) describes none, rather than the file its part
    // names. One open file for every part, so that they describe the same file even while
    // another writer renames a new one into its place. Looked at before it is opened, and
    // opened without waiting, in case a pipe took the name meanwhile.
    struct stat look {};
    if (!Look(path, look) || !S_ISREG(look.st_mode))
        return std::nullopt;
    const int fd = ::open(NativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<FileState> state;
    struct stat before {}, after {};
    if (::fstat(fd, &before) == 0 && S_ISREG(before.st_mode)) {
        if (const std::optional<QByteArray> checksum = Sha256(fd)) {
            state = FileState{int64_t(before.st_size),
                              int64_t(before.st_mtim.tv_sec) * 1000 + before.st_mtim.tv_nsec / 1000000,
                              uint32_t(before.st_uid), *checksum, StampOf(before)};
            // Written while it was read: the checksum is of neither state, and the next
            // check reads the file again.
            if (::fstat(fd, &after) != 0 || !(StampOf(after) == *state->stamp) || after.st_size != before.st_size)
                state->stamp.reset();
        }
    }
    ::close(fd);
    return state;
}

void RefuseNoRegularFile(const QString& path)
{
    struct stat st {};
    if (!Look(path, st) || S_ISREG(st.st_mode))
        return;
    const QString what = S_ISDIR(st.st_mode)    ? ProgramText("a folder", "ein Ordner")
                         : S_ISFIFO(st.st_mode) ? ProgramText("a named pipe", "eine benannte Pipe")
                         : S_ISSOCK(st.st_mode) ? ProgramText("a socket", "ein Socket")
                                                : ProgramText("a device", "ein Gerät");
    throw VbError(VbErr::FileAccess, path + QStringLiteral(": ")
                                         + ProgramText("It is no regular file but ", "Sie ist keine gewöhnliche Datei, sondern ")
                                         + what + QLatin1Char('.'));
}

std::optional<FileState> ChangedSince(const QString& path, const FileState& known)
{
    struct stat st {};
    if (known.stamp && Look(path, st) && st.st_size == known.size && StampOf(st) == *known.stamp)
        return std::nullopt;
    std::optional<FileState> now = StateOfFile(path);
    if (now && now->sameContent(known))
        now.reset();
    return now;
}

FileState MovedTo(FileState state, const QString& path)
{
    struct stat st {};
    std::optional<FileStamp> now;
    if (state.stamp && Look(path, st) && st.st_size == state.size)
        now = StampOf(st);
    const bool same = now && now->device == state.stamp->device && now->inode == state.stamp->inode
                      && now->modifiedNs == state.stamp->modifiedNs;
    state.stamp = same ? now : std::nullopt;
    return state;
}

std::optional<FileId> FileIdOf(const QString& path)
{
    struct stat st {};
    if (!Look(path, st))
        return std::nullopt;
    return IdOf(st);
}

std::optional<FileId> FileOpenedBy(const QString& path, const std::function<void()>& open)
{
    // The file the name shows is held meanwhile, so that no file made after it can take
    // its inode and pass for it. A handle on the entry alone: it neither reads the file
    // nor waits on a pipe.
    struct Held {
        int fd;
        ~Held()
        {
            if (fd >= 0)
                ::close(fd);
        }
    };
    const Held held{path.contains(QChar(0)) ? -1 : ::open(NativePath(path).constData(), O_PATH | O_CLOEXEC)};
    struct stat before {};
    const bool known = held.fd >= 0 && ::fstat(held.fd, &before) == 0;
    open();
    const std::optional<FileId> after = FileIdOf(path);
    if (!known || after != IdOf(before))
        return std::nullopt;
    return after;
}
