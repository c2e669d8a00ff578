#pragma once
// A server certificate the system does not trust, told by its public key: the SHA-256 of the key's
// SubjectPublicKeyInfo, base64, written "sha256//…" as libcurl's CURLOPT_PINNEDPUBLICKEY takes it
// (and as `openssl x509 -pubkey | openssl pkey -pubin -outform der | openssl dgst -sha256 -binary |
// base64` prints it). The key, not the whole certificate, is pinned, so a certificate renewed on the
// same key is still accepted.
#include <optional>
#include <string>

namespace talik {

struct CertificateProblem
{
    enum class Kind
    {
        Untrusted, // not signed by an authority the system trusts (or for another name); no key pinned
        Changed,   // a key was pinned and the server showed another
    };
    Kind kind = Kind::Untrusted;
    std::string presented; // the server's key now; empty when it could not be read
    std::string pinned;    // the key accepted before (Changed)
};

// The pin of the public key of a PEM certificate; nullopt when it is not one.
std::optional<std::string> PublicKeyPin(const std::string& pem);
// A pin as PublicKeyPin writes it: "sha256//" and the 44 characters of a SHA-256 in base64.
bool IsKeyPin(const std::string& text);
// What the user is told: what is wrong and the fingerprints involved.
std::string CertificateMessage(const CertificateProblem& problem);

} // namespace talik
