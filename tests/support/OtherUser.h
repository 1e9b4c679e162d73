#pragma once
// Acting as a second user of the suite. The tests run as root in CI; there a scope
// takes on the identity of the user "nobody" (effective user and group and the
// supplementary groups) for everything the process does inside it, and gives it back
// at its end. Elsewhere a test that needs it skips, saying why.
#include <QString>
#include <cstdint>
#include <optional>

class OtherUser {
public:
    // Why no other user can be acted as (not root, or no user "nobody"); nothing when
    // one can.
    static std::optional<QString> Impossible();
    static uint32_t Uid();
    // The login name upper-cased, as the program names its user.
    static QString Name();

    OtherUser();
    ~OtherUser();
    OtherUser(const OtherUser&) = delete;
    OtherUser& operator=(const OtherUser&) = delete;
};

// Skips the running test when no other user can be acted as.
#define REQUIRE_OTHER_USER()                                                                  \
    do {                                                                                      \
        if (const auto why = OtherUser::Impossible())                                         \
            GTEST_SKIP() << "needs a second user id: " << why->toStdString();                 \
    } while (0)

// Lets every user read, write and pass through a folder (a test's temporary folder is
// its owner's only), so that a second user can work in the suite laid out there.
void OpenToAll(const QString& folder);
