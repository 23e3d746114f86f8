// The configuration file: the file header, then the record of the project tree's root with the
// whole tree below it.
#pragma once

#include <string>

#include "model/Info.h"

class CApp;
class CFile;
class CMemory;

// The image on any stream: header at the stream's start, then the root's record.
void WriteConfig(CStream& stream, CInfo& root);
// Reads an image from the stream's start into root. Anything that is not a whole, valid image
// (a bad header, a damaged record, bytes after the root's record) is a fault, and root is then
// exactly as it was.
CLoadReport ReadConfig(CStream& stream, CInfo& root);

// The same on an open file (a missing or unopened file is a fault here). The whole file is read
// before the tree is touched, so a file larger than this is refused.
inline constexpr std::int32_t kMaxConfigBytes = 1 << 30;
CLoadReport ReadConfigFile(CFile& file, CInfo& root);
// "" when every byte reached the disk and the file stands in place of the previous one.
CStr WriteConfigFile(CFile& file, CInfo& root);
// Why a saved tree could not be read back ("" when it could): it nests deeper than the loader
// reads. Savers ask before they create the file, so a refusal leaves the previous one in place.
CStr UnreadableTree(const CInfo& root);
// The root's record into `record` when the tree could be read back, else UnreadableTree's
// answer: one walk over the tree for both, before any file is made. WriteConfigFile's second
// form then writes that record.
CStr ReadableRecord(CInfo& root, CMemory& record);
CStr WriteConfigFile(CFile& file, CMemory& record);

// "Conf.qxe" in the application's home directory, read into and written from its project tree.
CStr ConfigPath(const CApp& app);
// A missing file changes nothing and is no fault; anything else at its place that cannot be
// read, or read whole, is. A damaged file is kept as KeepDamagedFile does, at once. The report's
// Message is for the user.
CLoadReport LoadConfig(CApp& app);
// The same into another tree than the application's.
CLoadReport LoadConfig(const CApp& app, CInfo& root);
// "" when saved; otherwise what went wrong, and the previous file is still in place.
CStr SaveConfig(CApp& app);
// A file that was refused or read only in part is kept before anything is written over it:
// copied beside itself as NAME.damaged-N (the lowest free N, never over another file; an earlier
// copy of the same bytes is used again). The copy's name, or "" with the reason in why.
CStr KeepDamagedFile(const CStr& path, CStr& why);
CStr KeepDamagedHostFile(const std::string& hostPath, CStr& why);
// The report's line on that copy, or on why none could be made.
void NoteKeptCopy(CLoadReport& report, const CStr& copy, const CStr& why);
// Save over a configuration file that the load could not keep: the copy first, and no save
// without it (kept tells which). What to tell the user: where the copy went, or why nothing was
// saved, and a failure of the save itself.
CStr SaveConfigKeepingDamaged(CApp& app, bool& kept);
// Removes what saves of the configuration file killed on the way left beside it (every save
// does this for its own file; the environment also calls it at start-up).
void RemoveStaleConfigSaves(const CApp& app);
