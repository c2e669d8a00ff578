// A server with a certificate of its own (made by the openssl program): refused with the key's
// fingerprint until that key is accepted, then trusted by that key alone.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "store/recordwriter.h"
#include "sync/carddav.h"
#include "sync/certificate.h"
#include "sync/syncrun.h"
#include "tests/cli/clifixture.h"
#include "tests/support/storefixture.h"
#include "tests/sync/davserver.h"

namespace talik::test {
namespace {

class TlsSyncTest : public StoreTest
{
protected:
    void SetUp() override
    {
        server = std::make_unique<DavServer>(DavServer::Kind::Radicale, true);
        if (!server->running()) {
            GTEST_SKIP() << "no Radicale or no openssl";
        }
        load();
        ASSERT_NE(AddPerson(state, "ﾔﾏﾀﾞ", "山田 太郎"), 0);
    }
    SyncSummary sync(const std::string& pin)
    {
        CardDavClient client({server->user(), server->password(), pin});
        SyncSummary summary = RunSync(state, client, server->book(), {});
        load();
        return summary;
    }

    std::unique_ptr<DavServer> server;
};

TEST_F(TlsSyncTest, ACertificateTheSystemDoesNotTrustIsRefusedWithItsKeysFingerprint)
{
    ASSERT_TRUE(IsKeyPin(server->fingerprint())) << server->fingerprint();
    CardDavClient client({server->user(), server->password(), ""});
    std::string error;
    EXPECT_TRUE(client.discover(server->root(), error).empty());
    ASSERT_TRUE(client.certificateProblem());
    EXPECT_EQ(client.certificateProblem()->kind, CertificateProblem::Kind::Untrusted);
    EXPECT_EQ(client.certificateProblem()->presented, server->fingerprint());
    EXPECT_NE(error.find(server->fingerprint()), std::string::npos) << error;

    SyncSummary refused = sync("");
    EXPECT_NE(refused.error, "");
    ASSERT_TRUE(refused.certificate);
    EXPECT_EQ(refused.certificate->presented, server->fingerprint());
    EXPECT_EQ(refused.serverAdded, 0);
}

TEST_F(TlsSyncTest, AnAcceptedKeyIsTrustedAndAnotherIsRefusedNamingBoth)
{
    const std::string accepted = server->fingerprint();
    CardDavClient client({server->user(), server->password(), accepted});
    std::string error;
    EXPECT_EQ(client.discover(server->root(), error).size(), 1u) << error;
    SyncSummary first = sync(accepted);
    EXPECT_EQ(first.error, "");
    EXPECT_EQ(first.serverAdded, 1);
    EXPECT_FALSE(first.certificate);

    ASSERT_TRUE(server->renewCertificate());
    ASSERT_NE(server->fingerprint(), accepted);
    SyncSummary changed = sync(accepted);
    ASSERT_TRUE(changed.certificate);
    EXPECT_EQ(changed.certificate->kind, CertificateProblem::Kind::Changed);
    EXPECT_EQ(changed.certificate->pinned, accepted);
    EXPECT_EQ(changed.certificate->presented, server->fingerprint());
    EXPECT_NE(changed.error.find(accepted), std::string::npos) << changed.error;
    EXPECT_NE(changed.error.find(server->fingerprint()), std::string::npos) << changed.error;
}

TEST(KeyPin, OnlyASha256InBase64IsAPin)
{
    EXPECT_TRUE(IsKeyPin("sha256//Wi+Hjq/Iljg5ph+9Smh2PwdHBaMKRe0Mk/1Z6FddB1E="));
    EXPECT_FALSE(IsKeyPin("Wi+Hjq/Iljg5ph+9Smh2PwdHBaMKRe0Mk/1Z6FddB1E="));
    EXPECT_FALSE(IsKeyPin("sha256//Wi+Hjq/Iljg5ph+9Smh2PwdHBaMKRe0Mk/1Z6FddB1E"));
    // Two pins in one (libcurl would take either) are not one key.
    EXPECT_FALSE(IsKeyPin("sha256//Wi+Hjq/Iljg5ph+9Smh2PwdHBaMKRe0Mk/1Z6FddB1E=;sha256//AAAA"));
    EXPECT_FALSE(IsKeyPin("sha256//Wi+Hjq/Iljg5ph+9Smh2PwdHBa;KRe0Mk/1Z6FddB1E="));
    EXPECT_FALSE(PublicKeyPin("-----BEGIN CERTIFICATE-----\nnot one\n-----END CERTIFICATE-----\n"));
}

// talikcli: the fingerprint in the refusal, --accept-fingerprint keeping the key, a changed key refused.
class CliTlsTest : public CliFixture
{
protected:
    void SetUp() override
    {
        if (!server.running()) {
            GTEST_SKIP() << "no Radicale or no openssl";
        }
        std::ofstream(capture.str() + "/pw") << server.password() << "\n";
        add({"--KanaName=ﾔﾏﾀﾞ", "--KanjiName=山田 太郎"});
    }
    std::vector<std::string> withUrl(std::vector<std::string> more)
    {
        std::vector<std::string> args = {
            "sync", "--url", server.root(), "--user", server.user(), "--server-password-file", capture.str() + "/pw"};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    std::string settingsText()
    {
        std::string text;
        for (const auto& entry : std::filesystem::directory_iterator(profile.path())) {
            std::ifstream in(entry.path(), std::ios::binary);
            text += std::string(std::istreambuf_iterator<char>(in), {});
        }
        return text;
    }

    DavServer server{DavServer::Kind::Radicale, true};
};

TEST_F(CliTlsTest, AnUntrustedCertificateFailsWithItsFingerprintUntilTheKeyIsAccepted)
{
    ProgramRun refused = cli(withUrl({}));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find(server.fingerprint()), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--accept-fingerprint"), std::string::npos) << refused.err;
    EXPECT_EQ(settingsText().find("SyncPin"), std::string::npos);

    ProgramRun accepted = cli(withUrl({"--accept-fingerprint", server.fingerprint()}));
    EXPECT_EQ(accepted.exitCode, 0) << accepted.err;
    EXPECT_EQ(accepted.out, "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 1・更新 0・削除 0／競合 0\n");
    EXPECT_NE(settingsText().find("SyncPin1=" + server.fingerprint()), std::string::npos) << settingsText();
    // The kept key serves the next runs.
    ProgramRun again = cli({"sync", "--server-password-file", capture.str() + "/pw"});
    EXPECT_EQ(again.exitCode, 0) << again.err;

    const std::string old = server.fingerprint();
    ASSERT_TRUE(server.renewCertificate());
    ProgramRun changed = cli({"sync", "--server-password-file", capture.str() + "/pw"});
    EXPECT_EQ(changed.exitCode, 1);
    EXPECT_NE(changed.err.find(old), std::string::npos) << changed.err;
    EXPECT_NE(changed.err.find(server.fingerprint()), std::string::npos) << changed.err;
    EXPECT_NE(settingsText().find("SyncPin1=" + old), std::string::npos);
}

TEST_F(CliTlsTest, AFingerprintThatIsNotTheServersIsRefusedAndNotKept)
{
    const std::string other = "sha256//Wi+Hjq/Iljg5ph+9Smh2PwdHBaMKRe0Mk/1Z6FddB1E=";
    ProgramRun refused = cli(withUrl({"--accept-fingerprint", other}));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find(server.fingerprint()), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--accept-fingerprint の指紋は、このサーバーの鍵のものではありません。"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(settingsText().find("SyncPin"), std::string::npos);
    ProgramRun malformed = cli(withUrl({"--accept-fingerprint", "Wi+Hjq"}));
    EXPECT_EQ(malformed.exitCode, 2);
}

} // namespace
} // namespace talik::test
