#include "rufpilot/capi/capi_nachrichten.h"

#include <gtest/gtest.h>

#include "rufpilot/capi/capi_lesen.h"

namespace rufpilot {
namespace {

using B = CapiNachricht;

TEST(CapiNachrichten, RequestsAndResponsesHaveTheirExactBytes) {
    EXPECT_EQ(ListenReq(0x0203), (B{26, 0, 3, 2, 0x05, 0x80, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0,
                                    0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(AlertReq(1, 0x00018101),
              (B{17, 0, 1, 0, 0x01, 0x80, 0, 0, 0x01, 0x81, 0x01, 0x00, 0, 0, 0, 0, 0}));
    B connectResp(27, 0);
    connectResp = {27, 0, 1, 0, 0x02, 0x83, 0x34, 0x12, 0x01, 0x81, 0, 0, 1, 0};
    connectResp.resize(27, 0);
    EXPECT_EQ(ConnectResp(1, 0x1234, 0x8101), connectResp);
    EXPECT_EQ(InfoResp(1, 7, 0x8101), (B{12, 0, 1, 0, 0x08, 0x83, 7, 0, 0x01, 0x81, 0, 0}));
    EXPECT_EQ(DisconnectResp(1, 7, 0x8101), (B{12, 0, 1, 0, 0x04, 0x83, 7, 0, 0x01, 0x81, 0, 0}));
    EXPECT_EQ(ConnectActiveResp(1, 7, 0x8101), (B{12, 0, 1, 0, 0x03, 0x83, 7, 0, 0x01, 0x81, 0, 0}));
    EXPECT_EQ(DisconnectReq(1, 0x0105, 0x8201), (B{13, 0, 1, 0, 0x04, 0x80, 5, 1, 0x01, 0x82, 0, 0, 0}));
}

// The call-back dials exactly the caller's number: each number struct
// carries its digits with their own length, whatever that length is.
TEST(CapiNachrichten, ConnectRequestCarriesNumberAndMsnExactly) {
    const B elf = ConnectReq(1, 42, "01711234567", "222");
    const B erwartet{40, 0, 1, 0, 0x02, 0x80, 0x2A, 0x00,  // header, total length 40
                     1, 0, 0, 0, 1, 0,                       // controller 1, CIP speech
                     12, 0x80, '0', '1', '7', '1', '1', '2', '3', '4', '5', '6', '7',  // called party number
                     5, 0x00, 0x80, '2', '2', '2',           // calling party number: the MSN
                     0, 0, 1, 0, 0, 0, 0};                   // subaddresses, B protocol, BC, LLC, HLC
    EXPECT_EQ(elf, erwartet);
    struct Fall {
        std::string nummer, msn;
        std::size_t gesendet;  // digits of the number that go out
    };
    for (const Fall& f : {Fall{"01711234567890", "123456789", 14}, Fall{"", "", 0}, Fall{"0301234", "4711", 7},
                          Fall{std::string(40, '7'), "1", kRufnummerMax}}) {
        const B n = ConnectReq(1, 42, f.nummer, f.msn);
        ASSERT_GE(n.size(), 16u);
        EXPECT_EQ(n[0] | (n[1] << 8), static_cast<int>(n.size())) << f.nummer;
        EXPECT_EQ(n[14], f.gesendet + 1) << f.nummer;
        EXPECT_EQ(std::string(n.begin() + 16, n.begin() + 16 + static_cast<long>(f.gesendet)), f.nummer.substr(0, f.gesendet));
        const std::size_t anrufer = 15 + n[14];
        EXPECT_EQ(n[anrufer], f.msn.size() + 2);
        EXPECT_EQ(std::string(n.begin() + static_cast<long>(anrufer) + 3, n.begin() + static_cast<long>(anrufer + 3 + f.msn.size())),
                  f.msn);
        EXPECT_EQ(n.size(), anrufer + 3 + f.msn.size() + 7);
    }
}

TEST(CapiNachrichten, AnyIndicationIsAnsweredWithItsNumberAndAddress) {
    const B connectActive{15, 0, 1, 0, 0x03, 0x82, 9, 1, 0x01, 0x81, 0, 0, 0, 0, 0};
    EXPECT_EQ(IndikationBeantworten(1, connectActive), ConnectActiveResp(1, 0x0109, 0x8101));
    const B disconnectB3{17, 0, 1, 0, 0x84, 0x82, 3, 0, 0x01, 0x81, 1, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(IndikationBeantworten(1, disconnectB3), (B{12, 0, 1, 0, 0x84, 0x83, 3, 0, 0x01, 0x81, 1, 0}));
    // A B3 connection is refused; a data block's handle and a facility selector go back.
    const B connectB3{13, 0, 1, 0, 0x82, 0x82, 4, 0, 0x01, 0x81, 1, 0, 0};
    EXPECT_EQ(IndikationBeantworten(1, connectB3), (B{15, 0, 1, 0, 0x82, 0x83, 4, 0, 0x01, 0x81, 1, 0, 2, 0, 0}));
    const B dataB3{22, 0, 1, 0, 0x86, 0x82, 5, 0, 0x01, 0x81, 1, 0, 0, 0, 0, 0, 3, 0, 0x77, 0x66, 0, 0};
    EXPECT_EQ(IndikationBeantworten(1, dataB3), (B{14, 0, 1, 0, 0x86, 0x83, 5, 0, 0x01, 0x81, 1, 0, 0x77, 0x66}));
    const B facility{15, 0, 1, 0, 0x80, 0x82, 6, 0, 0x01, 0x81, 0, 0, 3, 0, 0};
    EXPECT_EQ(IndikationBeantworten(1, facility), (B{15, 0, 1, 0, 0x80, 0x83, 6, 0, 0x01, 0x81, 0, 0, 3, 0, 0}));
    // Confirmations and scraps get no answer.
    EXPECT_TRUE(IndikationBeantworten(1, B{14, 0, 1, 0, 0x05, 0x81, 1, 0, 1, 0, 0, 0, 0, 0}).empty());
    EXPECT_TRUE(IndikationBeantworten(1, B{12, 0, 1, 0, 0x03, 0x82, 1}).empty());
    // An address cut short reads its missing bytes as 0.
    EXPECT_EQ(IndikationBeantworten(1, B{10, 0, 1, 0, 0x03, 0x82, 1, 0, 0x01, 0x81, 0xFF, 0xFF}),
              ConnectActiveResp(1, 1, 0x8101));
}

TEST(CapiLesen, HeaderAndParametersStayInsideTheStatedLengthAndTheBytesDelivered) {
    EXPECT_FALSE(KopfLesen(B{8, 0, 1, 0, 0x02, 0x82, 1}).has_value());
    const auto kopf = KopfLesen(B{0xFF, 0xFF, 0x34, 0x12, 0x04, 0x82, 0x78, 0x56});
    ASSERT_TRUE(kopf.has_value());
    EXPECT_EQ(kopf->laenge, -1);
    EXPECT_EQ(kopf->applId, 0x1234);
    EXPECT_EQ(kopf->befehl, 0x04);
    EXPECT_EQ(kopf->unterbefehl, 0x82);
    EXPECT_EQ(kopf->nummer, 0x5678);
    EXPECT_TRUE(ParameterLesen(B{0xFF, 0xFF, 1, 0, 4, 0x82, 1, 0, 1, 2, 3}).empty());
    EXPECT_TRUE(ParameterLesen(B{7, 0, 1, 0, 4, 0x82, 1, 0, 1, 2, 3}).empty());
    EXPECT_EQ(ParameterLesen(B{10, 0, 1, 0, 4, 0x82, 1, 0, 1, 2, 3}).size(), 2u);
    EXPECT_EQ(ParameterLesen(B{200, 0, 1, 0, 4, 0x82, 1, 0, 1, 2, 3}).size(), 3u);
}

TEST(CapiLesen, IncomingCallKeepsAtMostAHundredBytesOfItsNumberArea) {
    B n{0, 0, 1, 0, 0x02, 0x82, 3, 0, 0x01, 0x01, 0, 0, 16, 0};
    for (int i = 0; i < 120; ++i) n.push_back(static_cast<std::uint8_t>(0xFF - i));
    n[0] = static_cast<std::uint8_t>(n.size());
    const Eingangsruf ruf = ConnectIndLesen(n);
    EXPECT_EQ(ruf.plci, 0x101u);
    EXPECT_EQ(ruf.cip, 16);
    ASSERT_EQ(ruf.nummernbereich.size(), 100u);
    EXPECT_EQ(static_cast<unsigned char>(ruf.nummernbereich[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(ruf.nummernbereich[99]), 0xFF - 99);
    // Cut inside the CIP: what is there is read, the rest is 0 and the area empty.
    const Eingangsruf kurz = ConnectIndLesen(B{13, 0, 1, 0, 0x02, 0x82, 3, 0, 0x01, 0x01, 0, 0, 0x10, 0x55});
    EXPECT_EQ(kurz.plci, 0x101u);
    EXPECT_EQ(kurz.cip, 0x10);
    EXPECT_TRUE(kurz.nummernbereich.empty());
}

TEST(CapiLesen, DisconnectReasonIsSignedAndConfirmationsCarryTheirInfo) {
    const Abbauanzeige a = DisconnectIndLesen(B{14, 0, 1, 0, 0x04, 0x82, 3, 0, 0x01, 0x81, 0, 0, 0xFF, 0xFF});
    EXPECT_EQ(a.plci, 0x8101u);
    EXPECT_EQ(a.grund, -1);
    EXPECT_EQ(DisconnectIndLesen(B{12, 0, 1, 0, 0x04, 0x82, 3, 0, 0x01, 0x81, 0, 0, 0x90, 0x34}).grund, 0);
    const Bestaetigung b = BestaetigungLesen(B{14, 0, 1, 0, 0x02, 0x81, 3, 0, 0x01, 0x82, 0, 0, 0x03, 0x20});
    EXPECT_EQ(b.adresse, 0x8201u);
    EXPECT_EQ(b.info, 0x2003);
}

}  // namespace
}  // namespace rufpilot
