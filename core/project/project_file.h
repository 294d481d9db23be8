#pragma once
// Project files: the version-2 writer and reader, version detection and the version-1 reader.

#include <functional>
#include <string>
#include <string_view>

#include "platform/io_result.h"
#include "project/project.h"

namespace kmr {

enum class ProjectFormat { Version1, Version2 };

// A file is version 1 when its first line, A–Z lower-cased and not trimmed, is
// "[dantreva kmr file]"; every other file is read as version 2.
ProjectFormat detectProjectFormat(std::string_view content);

// What a reader made of a file. `versionOk` is false for a version-2 file whose "Version" is not
// exactly "2.0" (the caller asks whether to go on; the project is what the file gave anyway).
// `errors` says the file is broken (the editor says it contained errors): a version-1 line of the
// wrong form, a version-1 file that ends before its menus (the rest are empty menus, as far as
// countBacked allows), a version-2 count far beyond the file's menu sections (countBacked), which
// then gives the menus of the sections present, in order, and no empty ones, or a second section of the
// disc settings (its lines are read as if they followed the first, so that nothing in it is lost without
// a word).
struct [[nodiscard]] ProjectReadResult {
    ProjectFormat format = ProjectFormat::Version2;
    bool versionOk = true;
    bool header = true;  // false for a version-2 file without the project's section: no project at all
    bool errors = false;
    Project project;
};

// Version-2 reader over decoded text.
ProjectReadResult readProjectV2(std::string_view content);
// Version-1 reader over decoded text.
ProjectReadResult readProjectV1(std::string_view content);
// Detects the encoding and the version of file bytes and reads them with the matching reader, in one
// pass where the file is laid out as the writer lays it out (nothing is decoded twice, no copy of the
// text is made).
ProjectReadResult readProjectFile(std::string_view bytes);

// A project file read from its path: the outcome of the read (a missing or unreadable file names the
// path and the system's reason) and, when it succeeded, what the reader made of the file.
struct [[nodiscard]] ProjectFileRead : io::IoResult {
    ProjectReadResult read;
};

// Reads a project file of either version from its path, in one pass where the layout allows; the
// file's bytes are handed back as they are used, so that reading costs little more than the project.
ProjectFileRead readProjectPath(const std::string& path);

// The version-2 text of a project (UTF-8, lines ended by CR LF).
std::string projectV2Text(const Project& project);
// The same text handed to `sink` in pieces of whole lines; it stops when the sink returns false.
void projectV2Text(const Project& project, const std::function<bool(std::string_view)>& sink);
// The bytes of a version-2 file: Windows-1252, or UTF-16 LE with its mark when a text needs it.
std::string projectFileBytes(const Project& project);
// The same bytes handed to `write` in pieces, never all in memory.
void projectFileBytes(const Project& project, const std::function<bool(std::string_view)>& write);

}  // namespace kmr
