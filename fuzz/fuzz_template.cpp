// Reads a template file from arbitrary bytes and applies it to the wizard data.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "project/project.h"
#include "wizards/templates.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto record = kmr::readTemplate(bytes, size);
    if (!record) return 0;
    const kmr::WizardData wizard = kmr::applyTemplate(*record);
    // The menus read are bounded by the text they came from, and each keeps its place.
    if (wizard.menus.size() != record->menus.size() || wizard.menus.size() > size) __builtin_trap();
    std::size_t defaults = 0;
    for (const auto& m : wizard.menus) defaults += m.kind == kmr::Kind::DefaultMenu;
    if (defaults > 1) __builtin_trap();
    const kmr::Project project = kmr::buildProject(wizard);
    if (project.menuCount() != wizard.menus.size()) __builtin_trap();
    return 0;
}
