// Quick fixes: the replacement a diagnostic suggests for the text at its columns.
#include "tool/editor/assist.h"

namespace scenario {

std::optional<TextFix> fixFor(const Diagnostic& d) {
    const Location& at = d.location;
    if (d.suggestion.empty() || at.line < 1 || at.firstColumn < 1 || at.lastColumn < at.firstColumn)
        return std::nullopt;
    return TextFix{std::string("did you mean ") + d.suggestion,
                   {at.line - 1, at.firstColumn - 1, at.lastColumn},
                   d.suggestion};
}

}  // namespace scenario
