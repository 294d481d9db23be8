#pragma once
// The check of the disc settings: entries Windows does not know, and what the reference of autorun
// entries says Windows does with action, CustomEvent, UseAutoPlay, [Content], the content folders and
// DriverPath. Each finding states only what that reference says.

#include <vector>

#include "disc/disc_check.h"
#include "project/project.h"

namespace kmr::disc {

// The settings findings, after the disc findings, in this order:
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

}  // namespace kmr::disc
