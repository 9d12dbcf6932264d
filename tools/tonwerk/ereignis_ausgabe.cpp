#include "ereignis_ausgabe.h"

#include <iomanip>
#include <nlohmann/json.hpp>

#include "klartext.h"

namespace tonwerk::werkzeug {

using Json = nlohmann::ordered_json;

void EreignisAusgabe::ausgeben(const char* name, Json felder, std::optional<double> zeit) {
    const double t = zeit ? *zeit : zeit_ ? zeit_() : 0.0;
    Json j;
    j["event"] = name;
    j["time"] = std::round(t * 1000.0) / 1000.0;
    if (weiche && !weiche(name, t, j, felder)) return;
    if (vorZeile) vorZeile();
    if (json_) {
        for (const auto& [k, v] : felder.items()) j[k] = v;
        aus_ << j.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    } else {
        aus_ << std::fixed << std::setprecision(3) << std::setw(9) << t << " s  " << name;
        for (const auto& [k, v] : felder.items()) {
            aus_ << "  " << k << '=';
            if (v.is_string())
                aus_ << '"' << v.template get<std::string>() << '"';
            else
                aus_ << v.dump();
        }
        aus_ << '\n';
    }
    aus_.flush();
}

void EreignisAusgabe::Signalstaerke(SignalstaerkeType& w) {
    if (!pegel_) return;
    ausgeben("Signalstaerke", Json{{"links", w.links}, {"rechts", w.rechts}});
}

void EreignisAusgabe::FMSDecodierung(FmsTlgType& w) {
    ausgeben("FMSDecodierung", Json{{"Kanal", w.Kanal},
                                    {"Kennung", w.Kennung},
                                    {"bos", w.bos},
                                    {"land", w.land},
                                    {"ort", w.ort},
                                    {"fz", w.fz},
                                    {"Richtung", w.Richtung},
                                    {"Status", w.Status},
                                    {"tki", w.tki},
                                    {"Baustufe", w.Baustufe},
                                    {"Text", w.Text},
                                    {"Klartext", klartext(w.Text)},
                                    {"folgenr", w.folgenr},
                                    {"iskurztext", w.iskurztext != 0},
                                    {"isfolgetelegramm", w.isfolgetelegramm != 0}});
}

void EreignisAusgabe::ZVEIDecodierung(ZVEIType& w) {
    ausgeben("ZVEIDecodierung", Json{{"Kanal", w.Kanal}, {"ZVEINr", w.ZVEINr}});
}

void EreignisAusgabe::POCDecodierung(POCType& w) { pocMeldung(w, pocBaud); }

void EreignisAusgabe::pocMeldung(POCType& w, int baud, std::optional<double> zeit) {
    ausgeben("POCDecodierung",
             Json{{"Kanal", w.Kanal},
                  {"RIC", w.RIC},
                  {"Funktion", w.Funktion},
                  {"Baud", baud},
                  {"Text", w.Text},
                  {"Klartext", klartext(w.Text)},
                  {"TextBin", w.TextBin},
                  {"KorrigierteWorte", w.KorrigierteWorte},
                  {"FehlerhafteWorte", w.FehlerhafteWorte}},
             zeit);
}

void EreignisAusgabe::PufferUeberlauf(Long& w) { ausgeben("PufferUeberlauf", Json{{"wert", w}}); }

void EreignisAusgabe::WaveRecordEnd(Long& w) { ausgeben("WaveRecordEnd", Json{{"wert", w}}); }

void EreignisAusgabe::TonrufDecodierungA(TonrufType& w) {
    ausgeben("TonrufDecodierungA", Json{{"Kanal", w.Kanal}, {"tonruf", w.tonruf}});
}

void EreignisAusgabe::ZusatztonDecodierung(ZusatztonType& w) {
    ausgeben("ZusatztonDecodierung", Json{{"Kanal", w.Kanal}, {"Zusatzton", w.Zusatzton}});
}

void EreignisAusgabe::TonrufDecodierung(Long& w) { ausgeben("TonrufDecodierung", Json{{"wert", w}}); }

}  // namespace tonwerk::werkzeug
