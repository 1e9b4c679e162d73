// The second user the tests act as: a switch that does not complete fails its test and
// leaves the process as it was, so that no later test runs as root believing itself
// another user.
#include "support/OtherUser.h"
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <stdexcept>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::vector<gid_t> Groups()
{
    std::vector<gid_t> groups(size_t(::getgroups(0, nullptr)));
    ::getgroups(int(groups.size()), groups.data());
    return groups;
}

// Takes from the process, for as long as it lives, root's right to change its user id,
// and only that: a switch to another user then fails half-way, after the groups.
class WithoutChangingUser {
public:
    WithoutChangingUser()
    {
        if (::syscall(SYS_capget, &header_, saved_) != 0)
            throw std::runtime_error("cannot read the process's capabilities");
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~(1u << CAP_SETUID);
        if (::syscall(SYS_capset, &header_, reduced) != 0)
            throw std::runtime_error("cannot drop the right to change the user id");
    }
    ~WithoutChangingUser() { ::syscall(SYS_capset, &header_, saved_); }
    WithoutChangingUser(const WithoutChangingUser&) = delete;
    WithoutChangingUser& operator=(const WithoutChangingUser&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};

} // namespace

// The right is a thread's own, while a switch of user ids acts on every thread of the
// process and ends it when they disagree: the test runs in a child of one thread, which
// answers by its exit code (0: all as it should be).
TEST(OtherUser, ASwitchThatFailsHalfWayFailsAndLeavesTheProcessAsItWas)
{
    REQUIRE_OTHER_USER("the switch to it, made to fail half-way");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const gid_t gid = ::getegid();
        const std::vector<gid_t> groups = Groups();
        bool failed = false;
        try {
            const WithoutChangingUser noSetuid;
            try {
                const OtherUser other;
            } catch (const std::runtime_error&) {
                failed = true;
            }
        } catch (...) {
            ::_exit(9);
        }
        if (!failed)
            ::_exit(1);
        if (::geteuid() != 0 || ::getegid() != gid || Groups() != groups)
            ::_exit(2);
        // The next switch is a switch of its own, not a scope taken for one still open.
        uid_t during = 0;
        {
            const OtherUser other;
            during = ::geteuid();
        }
        ::_exit(during == OtherUser::Uid() && ::geteuid() == 0 ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    // 1: the switch did not fail; 2: it left the process changed; 3: the next one failed.
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
