#include "support/OtherUser.h"
#include <QFile>
#include <QProcess>
#include <cerrno>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const passwd* Nobody()
{
    return getpwnam("nobody");
}

std::vector<gid_t> savedGroups;
gid_t savedGid = 0;
int depth = 0;   // scopes inside one another act as the same user

void Check(bool ok, const char* what)
{
    if (!ok)
        throw std::runtime_error(what);
}

// Back to root with the saved group and groups. A process that cannot get there would
// run every later test as some other mix of ids: it ends.
void BackToRoot()
{
    // Root first: only root may set the groups again.
    if (::seteuid(0) != 0 || ::setegid(savedGid) != 0 || ::setgroups(savedGroups.size(), savedGroups.data()) != 0)
        std::abort();
}

} // namespace

std::optional<QString> OtherUser::Impossible()
{
    if (::geteuid() != 0)
        return QStringLiteral("the tests do not run as root, who alone may act as another user");
    if (!Nobody())
        return QStringLiteral("the system has no user \"nobody\"");
    return std::nullopt;
}

uint32_t OtherUser::Uid()
{
    return Nobody()->pw_uid;
}

uint32_t OtherUser::Gid()
{
    return Nobody()->pw_gid;
}

QString OtherUser::Name()
{
    return QString::fromLocal8Bit(Nobody()->pw_name).toUpper();
}

OtherUser::OtherUser()
{
    if (depth > 0) {
        ++depth;
        return;
    }
    const passwd* pw = Nobody();
    Check(pw && ::geteuid() == 0, "acting as another user needs root");
    const uid_t uid = pw->pw_uid;
    const gid_t gid = pw->pw_gid;
    savedGid = ::getegid();
    savedGroups.resize(size_t(::getgroups(0, nullptr)));
    Check(::getgroups(int(savedGroups.size()), savedGroups.data()) == int(savedGroups.size()),
          "cannot read the groups of the process");
    if (::setgroups(1, &gid) != 0 || ::setegid(gid) != 0 || ::seteuid(uid) != 0) {
        const std::string why = std::strerror(errno);
        BackToRoot();
        throw std::runtime_error("cannot act as the user nobody: " + why);
    }
    depth = 1;
}

OtherUser::~OtherUser()
{
    if (--depth == 0)
        BackToRoot();
}

std::optional<QString> Unprivileged::Impossible()
{
    return ::geteuid() == 0 ? OtherUser::Impossible() : std::nullopt;
}

Unprivileged::Unprivileged()
{
    if (::geteuid() == 0)
        other_.emplace();
}

void RunUnprivileged(QProcess& process)
{
    if (::geteuid() != 0)
        return;
    // Looked up before the fork: the child may make only async-signal-safe calls.
    const uid_t uid = OtherUser::Uid();
    const gid_t gid = OtherUser::Gid();
    process.setChildProcessModifier([uid, gid] {
        if (::setgroups(1, &gid) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(127);
    });
}

bool MayRunUnprivileged(const QString& path)
{
    const Unprivileged user;
    return ::eaccess(QFile::encodeName(path).constData(), X_OK) == 0;
}

void OpenToAll(const QString& folder)
{
    ::chmod(QFile::encodeName(folder).constData(), 0777);
}
