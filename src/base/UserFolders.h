#pragma once
// The folders of a POSIX user's own that the program may write to when its own folder is not
// writable (the system-wide package): the user's configuration folder as the XDG base directory
// rules name it, and a test of whether a folder takes new files. POSIX only
// (UserFoldersPosix.cpp): on Windows the program's file always lies beside it.
#include <string>

// True when the calling user can create and rename files in `folder`: it is a folder, the
// permissions allow it and it is not on a read-only mount.
bool FolderIsWritable(const std::string& folder);

// $XDG_CONFIG_HOME when it is an absolute path, else the home folder's ".config". The home
// folder is $HOME when absolute, else the one the user database gives. Raises Exception when
// neither names one.
std::string UserConfigFolder();

// Creates `folder` and whatever is missing above it, each new folder with mode 0700 (only its
// owner may enter it). True when `folder` is a folder afterwards.
bool MakePrivateFolders(const std::string& folder);
