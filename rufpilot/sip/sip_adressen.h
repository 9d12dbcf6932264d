// Addresses the SIP source builds and checks: the registrar as a URI and
// as a host, a dialled number as a URI user part, and who a request came from.
#pragma once

#include <sys/socket.h>

#include <string>
#include <vector>

namespace rufpilot {

// A number as the user part of a URI: digits, '*', '+'; '#' escaped.
// Empty when anything else is in it.
std::string UriNummer(const std::string& nummer);

// "host[:port]" (or a URI already) as a registrar URI.
std::string Registrar(const std::string& registrar);

// The registrar without scheme, for URIs of the form sip:user@host.
std::string RegistrarHost(const std::string& registrar);

// The host part of "host[:port][;params]" or "[v6]:port".
std::string NurHost(const std::string& hostPort);

// A socket address as numeric text; IPv4 seen through an IPv6 socket as IPv4.
std::string NumerischeAdresse(const sockaddr* a, socklen_t laenge);

// Every address a host name stands for (empty when it does not resolve).
std::vector<std::string> Adressen(const std::string& host);

}  // namespace rufpilot
