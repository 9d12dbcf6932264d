#include "rufpilot/sip/sip_adressen.h"

#include <netdb.h>

namespace rufpilot {

std::string UriNummer(const std::string& nummer) {
    std::string uri;
    for (char c : nummer) {
        if ((c >= '0' && c <= '9') || c == '*' || c == '+') {
            uri.push_back(c);
        } else if (c == '#') {
            uri += "%23";
        } else {
            return {};
        }
    }
    return uri;
}

std::string Registrar(const std::string& registrar) {
    return registrar.starts_with("sip:") || registrar.starts_with("sips:") ? registrar : "sip:" + registrar;
}

std::string RegistrarHost(const std::string& registrar) {
    const std::size_t doppelpunkt = registrar.find(':');
    if (registrar.starts_with("sip:") || registrar.starts_with("sips:")) return registrar.substr(doppelpunkt + 1);
    return registrar;
}

std::string NurHost(const std::string& hostPort) {
    if (hostPort.starts_with("[")) return hostPort.substr(1, hostPort.find(']') - 1);
    return hostPort.substr(0, hostPort.find_first_of(":;"));
}

std::string NumerischeAdresse(const sockaddr* a, socklen_t laenge) {
    char text[NI_MAXHOST] = {};
    if (::getnameinfo(a, laenge, text, sizeof text, nullptr, 0, NI_NUMERICHOST) != 0) return {};
    std::string t = text;
    if (t.starts_with("::ffff:")) t.erase(0, 7);  // IPv4 seen through an IPv6 socket
    return t;
}

std::vector<std::string> Adressen(const std::string& host) {
    std::vector<std::string> adressen;
    addrinfo hinweis{};
    hinweis.ai_socktype = SOCK_DGRAM;
    addrinfo* liste = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hinweis, &liste) != 0) return adressen;
    for (addrinfo* a = liste; a; a = a->ai_next) adressen.push_back(NumerischeAdresse(a->ai_addr, a->ai_addrlen));
    ::freeaddrinfo(liste);
    return adressen;
}

}  // namespace rufpilot
