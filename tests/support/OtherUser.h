#pragma once
// Acting as a second user of the suite. The tests run as root in CI; there a scope
// takes on the identity of the user "nobody" (effective user and group and the
// supplementary groups) for everything the process does inside it, and gives it back
// at its end. Elsewhere a test that needs it skips, saying why.
#include <QString>
class QProcess;
#include <cstdint>
#include <optional>

class OtherUser {
public:
    // Why no other user can be acted as (not root, or no user "nobody"); nothing when
    // one can.
    static std::optional<QString> Impossible();
    static uint32_t Uid();
    static uint32_t Gid();   // its group
    // The login name upper-cased, as the program names its user.
    static QString Name();

    // A switch that does not complete fails the running test (an exception) and leaves
    // the process as it was: nothing after it runs as another user by mistake.
    OtherUser();
    ~OtherUser();
    OtherUser(const OtherUser&) = delete;
    OtherUser& operator=(const OtherUser&) = delete;
};

// Skips the running test when no other user can be acted as, naming what needs one.
#define REQUIRE_OTHER_USER(what)                                                              \
    do {                                                                                      \
        if (const auto why = OtherUser::Impossible())                                         \
            GTEST_SKIP() << "needs a second user id (" << (what) << "): " << why->toStdString(); \
    } while (0)

// A scope in which file modes hold: root may write any file, so where the tests run as
// root it acts as the second user; elsewhere it is the test's own user. Inside it a file
// of mode 0444 may not be written.
class Unprivileged {
public:
    // Why it cannot be had (root, without a second user); nothing when it can.
    static std::optional<QString> Impossible();
    Unprivileged();

private:
    std::optional<OtherUser> other_;
};

// Lets the program a process starts run as Unprivileged acts: as the second user (for
// good: real and effective ids) where the tests run as root, as the test's own user
// elsewhere.
void RunUnprivileged(QProcess& process);
// Whether the program at path may be run as Unprivileged acts: every folder above it
// passed, the file itself run.
bool MayRunUnprivileged(const QString& path);

// Skips the running test when no scope can meet file modes.
#define REQUIRE_UNPRIVILEGED()                                                                \
    do {                                                                                      \
        if (const auto why = Unprivileged::Impossible())                                      \
            GTEST_SKIP() << "run as root, needs a second user id to meet file modes: "        \
                         << why->toStdString();                                               \
    } while (0)

// Lets every user read, write and pass through a folder (a test's temporary folder is
// its owner's only), so that a second user can work in the suite laid out there.
void OpenToAll(const QString& folder);
