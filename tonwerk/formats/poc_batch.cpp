#include "tonwerk/formats/poc_batch.h"

namespace tonwerk {

std::vector<PocCodewort> PocBatchFolge(Long ric, PocCodewort adresse, std::span<const PocCodewort> nachricht,
                                       PocCodewort sync, PocCodewort idle) {
    std::vector<PocCodewort> folge;
    int position = 0;  // codewords written in the current batch
    auto schreibe = [&](PocCodewort wort) {
        if (position == kPocWoerterJeBatch) position = 0;
        if (position == 0) folge.push_back(sync);
        folge.push_back(wort);
        ++position;
    };
    for (int i = 0; i < 2 * PocRahmen(ric); ++i) schreibe(idle);
    schreibe(adresse);
    for (PocCodewort wort : nachricht) schreibe(wort);
    // A message ending on codeword 16 is followed by a whole batch of idle codewords.
    if (position == kPocWoerterJeBatch) position = 0;
    if (position == 0) folge.push_back(sync);
    while (position < kPocWoerterJeBatch) {
        folge.push_back(idle);
        ++position;
    }
    return folge;
}

}  // namespace tonwerk
