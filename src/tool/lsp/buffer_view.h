// The route view's data of the buffers an editor holds, unsaved edits included: what the live page
// hosted by the language server shows.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "tool/editor/workspace.h"

namespace scenario {

// The page before any source file is opened: no route, and a note saying what to do.
nlohmann::json viewBeforeSources();

// The view of `path` (a line or a train file) compiled with its partner, each from its buffer or
// else from the disk; the route empty with a note when the file has no partner.
nlohmann::json viewOfBuffers(const SourceWorkspace& workspace, const std::string& path,
                             const std::optional<std::string>& stockFile);

}  // namespace scenario
