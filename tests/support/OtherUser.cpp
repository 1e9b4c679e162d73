#include "support/OtherUser.h"
#include <QFile>
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

QString OtherUser::Name()
{
    return QString::fromLocal8Bit(Nobody()->pw_name).toUpper();
}

OtherUser::OtherUser()
{
    if (depth++ > 0)
        return;
    const passwd* pw = Nobody();
    Check(pw && ::geteuid() == 0, "acting as another user needs root");
    savedGid = ::getegid();
    savedGroups.resize(size_t(::getgroups(0, nullptr)));
    ::getgroups(int(savedGroups.size()), savedGroups.data());
    const gid_t gid = pw->pw_gid;
    Check(::setgroups(1, &gid) == 0 && ::setegid(gid) == 0 && ::seteuid(pw->pw_uid) == 0,
          "cannot act as the user nobody");
}

OtherUser::~OtherUser()
{
    if (--depth > 0)
        return;
    // Back to root first: only root may set the groups again.
    if (::seteuid(0) != 0 || ::setegid(savedGid) != 0 || ::setgroups(savedGroups.size(), savedGroups.data()) != 0)
        std::abort();
}

void OpenToAll(const QString& folder)
{
    ::chmod(QFile::encodeName(folder).constData(), 0777);
}
