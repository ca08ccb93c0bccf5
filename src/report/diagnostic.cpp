// An error's meaning and position as shown, and the one text form of a diagnostic.
#include "report/diagnostic.h"

#include "report/error_meanings.h"

namespace scenario {

Diagnostic describedError(Diagnostic d) {
    if (d.severity != Severity::Error) return d;
    if (!errorHasPosition(d.code)) d.position.reset();
    if (d.message.empty()) d.message = errorMeaning(d.code);
    return d;
}

Diagnostic makeError(std::int32_t code, std::int32_t position, Location at) {
    return describedError(recordedError(code, position, std::move(at)));
}

std::string diagnosticText(const Diagnostic& d, std::string_view fileShown) {
    std::string text;
    if (!fileShown.empty() && d.location.line > 0)
        text.append(fileShown).append(":").append(std::to_string(d.location.line)).append(": ");
    if (d.severity == Severity::Warning) return text + "warning: " + diagnosticMessage(d);
    return text + "error " + std::to_string(d.code) + ": " + diagnosticMessage(d);
}

std::string diagnosticMessage(const Diagnostic& shown) {
    if (shown.severity == Severity::Warning) return shown.message;
    const Diagnostic d = describedError(shown);
    std::string text = d.message;
    if (!d.detail.empty()) text.append(": ").append(d.detail);
    if (d.position) text += " (at " + std::to_string(*d.position) + " m)";
    return text;
}

std::string relatedMessage(const Diagnostic& d) {
    return d.relatedMessage.empty() ? "the record it comes from" : d.relatedMessage;
}

std::string stampingErrorText(std::string_view number) {
    return " Errore n. " + std::string(number);
}

}  // namespace scenario
