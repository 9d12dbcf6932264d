// What the SIP source reads itself: the caller and the MSN out of an INVITE's
// user parts (as the message list then shows them), a CANCEL's Reason and
// the call-back's final response.
#include <gtest/gtest.h>

#include "rufpilot/sip/sip_adressen.h"
#include "rufpilot/sip/sip_anrufer.h"
#include "rufpilot/sip/sip_ausloesegrund.h"

namespace rufpilot {
namespace {

// Caller and MSN as the message list shows them for an INVITE.
std::pair<std::string, std::string> Gelesen(const SipAnruferangaben& a, const std::string& msn) {
    return {SipAnrufer(a), SipMsn(msn)};
}

TEST(SipAnrufer, TheCallerComesFromTheAssertedIdentityElseFromFrom) {
    EXPECT_EQ(Gelesen({"01711234567", "fritz.box", false, "", ""}, "4711"),
              std::make_pair(std::string("01711234567"), std::string("4711")));
    EXPECT_EQ(Gelesen({"620", "fritz.box", true, "0301234", ""}, "4711").first, "0301234");
}

// The one form of every source: "+49" and "0049" the national "0", other
// countries "00", separators dropped; nothing put in front of the rest, so
// internal callers keep their number.
TEST(SipAnrufer, NumbersComeInTheOneFormOfEverySource) {
    const std::pair<const char*, const char*> faelle[] = {
        {"+491711234567", "01711234567"},
        {"00491711234567", "01711234567"},
        {"+43%20660-123.45", "004366012345"},
        {"0221555;phone-context=+49", "0221555"},
        {"(0221)%2F555", "0221555"},
        {"4799", "4799"},
        {"12", "12"},
        {"1711234567", "1711234567"},
        {"**610", "**610"},
    };
    for (const auto& [user, text] : faelle) {
        EXPECT_EQ(Gelesen({user, "h", false, "", ""}, "1").first, text) << user;
        EXPECT_EQ(Gelesen({"0301", "h", false, "", ""}, user).second, text) << user;
    }
}

TEST(SipAnrufer, SuppressedAndMissingNumbersGiveTheTextsOfEverySource) {
    EXPECT_EQ(Gelesen({"anonymous", "anonymous.invalid", false, "", ""}, "4711").first, "Unbekannt");
    EXPECT_EQ(Gelesen({"Anonymous", "fritz.box", false, "", ""}, "4711").first, "Unbekannt");
    // The router knows the number but the caller asked to hide it.
    EXPECT_EQ(Gelesen({"0301234", "h", true, "0301234", "id"}, "4711").first, "Unbekannt");
    EXPECT_EQ(Gelesen({"0301234", "h", false, "", "none"}, "4711").first, "0301234");
    EXPECT_EQ(Gelesen({"", "fritz.box", false, "", ""}, "4711").first, "nicht erkannt");
    EXPECT_EQ(Gelesen({"0301234", "h", false, "", ""}, "").second, "");
}

TEST(SipAnrufer, OverlongUserPartsAreCutAndControlsCannotSplitALine) {
    const std::string lang(400, '7');
    const auto [anrufer, msn] = Gelesen({lang, "h", false, "", ""}, lang);
    EXPECT_EQ(anrufer, std::string(32, '7'));
    EXPECT_EQ(msn, std::string(32, '7'));
    EXPECT_EQ(Gelesen({"0301%092", "h", false, "", ""}, "47%0A11").first, "0301?2");
    EXPECT_EQ(Gelesen({"0301", "h", false, "", ""}, "47%0A11").second, "47?11");
}

// The reason in words of its own (no S0 bus over SIP), unnamed causes with
// their code beside the words.
TEST(SipAusloesegrund, TheReasonGivesTheTextOfTheSipWorld) {
    const std::pair<const char*, const char*> faelle[] = {
        {"", "Anrufer hat aufgelegt"},
        {"SIP;cause=200;text=\"Call completed elsewhere\"", "Angenommen an anderem Telefon"},
        {"sip ; text=\"Call Completed Elsewhere\"", "Angenommen an anderem Telefon"},
        {"SIP;cause=302", "Anruf umgeleitet"},
        {"Q.850;cause=16;text=\"Normal, call clearing\"", "Anrufer hat aufgelegt"},
        // Q.850 is the more precise of two.
        {"SIP;cause=200, Q.850;cause=26", "Angenommen an anderem Telefon"},
        {"Q.850;cause=102", "Abbruch durch Router"},
        {"Q.850;cause=17", "Q.850 17 (Teilnehmer besetzt)"},
        {"SIP;cause=487;text=\"a, b\"", "Anrufer hat aufgelegt"},
        {"Q.850;cause=999", "Anrufer hat aufgelegt"},
        {"Q.850;cause=", "Anrufer hat aufgelegt"},
        {";;,,=\"\\", "Anrufer hat aufgelegt"},
    };
    for (const auto& [reason, text] : faelle) {
        const Ausloesung a = GrundAusReason(reason);
        EXPECT_EQ(a.netz, Netz::Sip) << reason;
        EXPECT_EQ(AusloesungText(a), text) << reason;
    }
}

TEST(SipAusloesegrund, ACallBackThatIsNotAnsweredEndsWithTheCalleesReason) {
    const std::pair<int, const char*> faelle[] = {
        {486, "SIP 486 (Teilnehmer besetzt)"},    {404, "SIP 404 (Rufnummer nicht vergeben)"},
        {480, "SIP 480 (Teilnehmer antwortet nicht)"}, {603, "SIP 603 (Ruf abgewiesen)"},
        {503, "SIP 503 (vorübergehende Störung)"},  {487, "Rückruf beendet"},
    };
    for (const auto& [status, text] : faelle) EXPECT_EQ(AusloesungText(GrundAusStatus(status)), text) << status;
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
