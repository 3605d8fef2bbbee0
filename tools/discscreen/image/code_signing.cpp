#include "image/code_signing.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

bool EndsWithNoCase(std::string text, const std::string& end) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char ch) { return std::tolower(ch); });
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Runs a program with its output kept in `talk`; true when it exits with 0.
bool RunQuietly(const std::vector<std::string>& arguments, std::string* talk) {
    char talkFile[] = "/tmp/discscreen-sign.XXXXXX";
    int output = mkstemp(talkFile);
    if (output < 0) return false;
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = fork();
    if (child == 0) {
        dup2(output, 1);
        dup2(output, 2);
        execvp(argv[0], argv.data());
        std::fprintf(stderr, "cannot run %s: install it with tools/install-deps.sh\n", argv[0]);
        _exit(127);
    }
    close(output);
    int status = 0;
    bool ran = child > 0 && waitpid(child, &status, 0) == child;
    std::ifstream in(talkFile);
    std::ostringstream all;
    all << in.rdbuf();
    *talk = all.str();
    unlink(talkFile);
    return ran && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool TakeSigningWords(std::vector<std::string>& words, SigningKey* key, bool* wanted, std::string* problem) {
    std::vector<std::string> rest;
    *wanted = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--timestamp" || words[i] == "--sign-password") {
            if (i + 1 >= words.size()) return *problem = words[i] + " needs a value", false;
            (words[i] == "--timestamp" ? key->timestampUrl : key->passwordFile) = words[i + 1];
            ++i;
        } else if (words[i] == "--sign") {
            *wanted = true;
            if (i + 1 >= words.size()) return *problem = "--sign needs CERT KEY or a PKCS#12 file", false;
            const std::string& first = words[++i];
            if (EndsWithNoCase(first, ".p12") || EndsWithNoCase(first, ".pfx")) {
                key->pkcs12 = first;
            } else {
                if (i + 1 >= words.size()) return *problem = "--sign CERT needs its KEY", false;
                key->certificate = first;
                key->privateKey = words[++i];
            }
        } else {
            rest.push_back(words[i]);
        }
    }
    if (!*wanted && (!key->timestampUrl.empty() || !key->passwordFile.empty()))
        return *problem = "--timestamp and --sign-password go with --sign", false;
    words = rest;
    return true;
}

bool SignFile(const SigningKey& key, const std::string& name, const std::string& in, const std::string& out,
              std::string* talk) {
    std::vector<std::string> arguments = {"osslsigncode", "sign"};
    if (!key.pkcs12.empty()) {
        arguments.insert(arguments.end(), {"-pkcs12", key.pkcs12});
    } else {
        arguments.insert(arguments.end(), {"-certs", key.certificate, "-key", key.privateKey});
    }
    if (!key.passwordFile.empty()) arguments.insert(arguments.end(), {"-readpass", key.passwordFile});
    arguments.insert(arguments.end(), {"-h", "sha256", "-n", name});
    if (!key.timestampUrl.empty()) arguments.insert(arguments.end(), {"-ts", key.timestampUrl});
    arguments.insert(arguments.end(), {"-in", in, "-out", out});
    std::remove(out.c_str());
    return RunQuietly(arguments, talk);
}
