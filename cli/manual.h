#pragma once
// The verb sections of kmrc's manual page (roff) and of its help page (HTML), written from the verbs'
// descriptions. A page holds each section between two marks, each on a line of its own,
//     .\"begin:NAME  ...  .\"end:NAME          <!-- begin: NAME -->  ...  <!-- end: NAME -->
// and what lies between them is the section's text; the rest of the page is written by hand. A
// manual page's mark is one word, so that a tool that reads the synopsis by words finds none more.

#include <string>
#include <string_view>

namespace kmr::cli {

enum class PageKind { Manual, HelpPage };

// A section of a page: "synopsis" (the manual's only), "verbs", "exit-codes" or "examples". Empty
// for a name that is none of them.
[[nodiscard]] std::string pageSection(PageKind kind, std::string_view name);

struct [[nodiscard]] RewrittenPage {
    std::string text;
    std::string error;  // a mark without its pair, or a section that does not exist
};

// The page with the current text of every section between its marks.
RewrittenPage rewritePage(std::string_view page, PageKind kind);

}  // namespace kmr::cli
