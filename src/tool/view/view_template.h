// The route view's template files (src/tool/view/), embedded into the tool when it is built.
#pragma once

#include <string_view>

namespace scenario {

extern const std::string_view kViewHtml;
extern const std::string_view kViewCss;
extern const std::string_view kViewScript;
// What `serve` adds to the page: the event stream that swaps the data in.
extern const std::string_view kLiveScript;

}  // namespace scenario
