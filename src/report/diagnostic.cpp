// An error's meaning and position as shown, and the one text form of a diagnostic.
#include "report/diagnostic.h"

#include "base/text_encoding.h"
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

namespace {

// "FILE:LINE[:COL]: ", or nothing without a file or a line.
std::string placeText(std::string_view fileShown, const Location& at, TextForm form) {
    if (fileShown.empty() || at.line <= 0) return {};
    std::string place = std::string(fileShown) + ":" + std::to_string(at.line) + ":";
    if (form == TextForm::Tool && at.firstColumn > 0) place += std::to_string(at.firstColumn) + ":";
    return place + " ";
}

}  // namespace

std::string diagnosticText(const Diagnostic& d, std::string_view fileShown, TextForm form,
                           std::string_view relatedShown) {
    const bool tool = form == TextForm::Tool;
    std::string text = placeText(fileShown, d.location, form);
    text +=
        d.severity == Severity::Warning ? "warning: " : "error " + std::to_string(d.code) + ": ";
    text += tool ? printableFromWindows1252(diagnosticMessage(d)) : diagnosticMessage(d);
    if (!tool) return text;
    if (d.severity == Severity::Warning) text += " [" + d.name + "]";
    const bool carried = d.relatedMessage.empty();
    const bool related = !relatedShown.empty() && d.related.hasLine();
    if (carried && related)
        text.append("; raised by ")
            .append(relatedShown)
            .append(":")
            .append(std::to_string(d.related.line))
            .append(" and carried into this file, which stops here");
    if (d.afterFirst) text += " (found after the first error)";
    if (!carried && related)
        text.append("\n")
            .append(placeText(relatedShown, d.related, form))
            .append("note: ")
            .append(printableFromWindows1252(d.relatedMessage));
    return text;
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
