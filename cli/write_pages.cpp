// write_pages MANUAL_PAGE HELP_PAGE...: writes the sections of kmrc's manual page and of the help pages
// that come from the program's tables (the verbs' descriptions, the rules of the disc preview), and
// leaves the rest of each page as it is.
#include <iostream>
#include <string>

#include "manual.h"
#include "platform/file_read.h"
#include "platform/file_write.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: write_pages MANUAL_PAGE HELP_PAGE...\n";
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string path = argv[i];
        const auto kind = i == 1 ? kmr::cli::PageKind::Manual : kmr::cli::PageKind::HelpPage;
        const kmr::io::ReadResult page = kmr::io::readFile(path);
        if (!page.ok()) {
            std::cerr << page.message << "\n";
            return 1;
        }
        const kmr::cli::RewrittenPage rewritten = kmr::cli::rewritePage(page.bytes, kind);
        if (!rewritten.error.empty()) {
            std::cerr << path << ": " << rewritten.error << "\n";
            return 1;
        }
        if (rewritten.text == page.bytes) continue;
        if (const kmr::io::IoResult w = kmr::io::writeFileAtomic(path, rewritten.text); !w.ok()) {
            std::cerr << w.message << "\n";
            return 1;
        }
        std::cout << "rewritten: " << path << "\n";
    }
    return 0;
}
