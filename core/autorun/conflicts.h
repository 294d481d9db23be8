#pragma once
// The check that runs before a project is compiled: six typical mistakes, each reported once.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "project/project.h"

namespace kmr {

// The findings, in the fixed order in which a report lists them.
enum class Finding {
    IncompatibleObjects,  // a run entry and a default menu
    NoResource,           // neither a run entry nor a default menu
    IconDriveReference,   // an icon tied to one drive
    RunDriveReference,    // a program or resource tied to one drive
    MenuDriveReference,   // a menu command tied to one drive
    XpOnlyResource,       // a resource run entry
};

// Indexes of the two pictures that findings use in the shared image list.
inline constexpr int kWarningImage = 29;
inline constexpr int kInformationImage = 28;

// What the report shows for one finding: title, picture and the two explanation lines (each begins
// with two blanks, which belong to the text).
struct FindingText {
    std::string_view title;
    int image = kInformationImage;
    std::array<std::string_view, 2> explanation;
};

const FindingText& findingText(Finding finding);

// The explanation box's text for a finding: its two lines, one per line.
std::string explanationOf(Finding finding);

// True when the first or the second character of the text is ':'; an empty text is no drive reference.
bool isDriveReference(std::string_view value);

// Scans the project once and returns the raised findings in their fixed order; an empty project
// raises none.
std::vector<Finding> checkConflicts(const Project& project);

}  // namespace kmr
