// What the SIP source reads itself: the caller and the MSN out of an INVITE's
// user parts (as the call monitor then shows them), a CANCEL's Reason, the
// call-back's final response, and the padded call-back number.
#include <gtest/gtest.h>

#include "rufpilot/capi/capi_lesen.h"
#include "rufpilot/capi/capi_nachrichten.h"
#include "rufpilot/capi/capi_rufnummern.h"
#include "rufpilot/sip/sip_adressen.h"
#include "rufpilot/sip/sip_anrufer.h"
#include "rufpilot/sip/sip_ausloesegrund.h"
#include "rufpilot/sip/sip_waehlauftrag.h"

namespace rufpilot {
namespace {

// Caller and MSN as the monitor reads them from the number area built for
// an INVITE.
std::pair<std::string, std::string> Gelesen(const SipAnruferangaben& a, const std::string& msn) {
    const std::string bereich = SipNummernbereich(msn, SipAnruferStruct(a));
    return {AnruferAusNummernbereich(bereich), MsnAusNummernbereich(bereich)};
}

TEST(SipAnrufer, TheCallerComesFromTheAssertedIdentityElseFromFrom) {
    EXPECT_EQ(Gelesen({"01711234567", "fritz.box", false, "", ""}, "4711"),
              std::make_pair(std::string("01711234567"), std::string("4711")));
    EXPECT_EQ(Gelesen({"620", "fritz.box", true, "0301234", ""}, "4711").first, "0301234");
    // A national number without its trunk prefix gets the "0", as from ISDN.
    EXPECT_EQ(Gelesen({"1711234567", "h", false, "", ""}, "1").first, "01711234567");
    EXPECT_EQ(Gelesen({"+491711234567", "h", false, "", ""}, "1").first, "01711234567");
    EXPECT_EQ(Gelesen({"+43%20660-123.45", "h", false, "", ""}, "1").first, "004366012345");
    EXPECT_EQ(Gelesen({"0221555;phone-context=+49", "h", false, "", ""}, "1").first, "0221555");
    EXPECT_EQ(Gelesen({"**610", "h", false, "", ""}, "1").first, "**610");
}

TEST(SipAnrufer, SuppressedAndMissingNumbersGiveTheTextsOfIsdn) {
    EXPECT_EQ(Gelesen({"anonymous", "anonymous.invalid", false, "", ""}, "4711").first, "Unbekannt");
    EXPECT_EQ(Gelesen({"Anonymous", "fritz.box", false, "", ""}, "4711").first, "Unbekannt");
    // The router knows the number but the caller asked to hide it.
    EXPECT_EQ(Gelesen({"0301234", "h", true, "0301234", "id"}, "4711").first, "Unbekannt");
    EXPECT_EQ(Gelesen({"0301234", "h", false, "", "none"}, "4711").first, "0301234");
    EXPECT_EQ(Gelesen({"", "fritz.box", false, "", ""}, "4711").first, "nicht erkannt");
    EXPECT_EQ(Gelesen({"0301234", "h", false, "", ""}, "").second, "");
}

TEST(SipAnrufer, OverlongUserPartsAreCutNotCarriedPastTheArea) {
    const std::string lang(400, '7');
    const auto [anrufer, msn] = Gelesen({lang, "h", false, "", ""}, lang);
    EXPECT_EQ(anrufer, "0" + std::string(32, '7'));
    EXPECT_EQ(msn, std::string(32, '7'));
    EXPECT_LE(SipNummernbereich(lang, SipAnruferStruct({lang, "h", false, "", ""})).size(), kNummernbereichMax);
}

TEST(SipAusloesegrund, TheReasonGivesTheTextOfTheMatchingIsdnCause) {
    EXPECT_EQ(GrundAusReason(""), kGrundAufgelegt);
    EXPECT_EQ(GrundAusReason("SIP;cause=200;text=\"Call completed elsewhere\""), kGrundAndersAngenommen);
    EXPECT_EQ(GrundAusReason("sip ; text=\"Call Completed Elsewhere\""), kGrundAndersAngenommen);
    EXPECT_EQ(GrundAusReason("Q.850;cause=16;text=\"Normal, call clearing\""), 0x3490);
    // Q.850 is the more precise of two.
    EXPECT_EQ(GrundAusReason("SIP;cause=200, Q.850;cause=26"), 0x349A);
    EXPECT_EQ(GrundAusReason("SIP;cause=487;text=\"a, b\""), kGrundAufgelegt);
    EXPECT_EQ(GrundAusReason("Q.850;cause=999"), kGrundAufgelegt);
    EXPECT_EQ(GrundAusReason("Q.850;cause="), kGrundAufgelegt);
    EXPECT_EQ(GrundAusReason(";;,,=\"\\"), kGrundAufgelegt);
}

TEST(SipAusloesegrund, ACallBackThatIsNotAnsweredEndsWithTheCalleesReason) {
    EXPECT_EQ(GrundAusStatus(486), 0x3491);
    EXPECT_EQ(GrundAusStatus(404), 0x3481);
    EXPECT_EQ(GrundAusStatus(480), 0x3492);
    EXPECT_EQ(GrundAusStatus(603), 0x3495);
    EXPECT_EQ(GrundAusStatus(503), 0x34A9);
    EXPECT_EQ(GrundAusStatus(487), kGrundSelbstBeendet);
}

TEST(SipWaehlauftrag, ThePaddedNumberIsResolvedToTheCallerItStandsFor) {
    const Waehlauftrag a = WaehlauftragLesen(ConnectReq(1, 7, "01711234567", "4711"));
    EXPECT_EQ(a.nummer, "017112345670");
    EXPECT_EQ(a.msn, "4711");

    Nummernliste liste = Anruferliste();
    EXPECT_EQ(liste.aufloesen(a.nummer), "017112345670");  // never seen: as it stands
    liste.merken("01711234567");
    liste.merken("0301234");
    EXPECT_EQ(liste.aufloesen(a.nummer), "01711234567");
    EXPECT_EQ(liste.aufloesen(WaehlauftragLesen(ConnectReq(1, 7, "0301234", "1")).nummer), "0301234");
    // Cut to 12 digits.
    liste.merken("00436601234567");
    EXPECT_EQ(liste.aufloesen("004366012345"), "00436601234567");
    // Seen without the trunk prefix the monitor puts before it.
    liste.merken("221555");
    EXPECT_EQ(liste.aufloesen("022155500000"), "0221555");

    // An MSN longer than its 8 places, as the router dialled it.
    Nummernliste msns = MsnListe();
    msns.merken("0301234567");
    msns.merken("4711");
    EXPECT_EQ(msns.aufloesen(WaehlauftragLesen(ConnectReq(1, 7, "1", "0301234567")).msn), "0301234567");
    EXPECT_EQ(msns.aufloesen("4711"), "4711");
    EXPECT_EQ(msns.aufloesen("4712"), "4712");
}

TEST(SipWaehlauftrag, ACutRequestGivesShorterTexts) {
    const CapiNachricht voll = ConnectReq(1, 7, "01711234567", "4711");
    for (std::size_t n = 0; n <= voll.size(); ++n) {
        const Waehlauftrag a = WaehlauftragLesen(std::span(voll).first(n));
        EXPECT_LE(a.nummer.size(), 12u);
        EXPECT_LE(a.msn.size(), 8u);
    }
    CapiNachricht falsch = voll;
    falsch[14] = 255;  // a called number struct running past the end
    EXPECT_EQ(WaehlauftragLesen(falsch).msn, "");
}

TEST(SipAdressen, OnlyDialableNumbersBecomeUriUserParts) {
    EXPECT_EQ(UriNummer("+49301234"), "+49301234");
    EXPECT_EQ(UriNummer("**610#"), "**610%23");
    // Nothing from the number table may reach a header unchecked.
    EXPECT_EQ(UriNummer("0301234>\r\nX-Boese: 1"), "");
    EXPECT_EQ(UriNummer("030 1234"), "");
    EXPECT_EQ(UriNummer(""), "");
}

TEST(SipAdressen, TheRegistrarMayBeGivenAsHostHostAndPortOrUri) {
    EXPECT_EQ(Registrar("fritz.box"), "sip:fritz.box");
    EXPECT_EQ(Registrar("sip:192.168.178.1:5060"), "sip:192.168.178.1:5060");
    EXPECT_EQ(RegistrarHost("sip:192.168.178.1:5060"), "192.168.178.1:5060");
    EXPECT_EQ(RegistrarHost("fritz.box"), "fritz.box");
    EXPECT_EQ(NurHost("192.168.178.1:5060"), "192.168.178.1");
    EXPECT_EQ(NurHost("[fd00::1]:5060"), "fd00::1");
    EXPECT_EQ(NurHost("fritz.box;transport=tcp"), "fritz.box");
    EXPECT_EQ(Adressen("127.0.0.1"), std::vector<std::string>{"127.0.0.1"});
}

}  // namespace
}  // namespace rufpilot
