// The webhook output of the alarm receiver: each message's JSON object, as MQTT
// carries it, to one URL through Webhook.
#pragma once

#include <memory>

#include "alarm/meldungsausgang.h"
#include "alarm/webhook.h"

namespace tonwerk::werkzeug {

class WebhookAusgang : public Meldungsausgang {
public:
    // `warteSek` (when not negative) bounds the wait at the end instead of the
    // one the tool passes to every output.
    explicit WebhookAusgang(std::unique_ptr<Webhook> webhook, double warteSek = -1);

    void melden(const Meldung& m) override;
    void bedienen() override;
    bool abschliessen(double warteSek, std::ostream& bericht) override;

    Webhook& webhook() { return *w_; }

private:
    std::unique_ptr<Webhook> w_;
    double warteSek_;
};

}  // namespace tonwerk::werkzeug
