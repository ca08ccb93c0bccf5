// The route view's template files (src/tool/view/), embedded into the tool when it is built.
#pragma once

#include <string_view>

namespace scenario {

extern const std::string_view kViewHtml;
extern const std::string_view kViewCss;
extern const std::string_view kViewScript;

}  // namespace scenario
