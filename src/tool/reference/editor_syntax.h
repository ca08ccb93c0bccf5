// Syntax highlighting for editors, generated from the record tables: a TextMate grammar and a Vim
// syntax file for each source file, and the Vim rule that tells the two apart by name.
#pragma once

#include <string>
#include <vector>

namespace scenario {

struct GeneratedFile {
    std::string path;  // relative to the editors/ folder
    std::string text;
};

std::vector<GeneratedFile> editorSyntaxFiles();

}  // namespace scenario
