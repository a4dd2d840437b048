// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The test program's own fsync, rename and flock, which the game's code in
// it calls in place of the C library's: they record what is synced and
// renamed, in order, and can make flock fail as a file system without locks
// does. Calls pass through to the C library unchanged otherwise.

#include <string>
#include <vector>

namespace spy {

// One call: "fsync <path>" ("<path>/" for a folder) or "rename <from> <to>",
// paths as the process names them (absolute).
std::vector<std::string> calls();
void start_recording();
void stop_recording();

// While not 0, every flock fails with this error number.
void fail_flock_with(int err);

}  // namespace spy
