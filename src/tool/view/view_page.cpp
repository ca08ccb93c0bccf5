// Fills the view's template: its three slots take the style, the script and the data, each once,
// so that nothing inserted is searched again for a slot.
#include "tool/view/view_page.h"

#include <string_view>

#include "tool/view/view_template.h"

namespace scenario {
namespace {

constexpr std::string_view kStyleSlot = "/*@style*/";
constexpr std::string_view kScriptSlot = "/*@script*/";
constexpr std::string_view kDataSlot = "/*@data*/";

}  // namespace

std::string scriptSafeJson(const nlohmann::json& data) {
    const std::string text = data.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::string safe;
    safe.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '<')
            safe += "\\u003c";
        else if (c == '>')
            safe += "\\u003e";
        else if (c == '&')
            safe += "\\u0026";
        else if (c == '\xE2' && i + 2 < text.size() && text[i + 1] == '\x80' &&
                 (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
            safe += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            safe += c;
        }
    }
    return safe;
}

std::string viewPage(const nlohmann::json& data, std::string_view extraScript) {
    const std::string_view page = kViewHtml;
    const std::size_t style = page.find(kStyleSlot);
    const std::size_t script = page.find(kScriptSlot);
    const std::size_t blob = page.find(kDataSlot);
    std::string out;
    out.append(page.substr(0, style));
    out.append(kViewCss);
    out.append(page.substr(style + kStyleSlot.size(), blob - style - kStyleSlot.size()));
    out.append(scriptSafeJson(data));
    out.append(page.substr(blob + kDataSlot.size(), script - blob - kDataSlot.size()));
    out.append(kViewScript);
    out.append(extraScript);
    out.append(page.substr(script + kScriptSlot.size()));
    return out;
}

}  // namespace scenario
