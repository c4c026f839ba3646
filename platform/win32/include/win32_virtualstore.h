// File virtualization, as Windows gives it to an older program that writes
// into its own folder under Program Files: each account gets its own copy of
// such a file in its own profile (library w32kernel; the ODBC driver opens
// its database file through it, as the kernel's CreateFileA does).
//
// An installed program is one with a data folder <prefix>/share/<name>/
// beside its <prefix>/bin/ (<name>: the executable's file name). A file of
// the executable's own folder that is not there, opened for writing, is the
// account's copy $XDG_DATA_HOME/<name>/<file> (~/.local/share where the
// variable is unset), made from <prefix>/share/<name>/<file> when that exists
// (mode 600, in a folder of mode 700); opened for reading, the account's copy
// when there is one, else the data folder's file. A file that stands beside
// the executable (the build's), any other path, and any path of a program
// without a data folder are used as they are. The installed tree is thus never
// written, by root neither.
#pragma once

#include <string>

namespace w32kernel {

// The path (UTF-8) to open for `path` (UTF-8), as above; "" when the
// account's copy was to be made and could not be (errno tells why).
std::string VirtualStorePath(const std::string& path, bool forWriting);

// The account's data folder: $XDG_DATA_HOME when it is absolute, else
// $HOME/.local/share (the password database's home without HOME).
std::string UserDataFolder();

}  // namespace w32kernel
