#pragma once
// Replacing a file so that a crash, a full disk or a failed write never leaves it truncated: the
// bytes go to a temporary file in the same folder, which is flushed to disk and then renamed over
// the old file in one step.
#include <filesystem>
#include <string>
#include <string_view>

namespace tintara {

// Writes `bytes` as the whole new content of `path`. Returns false when the file cannot be written:
// the folder is missing or read-only, an existing file is read-only or is a folder, the disk is
// full, ... Then the old file is left as it was and no temporary file remains, and `error` (when
// given) receives a message for the user such as
//   Cannot create file "/home/me/palettes.xml". Permission denied
// An existing file keeps its permissions (and its owner where allowed); a symbolic link is kept and
// the file it points to is replaced. Never throws.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr);

} // namespace tintara
