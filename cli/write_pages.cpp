// write_pages MANUAL_PAGE HELP_PAGE: writes the sections of kmrc's manual page and help page that come
// from the verbs' descriptions, and leaves the rest of each page as it is.
#include <iostream>
#include <string>

#include "manual.h"
#include "text/file_io.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: write_pages MANUAL_PAGE HELP_PAGE\n";
        return 2;
    }
    const kmr::cli::PageKind kinds[] = {kmr::cli::PageKind::Manual, kmr::cli::PageKind::HelpPage};
    for (int i = 0; i < 2; ++i) {
        const std::string path = argv[i + 1];
        const kmr::io::ReadResult page = kmr::io::readFile(path);
        if (!page.ok()) {
            std::cerr << page.message << "\n";
            return 1;
        }
        const kmr::cli::RewrittenPage rewritten = kmr::cli::rewritePage(page.bytes, kinds[i]);
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
