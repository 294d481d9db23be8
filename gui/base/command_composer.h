#pragma once
// What the editing dialogs need from the command builder: open it on a page and read back what it
// composed. The builder implements it; the dialogs below it see only this.

#include "wizards/command_builder.h"

namespace kmr::gui {

class CommandComposer {
public:
    virtual ~CommandComposer() = default;

    // Opens the builder modally on `start` (the chooser for BuilderPage::Nuevo), with the
    // compatibility option forced while it is open when asked. True when it composed a result,
    // which is then in the edit state's builderResult (and resourceFlag).
    virtual bool execOn(kmr::BuilderPage start, bool forcedCompatibility = false) = 0;
};

}  // namespace kmr::gui
