#include "alarm/webhook_ausgang.h"

namespace tonwerk::werkzeug {

WebhookAusgang::WebhookAusgang(std::unique_ptr<Webhook> webhook, double warteSek)
    : w_(std::move(webhook)), warteSek_(warteSek) {}

void WebhookAusgang::melden(const Meldung& m) { w_->senden(m.text); }

void WebhookAusgang::bedienen() { w_->bedienen(); }

bool WebhookAusgang::abschliessen(double warteSek, std::ostream& bericht) {
    w_->abschliessen(warteSek_ >= 0 ? warteSek_ : warteSek);
    const Zustellzahlen z = w_->stand().zahlen;
    zustellBericht(bericht, "Webhook " + w_->anzeige(), z);
    return allesZugestellt(z);
}

}  // namespace tonwerk::werkzeug
