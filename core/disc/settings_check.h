#pragma once
// The check of the disc settings: entries Windows does not know, and what the reference of autorun
// entries says Windows does with action, CustomEvent, UseAutoPlay, [Content], the content folders and
// DriverPath. Each finding states only what that reference says.

#include <vector>

#include "disc/disc_check.h"
#include "project/project.h"

namespace kmr::disc {

// The settings findings, after the disc findings, in this order:
//   value-line-break         a value holding a CR or an LF (an import keeps a lone CR inside a value),
//                            which no file can hold: saving and compiling refuse it
//   value-nul                a value holding a NUL character, where Windows ends the value
//   platform-repeated        two platform sections for one platform, which the compiler writes as one
//   unknown-entry            a key of [AutoRun] or of a platform section that Windows does not know
//   action-without-program   action on a USB drive, with no open or shellexecute for it to present
//   action-on-cd             action on a CD or DVD, where Windows does not use it
//   custom-event-name        a CustomEvent name that is not up to 100 letters and digits
//   autoplay-hides-program   UseAutoPlay=1 beside open or shellexecute
//   action-file-missing      "action=@file,-id" naming a file that the disc folder does not hold
//   content-without-files    a [Content] type on, with no file of that type in the disc folder
//   folder-missing-on-disc   a DriverPath or content folder that the disc folder does not hold
// Without a disc (`disc` null or without folder), only what the project alone shows: the unknown
// entries, the custom event and UseAutoPlay.
std::vector<CheckItem> checkSettings(const Project& project, const DiscTarget* disc);

// What stood in the way of the lookups of the settings' files and folders in the disc folder (see
// DiscFolder::problem); empty when nothing did.
std::string settingsProblem(const Project& project, const DiscTarget& disc);

// The findings on the values alone (value-line-break, value-nul), which an import reports at once.
std::vector<CheckItem> checkValues(const Project& project);

}  // namespace kmr::disc
