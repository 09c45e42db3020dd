#pragma once
// Plain file reading and writing for the library (it has no file classes of its own).
#include <cstddef>
#include <functional>
#include <string>

namespace hidsim {

enum class ReadResult { Read, Missing, Failed };

// Reads a whole regular file of at most limit bytes. Anything else (a FIFO, a device, a folder,
// a larger file) is refused before it is read, so nothing blocks or runs without end. Missing:
// there is no such file; Failed: the reason in *error.
ReadResult readSmallFile(const std::string& fileName, size_t limit, std::string* text, std::string* error);

// Replaces fileName with bytes in one step: a temporary file beside it is written, flushed to
// the disk and renamed over it, so a crash leaves the old file or the new one, never a mix.
// The folder is made (owner-only) when missing. False with the reason in *error.
bool writeFileAtomically(const std::string& fileName, const std::string& bytes, std::string* error);

// Removes what writeFileAtomically left in folder when it was killed before its rename: the
// temporaries beside the files whose names `ours` accepts, once older than any write takes (a
// younger one may belong to a write under way, of this process or another). Nothing else.
void removeLeftoverTemporaries(const std::string& folder, const std::function<bool(const std::string&)>& ours);

// Removes fileName; a file that is not there counts as removed.
bool removeFile(const std::string& fileName, std::string* error);

}  // namespace hidsim
