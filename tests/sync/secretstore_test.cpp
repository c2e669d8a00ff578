// The sync password in a real Secret Service: a keyring daemon on a private session bus.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <gtest/gtest.h>

#include "sync/secretstore.h"
#include "tests/sync/privatekeyring.h"

namespace talik::test {
namespace {

class SecretStoreTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { keyring = std::make_unique<PrivateKeyring>(); }
    static void TearDownTestSuite() { keyring.reset(); }
    void SetUp() override
    {
        if (!keyring->running()) {
            GTEST_SKIP() << "no Secret Service to test against: " << keyring->why();
        }
    }
    static std::unique_ptr<PrivateKeyring> keyring;
    SecretServiceStore store;
};

std::unique_ptr<PrivateKeyring> SecretStoreTest::keyring;

TEST_F(SecretStoreTest, StoredPasswordIsFoundAgainByUrlAndUser)
{
    SecretKey key{"https://dav.example.jp/alice/book/", "alice"};
    ASSERT_TRUE(store.store(key, "pässwörd 秘密").reached);
    SecretLookup found = store.lookup(key);
    EXPECT_TRUE(found.reached);
    EXPECT_EQ(found.password, "pässwörd 秘密");
}

TEST_F(SecretStoreTest, AnotherUserOrUrlFindsNothing)
{
    ASSERT_TRUE(store.store({"https://dav.example.jp/", "bob"}, "bobs").reached);
    SecretLookup otherUser = store.lookup({"https://dav.example.jp/", "carol"});
    EXPECT_TRUE(otherUser.reached);
    EXPECT_FALSE(otherUser.password);
    EXPECT_FALSE(store.lookup({"https://dav.example.jp/x/", "bob"}).password);
}

TEST_F(SecretStoreTest, StoringAgainReplacesThePassword)
{
    SecretKey key{"https://dav.example.jp/", "dave"};
    ASSERT_TRUE(store.store(key, "old").reached);
    ASSERT_TRUE(store.store(key, "new").reached);
    EXPECT_EQ(store.lookup(key).password, "new");
}

TEST_F(SecretStoreTest, ClearedPasswordIsGoneAndClearingTwiceIsNoFailure)
{
    SecretKey key{"https://dav.example.jp/", "erin"};
    ASSERT_TRUE(store.store(key, "pw").reached);
    EXPECT_TRUE(store.clear(key).reached);
    EXPECT_FALSE(store.lookup(key).password);
    EXPECT_TRUE(store.clear(key).reached);
}

} // namespace
} // namespace talik::test

namespace talik::test {
namespace {

// Run in a fresh copy of the test program: the session bus a process reached first is the one it keeps.
TEST(SecretStoreDeathTest, AStoreThatCannotBeReachedIsToldAndNotTakenForAnEmptyOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/talik-test-bus", 1);
            SecretLookup found = SecretServiceStore().lookup({"https://dav.example.jp/", "alice"});
            SecretOutcome stored = SecretServiceStore().store({"https://dav.example.jp/", "alice"}, "pw");
            std::fprintf(stderr, "%s\n", found.error.c_str());
            std::exit(!found.reached && !found.password && !stored.reached ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "キーリング");
}

} // namespace
} // namespace talik::test
