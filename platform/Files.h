// Files by the system's own paths ("C:\Qxe\Conf.qxe", cp1251). Backslashes become slashes, drive
// C: (either case) is the folder $QXWORKS_DRIVE_C (by default
// ${XDG_DATA_HOME:-$HOME/.local/share}/qxworks/drive_c), and names become UTF-8. Names keep
// their case: Linux tells "Conf.qxe" from "CONF.QXE".
//
// A file created for writing is written beside its target and put in its place only when it is
// closed (after fsync), so a crash or a full disk during a save never leaves half a file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace platform {

// The Linux path of a system path. "C:\a\..\b" and "\b" (the root of the current drive, which
// is C:) both name $QXWORKS_DRIVE_C/b; ".." never leaves the drive. A path without a drive or a
// leading backslash stays relative to the working directory. Other drives do not exist: "".
std::string LinuxPath(std::string_view systemPath);

// The folder that is drive C:.
std::string DriveCFolder();

enum class SeekOrigin { Begin, Current, End };

// Why a file could not be opened, created, read or written, for the layers that name it in the
// user's words: the reasons users meet, and Other for the rest (FailureText then says which).
enum class FailureReason {
  None,
  NoSpace,
  NoPermission,
  Folder,
  ReadOnlyFileSystem,
  Missing,
  InputOutput,
  Other
};
FailureReason ReasonOf(int error);

// One open file, buffered. Positions and sizes count bytes.
class File {
 public:
  File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  // Closes; a file being written is put in place as Close does, unless an exception is leaving
  // the scope that was writing it: then it is abandoned and the target stays as it was.
  ~File();

  // An existing file, read only. False when it cannot be opened (missing, a directory...).
  bool OpenForReading(std::string_view systemPath);
  // What Close does with an existing target.
  enum Placing { kReplace, kKeepExisting };  // kKeepExisting: Close fails (EEXIST) instead
  // An empty file, to read and write; its target is replaced only by Close. The target's folder
  // must exist (drive C: itself is created when missing). The temporaries that killed saves of
  // the same target left behind are removed first.
  bool CreateForWriting(std::string_view systemPath, Placing placing = kReplace);
  // The same for a path of the host (Linux) system, taken as it is: tools are given such paths.
  bool OpenHostPathForReading(const std::string& hostPath);
  bool CreateHostPathForWriting(const std::string& hostPath, Placing placing = kReplace);

  bool IsOpen() const { return stream_ != nullptr; }
  bool IsWritable() const { return writing_; }

  // Bytes transferred at the position, which moves past them; fewer than asked at the end of the
  // file or on a failure, 0 when the file is not open (or, for Write, not writable).
  std::int64_t Read(void* buffer, std::int64_t count);
  std::int64_t Write(const void* buffer, std::int64_t count);

  // The new position, or -1 (position unchanged) when it would be negative or nothing is open.
  // Seeking past the end is allowed; a write there fills the gap with zero bytes.
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin);
  std::int64_t Position() const { return position_; }
  std::int64_t Size() const { return size_; }
  // Cuts or extends a file being written; the position stays.
  bool SetSize(std::int64_t size);

  // For a file being written: true when every byte reached the disk and the file now stands at
  // its target; otherwise the target is left as it was (the reason goes to stderr). For a file
  // being read: true. False when nothing was open.
  bool Close();
  // Closes without putting a file being written in place; its temporary is removed.
  void Abandon();

  // Why the latest open, create, read or Close failed: the errno (0 when it did not fail) and
  // its text ("" when it did not fail).
  int Failure() const { return failure_; }
  FailureReason Reason() const { return ReasonOf(failure_); }
  std::string FailureText() const;

 private:
  enum class Direction { None, Reading, Writing };

  void Reset();
  void Fail();  // records errno as the file's first failure
  // stdio wants a seek between reading and writing; this makes one when the direction changes.
  bool Turn(Direction direction);

  std::FILE* stream_ = nullptr;
  std::string target_;     // Linux path
  std::string temporary_;  // Linux path of the file being written, beside the target
  std::int64_t position_ = 0;
  std::int64_t size_ = 0;
  bool writing_ = false;
  int error_ = 0;  // errno of the first failed write; Close then leaves the target alone
  Direction direction_ = Direction::None;
  int exceptionsAtCreate_ = 0;  // exceptions in flight when the file was created
  Placing placing_ = kReplace;
  int failure_ = 0;  // kept past Close, for the caller to name
};

// A save writes ".NAME.saving-PID-N" beside its target and renames it at the end; one killed
// on the way leaves it there. This removes those of one target whose process no longer runs.
void RemoveStaleTemporaries(std::string_view systemPath);
void RemoveStaleTemporariesOfHostPath(const std::string& hostPath);

// An existing file (not a directory).
bool FileExists(std::string_view systemPath);
// Anything at the path: a file, a directory, a device...
bool PathExists(std::string_view systemPath);

// Keeps a copy of a file beside it, named after it with stem and the lowest free number
// ("Conf.qxe" + ".damaged-" gives "Conf.qxe.damaged-1"), never over another file. An earlier copy
// of the same bytes is answered instead of making another. The number of the copy, or 0 with
// error set to the errno of the failure.
int KeepCopy(std::string_view systemPath, const std::string& stem, int& error);
int KeepCopyOfHostPath(const std::string& hostPath, const std::string& stem, int& error);

// Creates one directory (its parent must exist; drive C: itself is created when missing).
// True when the directory exists afterwards.
bool MakeDirectory(std::string_view systemPath);

}  // namespace platform
