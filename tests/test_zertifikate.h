// Certificates for TLS tests, made with openssl in a test's directory: a CA
// (ca.crt/ca.key), a server certificate for 127.0.0.1 signed by it
// (server.crt/server.key) and an unrelated self-signed one (fremd.crt).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace tonwerk::testhilfe {

inline bool zertifikateMachen(const std::filesystem::path& v) {
    std::ofstream(v / "san.ext") << "subjectAltName=IP:127.0.0.1\n";
    const std::string d = "'" + v.string() + "/";
    const std::string ec = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout ";
    const std::string befehl = "(openssl req -x509" + ec + d + "ca.key' -out " + d +
                               "ca.crt' -days 2 -subj /CN=Tonwerk-Test-CA && openssl req -x509" + ec + d +
                               "fremd.key' -out " + d + "fremd.crt' -days 2 -subj /CN=Fremd && openssl req" + ec + d +
                               "server.key' -out " + d + "server.csr' -subj /CN=127.0.0.1 && openssl x509 -req -in " +
                               d + "server.csr' -CA " + d + "ca.crt' -CAkey " + d + "ca.key' -CAcreateserial -out " +
                               d + "server.crt' -days 2 -extfile " + d + "san.ext') >/dev/null 2>&1";
    return std::system(befehl.c_str()) == 0;
}

}  // namespace tonwerk::testhilfe
