#pragma once
// Authenticode signatures for the disc's program and wait libraries, made by
// osslsigncode, so that later Windows names the publisher instead of
// warning of an unknown one.
#include <string>
#include <vector>

struct SigningKey {
    std::string certificate;  // PEM or DER certificates (the chain)
    std::string privateKey;   // its key; empty with a PKCS#12 file
    std::string pkcs12;       // certificate and key in one file
    std::string timestampUrl; // an RFC 3161 time-stamp server, or empty
    std::string passwordFile; // a file holding the key's password, or empty
};

// Takes "--sign CERT KEY" or "--sign FILE.p12|.pfx" out of the words, with
// "--timestamp URL" and "--sign-password FILE"; false with `problem` set when they are incomplete.
// Words that are not about signing stay, in their order.
bool TakeSigningWords(std::vector<std::string>& words, SigningKey* key, bool* wanted, std::string* problem);

// Signs `in` into `out`, with `name` as the program's description. False,
// with osslsigncode's words in `talk`, when it fails.
bool SignFile(const SigningKey& key, const std::string& name, const std::string& in, const std::string& out,
              std::string* talk);
