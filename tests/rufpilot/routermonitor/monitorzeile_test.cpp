// The call monitor's lines: what each kind yields, and what is no line at all.
#include "rufpilot/routermonitor/monitorzeile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rufpilot/routermonitor/zeilenpuffer.h"

namespace rufpilot {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Art = Monitorzeile::Art;

struct Vektor {
    const char* zeile;
    Art art;
    std::uint32_t id;
    const char* anrufer;
    const char* msn;
};

TEST(MonitorzeileTest, Vectors) {
    const Vektor vektoren[] = {
        {"08.12.26 10:00:01;RING;0;01711234567;4712;SIP0;", Art::Ruf, 0, "01711234567", "4712"},
        {"08.12.26 10:00:01;RING;3;01711234567;4712;SIP0;\r", Art::Ruf, 3, "01711234567", "4712"},
        {"08.12.26 10:00:01;RING;1;;4712;ISDN;", Art::Ruf, 1, "", "4712"},
        {"08.12.26 10:00:01;RING;1;+4930123;4712;", Art::Ruf, 1, "+4930123", "4712"},
        {"08.12.26 10:00:05;CALL;2;0;4711;0301234;SIP1;", Art::Abgehend, 2, "", ""},
        {"08.12.26 10:00:07;CONNECT;0;4;01711234567;", Art::Verbunden, 0, "", ""},
        {"08.12.26 10:00:09;DISCONNECT;0;12;", Art::Ende, 0, "", ""},
        {"08.12.26 10:00:09;DISCONNECT;123456789;0;", Art::Ende, 123456789, "", ""},
        // Without the closing ';' the last field is the last value.
        {"08.12.26 10:00:01;RING;0;0171;4712;SIP0", Art::Ruf, 0, "0171", "4712"},
        {"08.12.26 10:00:01;RING;4;;4712\r", Art::Ruf, 4, "", "4712"},
        {"08.12.26 10:00:05;CALL;2;0;4711;0301234", Art::Abgehend, 2, "", ""},
        {"08.12.26 10:00:07;CONNECT;0;4", Art::Verbunden, 0, "", ""},
        {"08.12.26 10:00:09;DISCONNECT;5;12", Art::Ende, 5, "", ""},
        // Not lines of the call monitor.
        {"", Art::Unlesbar, 0, "", ""},
        {"HTTP/1.1 400 Bad Request", Art::Unlesbar, 0, "", ""},
        {";RING;0;0171;4712;SIP0;", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:01;RING;0;0171", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:01;RING;0;0171;", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:05;CALL;2;0;4711", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:07;CONNECT;0", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:09;DISCONNECT;0", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:09;DISCONNECT;0;12;extra", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:09;DISCONNECT;0;12;;", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:01;RING;x;0171;4712;SIP0;", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:01;RING;;0171;4712;SIP0;", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:01;RING;1234567890;0171;4712;SIP0;", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:01;RING;0;0171;;SIP0;", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:01;RING;0;01\t71;4712;SIP0;", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:01;RING;0;0171;47 12;SIP0;", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:01;RING;0;01234567890123456789012345678901234567890;4712;SIP0;", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:01;RING;0;", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:09;DISCONNECT;0;;", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:09;DISCONNECT;0;12;extra;", Art::Unlesbar, 0, "", ""},
        {"08.12.26 10:00:09;HANGUP;0;12;", Art::Unlesbar, 0, "", ""},
        {"08.12.26\x01;DISCONNECT;0;12;", Art::Unlesbar, 0, "", ""},
    };
    for (const Vektor& v : vektoren) {
        SCOPED_TRACE(v.zeile);
        const Monitorzeile z = MonitorzeileLesen(v.zeile);
        EXPECT_EQ(z.art, v.art);
        EXPECT_EQ(z.id, v.id);
        EXPECT_EQ(z.anrufer, v.anrufer);
        EXPECT_EQ(z.msn, v.msn);
    }
}

// CR, LF and CR LF each end a line; a CR LF cut between two reads makes no
// line of its own.
TEST(ZeilenpufferTest, LinesSurviveAnySplitAndAnyEnd) {
    const std::string strom = "a;1;\r\nb;2;\n\r\nc;3;\r\nd;4;\re;5;\r\rf;6;\n\ng;7;\r";
    for (std::size_t schnitt = 0; schnitt <= strom.size(); ++schnitt) {
        Zeilenpuffer p;
        auto z1 = p.anhaengen(std::string_view(strom).substr(0, schnitt));
        auto z2 = p.anhaengen(std::string_view(strom).substr(schnitt));
        z1.vollstaendig.insert(z1.vollstaendig.end(), z2.vollstaendig.begin(), z2.vollstaendig.end());
        EXPECT_THAT(z1.vollstaendig, ElementsAre("a;1;", "b;2;", "c;3;", "d;4;", "e;5;", "f;6;", "g;7;"))
            << "Schnitt " << schnitt;
    }
}

TEST(ZeilenpufferTest, AnOverlongLineIsDroppedToItsEndAndCountedOnce) {
    Zeilenpuffer p(8);
    std::vector<std::string> zeilen;
    int zuLang = 0;
    for (const std::string& stueck : {std::string("12345678\r\n123456789"), std::string(10000, 'x'),
                                      std::string("yy\nok\n"), std::string("123456789\n"),
                                      // A megabyte in one read, ended by a bare CR.
                                      std::string(1 << 20, 'z') + "\rletzt\n"}) {
        auto z = p.anhaengen(stueck);
        zeilen.insert(zeilen.end(), z.vollstaendig.begin(), z.vollstaendig.end());
        zuLang += z.zuLang;
    }
    EXPECT_THAT(zeilen, ElementsAre("12345678", "ok", "letzt"));
    EXPECT_EQ(zuLang, 3);
}

TEST(ZeilenpufferTest, ForgettingDropsAStartedLine) {
    Zeilenpuffer p;
    p.anhaengen("halb");
    p.leeren();
    EXPECT_THAT(p.anhaengen("ganz\n").vollstaendig, ElementsAre("ganz"));
}

}  // namespace
}  // namespace rufpilot
