#include "sync/certificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/sha.h>
#include <openssl/x509.h>

#include <memory>

namespace talik {
namespace {

constexpr std::string_view PinPrefix = "sha256//";
constexpr std::size_t Base64Sha256Size = 44;

} // namespace

std::optional<std::string> PublicKeyPin(const std::string& pem)
{
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())), &BIO_free);
    if (!bio) {
        return std::nullopt;
    }
    std::unique_ptr<X509, decltype(&X509_free)> cert(PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr),
                                                     &X509_free);
    if (!cert) {
        return std::nullopt;
    }
    unsigned char* der = nullptr;
    int size = i2d_X509_PUBKEY(X509_get_X509_PUBKEY(cert.get()), &der);
    if (size <= 0) {
        return std::nullopt;
    }
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(der, static_cast<std::size_t>(size), digest);
    OPENSSL_free(der);
    unsigned char encoded[Base64Sha256Size + 1];
    EVP_EncodeBlock(encoded, digest, sizeof digest);
    return std::string(PinPrefix) + reinterpret_cast<const char*>(encoded);
}

bool IsKeyPin(const std::string& text)
{
    if (!text.starts_with(PinPrefix) || text.size() != PinPrefix.size() + Base64Sha256Size || !text.ends_with('=')) {
        return false;
    }
    for (std::size_t i = PinPrefix.size(); i + 1 < text.size(); ++i) {
        char c = text[i];
        bool base64 =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
        if (!base64) {
            return false;
        }
    }
    return true;
}

std::string CertificateMessage(const CertificateProblem& problem)
{
    std::string presented = problem.presented.empty() ? "（読めませんでした）" : problem.presented;
    if (problem.kind == CertificateProblem::Kind::Changed) {
        return "サーバーの証明書が、受け入れたものから変わっています。接続しませんでした。\n受け入れた指紋: " +
               problem.pinned + "\n今の指紋: " + presented;
    }
    return "サーバーの証明書は、このシステムが信頼するものではありません（自己署名など）。\n公開鍵の指紋: " + presented;
}

} // namespace talik
