// The CAPI 2.0 messages the gateway puts, built as whole byte vectors. Every
// message starts with the 8-byte header: total length, application id,
// command, subcommand, message number.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace rufpilot {

using CapiNachricht = std::vector<std::uint8_t>;

namespace capi {
inline constexpr std::uint8_t kAlert = 0x01;
inline constexpr std::uint8_t kConnect = 0x02;
inline constexpr std::uint8_t kConnectActive = 0x03;
inline constexpr std::uint8_t kDisconnect = 0x04;
inline constexpr std::uint8_t kListen = 0x05;
inline constexpr std::uint8_t kInfo = 0x08;
inline constexpr std::uint8_t kFacility = 0x80;
inline constexpr std::uint8_t kConnectB3 = 0x82;
inline constexpr std::uint8_t kDataB3 = 0x86;

inline constexpr std::uint8_t kReq = 0x80;
inline constexpr std::uint8_t kConf = 0x81;
inline constexpr std::uint8_t kInd = 0x82;
inline constexpr std::uint8_t kResp = 0x83;

inline constexpr std::size_t kKopfLaenge = 8;

// A zeroed message of `laenge` bytes with its 8-byte header filled in.
CapiNachricht KopfBauen(std::size_t laenge, std::uint16_t applId, std::uint8_t befehl, std::uint8_t unterbefehl,
                       std::uint16_t nummer);
}  // namespace capi

// LISTEN_REQ (26 bytes): message number 1, controller 1, no INFO_IND, every service.
CapiNachricht ListenReq(std::uint16_t applId);

// ALERT_REQ (17 bytes, message number 0) for an incoming call.
CapiNachricht AlertReq(std::uint16_t applId, std::uint32_t plci);

// CONNECT_RESP (27 bytes) with Reject 1: the call is ignored and rings on elsewhere.
CapiNachricht ConnectResp(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci);

// Plain 12-byte responses carrying the indication's message number and PLCI.
CapiNachricht InfoResp(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci);
CapiNachricht DisconnectResp(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci);
CapiNachricht ConnectActiveResp(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci);

// The longest number a CONNECT_REQ carries; longer ones are cut.
inline constexpr std::size_t kRufnummerMax = 32;

// CONNECT_REQ for the call-back: speech on controller 1; the called party
// number carries the number exactly as given, the calling party number the
// MSN, each with its own length.
CapiNachricht ConnectReq(std::uint16_t applId, std::uint16_t nummer, std::string_view rufnummer,
                         std::string_view msn);

// DISCONNECT_REQ (13 bytes) clearing the call `plci`.
CapiNachricht DisconnectReq(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci);

// The response to any indication: same command, subcommand RESP, same message
// number, the address dword (PLCI or NCCI) copied. The few responses with
// parameters of their own get harmless ones (a B3 connection is rejected, a
// data block handle and a facility selector are copied). Empty when the bytes
// are no indication.
CapiNachricht IndikationBeantworten(std::uint16_t applId, std::span<const std::uint8_t> indikation);

}  // namespace rufpilot
