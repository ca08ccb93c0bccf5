// Short meanings and what to do, from the errors' rows of the explanations.
#include "report/error_meanings.h"

#include <algorithm>
#include <string>

#include "compiler/track_model.h"
#include "report/explanations.h"

namespace scenario {
namespace {

// Stations fill the table from below and sign texts from kFirstSignSlot down; together they
// may take this many entries.
constexpr int kStationsAndSigns = 78;

std::string filled(std::string_view text, std::string_view name, int value) {
    std::string out;
    for (std::size_t at = text.find(name); at != std::string_view::npos; at = text.find(name)) {
        out.append(text.substr(0, at)).append(std::to_string(value));
        text.remove_prefix(at + name.size());
    }
    return out.append(text);
}

}  // namespace

std::string_view errorMeaning(int code) {
    const Explanation* e = errorExplanation(code);
    return e ? e->meaning : "unknown error";
}

bool errorHasPosition(int code) {
    const Explanation* e = errorExplanation(code);
    return e && e->hasPosition;
}

void sayWhatToDo(Diagnostic& error, const SourceCounts& counts) {
    const Explanation* e = errorExplanation(error.code);
    if (e == nullptr || e->whatToDo.empty()) return;
    // Error 25 keeps what stopped the reading; only a swap is added to it.
    if (error.code == 25) {
        if (counts.filesLookSwapped) error.detail += " (" + std::string(e->whatToDo) + ")";
        return;
    }
    std::string text =
        filled(e->whatToDo, "{free}", std::max(0, kStationsAndSigns - counts.signRecords));
    text = filled(text, "{signs}", counts.signRecords);
    text = filled(text, "{stations}", counts.stationRecords);
    error.detail = filled(text, "{slots}", kFirstSignSlot);
}

}  // namespace scenario
