// The diagnostic record's constructors and its one text form.
#include "report/diagnostic.h"

#include "report/error_meanings.h"

namespace scenario {

Diagnostic makeWarning(std::string_view name, Location at, std::string message) {
    Diagnostic d;
    d.severity = Severity::Warning;
    d.location = std::move(at);
    d.name = name;
    d.message = std::move(message);
    return d;
}

Diagnostic makeError(std::int32_t code, std::int32_t position, Location at) {
    Diagnostic d;
    d.location = std::move(at);
    d.code = code;
    if (errorHasPosition(code)) d.position = position;
    d.message = errorMeaning(code);
    return d;
}

std::string diagnosticText(const Diagnostic& d, std::string_view fileShown) {
    std::string text;
    if (!fileShown.empty() && d.location.line > 0)
        text.append(fileShown).append(":").append(std::to_string(d.location.line)).append(": ");
    if (d.severity == Severity::Warning) return text + "warning: " + d.message;
    text += "error " + std::to_string(d.code) + ": " + d.message;
    if (!d.detail.empty()) text.append(": ").append(d.detail);
    if (d.position) text += " (at " + std::to_string(*d.position) + " m)";
    return text;
}

std::string stampingErrorText(std::string_view number) {
    return " Errore n. " + std::string(number);
}

}  // namespace scenario
