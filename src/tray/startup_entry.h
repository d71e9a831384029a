// Start with Windows: a shortcut to the running executable in the current
// user's Startup folder, named after StartupEntryName whatever the file is
// called now.
#pragma once

namespace vornik {

// Handler of AutoStartSwitch. The entry's and the write's results change
// nothing: the check mark and "自启" flip in every case.
void ToggleAutoStart();

// Creates "<Startup folder>\<name>.lnk" pointing at `target`. 1 on success;
// 0 when the target does not exist, the Startup folder cannot be had or the
// shell-link object cannot be made.
int AddStartupEntry(const char* name, const char* target);

// Deletes the machine-wide Run value `name` and the shortcut. 1 when either
// went away, else 0.
int RemoveStartupEntry(const char* name);

// Tells the shell that `path` and the folder holding it changed.
void NotifyShellOfChange(long event, const char* path);

}  // namespace vornik
