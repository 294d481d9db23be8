#pragma once
// The sections of the preview's help page that come from the table of what each Windows does with a
// disc (disc/windows_rules.h): the rules with their pages, and the pages with their addresses. They
// are written between marks as the verb sections are (manual.h).

#include <string>

namespace kmr::cli {

// "preview-rules": a table of every rule that applies somewhere, with its versions, drives, what it
// says ("No documentado: ..." where the documentation is silent) and its pages.
std::string previewRulesSection();
// "preview-sources": the pages, each with its anchor, title and address.
std::string previewSourcesSection();

}  // namespace kmr::cli
