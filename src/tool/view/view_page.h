// The route view as one self-contained HTML page: the template's markup, style and script with
// the route's data embedded as one JSON blob.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace scenario {

// The JSON text with every character that could end or open markup inside a script escaped
// (<, >, &, and the line separators U+2028 and U+2029): no text of the data can end the script.
std::string scriptSafeJson(const nlohmann::json& data);

// `extraScript` runs after the view's own script, in the same element.
std::string viewPage(const nlohmann::json& data, std::string_view extraScript = {});

}  // namespace scenario
