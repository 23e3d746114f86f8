#include "platform/Files.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Text.h"

namespace platform {
namespace {

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* user = getpwuid(getuid()); user && user->pw_dir) return user->pw_dir;
  return "/tmp";
}

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Like mkdir -p: a missing drive C: folder is made on first use, with its parents.
void EnsureFolder(const std::string& path) {
  if (path.empty() || IsDirectory(path)) return;
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1))
    mkdir(path.substr(0, slash).c_str(), 0777);
  mkdir(path.c_str(), 0777);
}

// True for paths that lie on drive C:, whose folder may have to be made first.
bool OnDriveC(std::string_view systemPath) {
  return (systemPath.size() >= 2 && systemPath[1] == ':') ||
         (!systemPath.empty() && (systemPath[0] == '\\' || systemPath[0] == '/'));
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void ReportFailure(const char* what, const std::string& path, int error) {
  std::fprintf(stderr, "%s: %s %s: %s\n", program_invocation_short_name, what, path.c_str(),
               std::strerror(error));
}

constexpr std::string_view kSaving = ".saving-";

// The name of a save's temporary: a target name near the length limit is cut so that its
// companion is not too long to create.
std::string TemporaryName(const std::string& targetName, const std::string& suffix) {
  const std::size_t room = NAME_MAX - 1 - suffix.size();
  return "." + targetName.substr(0, room) + suffix;
}

// The process that wrote a temporary of the target, or 0 when the name is not one.
pid_t WriterOf(const std::string& entry, const std::string& targetName) {
  const std::size_t at = entry.rfind(kSaving);
  if (at == std::string::npos || entry.empty() || entry[0] != '.') return 0;
  const std::string suffix = entry.substr(at);
  const std::string_view numbers = std::string_view(suffix).substr(kSaving.size());
  const std::size_t dash = numbers.find('-');
  auto digits = [](std::string_view s) {
    return !s.empty() && s.size() < 10 &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (dash == std::string_view::npos || !digits(numbers.substr(0, dash)) ||
      !digits(numbers.substr(dash + 1)))
    return 0;
  if (TemporaryName(targetName, suffix) != entry) return 0;
  return static_cast<pid_t>(std::stol(std::string(numbers.substr(0, dash))));
}

// A fresh file in the target's folder, so the final rename stays on one file system.
int CreateTemporary(const std::string& target, std::string& temporary) {
  static std::atomic<unsigned> counter{0};
  const std::string name = NameOf(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string suffix =
        std::string(kSaving) + std::to_string(getpid()) + "-" + std::to_string(++counter);
    temporary = FolderOf(target) + "/" + TemporaryName(name, suffix);
    const int fd = open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

std::string DriveCFolder() {
  if (const char* drive = std::getenv("QXWORKS_DRIVE_C"); drive && *drive)
    return WithoutTrailingSlashes(drive);
  const char* data = std::getenv("XDG_DATA_HOME");
  const std::string base = data && *data == '/' ? std::string(data) : HomeFolder() + "/.local/share";
  return WithoutTrailingSlashes(base) + "/qxworks/drive_c";
}

std::string LinuxPath(std::string_view systemPath) {
  std::string path = Cp1251ToUtf8(systemPath);
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.size() >= 2 && path[1] == ':') {
    if (path[0] != 'C' && path[0] != 'c') return "";
    path.erase(0, 2);  // "C:x" is read as "C:\x": there is no current folder per drive
  } else if (path.empty() || path[0] != '/') {
    return path;  // relative to the working directory
  }
  // Lexical clean-up below the drive's root, which ".." cannot leave.
  std::vector<std::string_view> parts;
  std::string_view rest = path;
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string result = DriveCFolder();
  for (const std::string_view part : parts) {
    result += '/';
    result += part;
  }
  return result;
}

// [File]

File::File(File&& other) noexcept { *this = std::move(other); }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    stream_ = std::exchange(other.stream_, nullptr);
    target_ = std::move(other.target_);
    temporary_ = std::move(other.temporary_);
    position_ = other.position_;
    size_ = other.size_;
    writing_ = other.writing_;
    error_ = other.error_;
    direction_ = other.direction_;
    exceptionsAtCreate_ = other.exceptionsAtCreate_;
    placing_ = other.placing_;
    failure_ = other.failure_;
    other.Reset();
  }
  return *this;
}

File::~File() {
  // Left by an exception thrown while it was being written: what it holds is not the whole
  // content, so it must not take the target's place.
  if (writing_ && std::uncaught_exceptions() > exceptionsAtCreate_)
    Abandon();
  else
    Close();
}

void File::Abandon() {
  if (!stream_) return;
  std::fclose(stream_);
  if (writing_) unlink(temporary_.c_str());
  Reset();
}

void File::Reset() {
  stream_ = nullptr;
  target_.clear();
  temporary_.clear();
  position_ = 0;
  size_ = 0;
  writing_ = false;
  error_ = 0;
  direction_ = Direction::None;
  placing_ = kReplace;
}

bool File::OpenForReading(std::string_view systemPath) {
  return OpenHostPathForReading(LinuxPath(systemPath));
}

bool File::OpenHostPathForReading(const std::string& path) {
  Close();
  failure_ = 0;
  if (path.empty()) {
    failure_ = ENOENT;
    return false;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    failure_ = errno;
    return false;
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    failure_ = EISDIR;
    close(fd);
    return false;
  }
  stream_ = fdopen(fd, "rb");
  if (!stream_) {
    failure_ = errno;
    close(fd);
    return false;
  }
  target_ = path;
  size_ = info.st_size;
  return true;
}

bool File::CreateForWriting(std::string_view systemPath, Placing placing) {
  Close();
  const std::string path = LinuxPath(systemPath);
  if (path.empty()) {
    failure_ = ENOENT;  // a drive that does not exist
    return false;
  }
  if (OnDriveC(systemPath)) EnsureFolder(DriveCFolder());
  return CreateHostPathForWriting(path, placing);
}

bool File::CreateHostPathForWriting(const std::string& path, Placing placing) {
  Close();
  failure_ = 0;
  auto fail = [&](int error) {
    failure_ = error;
    return false;
  };
  std::signal(SIGXFSZ, SIG_IGN);  // past the file-size limit a write fails (EFBIG) as on a full disk
  if (path.empty()) return fail(ENOENT);
  if (path.back() == '/') return fail(EISDIR);
  struct stat existing;
  const bool replacing = stat(path.c_str(), &existing) == 0;
  if (replacing && S_ISDIR(existing.st_mode)) return fail(EISDIR);
  RemoveStaleTemporariesOfHostPath(path);
  std::string temporary;
  const int fd = CreateTemporary(path, temporary);
  if (fd < 0) return fail(errno);
  if (replacing) fchmod(fd, existing.st_mode & 07777);  // a saved file keeps its permissions
  stream_ = fdopen(fd, "w+b");
  if (!stream_) {
    const int error = errno;
    close(fd);
    unlink(temporary.c_str());
    return fail(error);
  }
  target_ = path;
  temporary_ = std::move(temporary);
  writing_ = true;
  placing_ = placing;
  exceptionsAtCreate_ = std::uncaught_exceptions();
  return true;
}

FailureReason ReasonOf(int error) {
  switch (error) {
    case 0:
      return FailureReason::None;
    case ENOSPC:
    case EDQUOT:
      return FailureReason::NoSpace;
    case EACCES:
    case EPERM:
      return FailureReason::NoPermission;
    case EISDIR:
      return FailureReason::Folder;
    case EROFS:
      return FailureReason::ReadOnlyFileSystem;
    case ENOENT:
      return FailureReason::Missing;
    case EIO:
      return FailureReason::InputOutput;
    default:
      return FailureReason::Other;
  }
}

std::string File::FailureText() const {
  return failure_ ? std::strerror(failure_) : "";
}

void File::Fail() {
  if (!error_) error_ = errno ? errno : EIO;
}

bool File::Turn(Direction direction) {
  if (direction_ != direction && direction_ != Direction::None &&
      fseeko(stream_, position_, SEEK_SET) != 0)
    return false;
  direction_ = direction;
  return true;
}

std::int64_t File::Read(void* buffer, std::int64_t count) {
  if (!stream_ || !buffer || count <= 0 || !Turn(Direction::Reading)) return 0;
  errno = 0;
  const std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(count), stream_);
  if (got < static_cast<std::size_t>(count) && std::ferror(stream_)) failure_ = errno ? errno : EIO;
  position_ += static_cast<std::int64_t>(got);
  return static_cast<std::int64_t>(got);
}

std::int64_t File::Write(const void* buffer, std::int64_t count) {
  if (!stream_ || !writing_ || !buffer || count <= 0) return 0;
  if (!Turn(Direction::Writing)) {
    Fail();
    return 0;
  }
  const std::size_t put = std::fwrite(buffer, 1, static_cast<std::size_t>(count), stream_);
  if (put < static_cast<std::size_t>(count)) Fail();
  position_ += static_cast<std::int64_t>(put);
  size_ = std::max(size_, position_);
  return static_cast<std::int64_t>(put);
}

std::int64_t File::Seek(std::int64_t offset, SeekOrigin origin) {
  if (!stream_) return -1;
  const std::int64_t base =
      origin == SeekOrigin::Begin ? 0 : origin == SeekOrigin::Current ? position_ : size_;
  const std::int64_t target = base + offset;
  if (target < 0 || fseeko(stream_, target, SEEK_SET) != 0) return -1;
  position_ = target;
  direction_ = Direction::None;
  return position_;
}

bool File::SetSize(std::int64_t size) {
  if (!stream_ || !writing_ || size < 0) return false;
  if (std::fflush(stream_) != 0 || ftruncate(fileno(stream_), size) != 0) {
    Fail();
    return false;
  }
  size_ = size;
  direction_ = Direction::None;
  return fseeko(stream_, position_, SEEK_SET) == 0;
}

bool File::Close() {
  if (!stream_) return false;
  if (!writing_) {
    std::fclose(stream_);
    Reset();
    return true;
  }
  errno = 0;
  if (!error_ && (std::fflush(stream_) != 0 || std::ferror(stream_))) Fail();
  if (!error_ && fsync(fileno(stream_)) != 0) Fail();
  if (std::fclose(stream_) != 0 && !error_) Fail();
  int error = error_;
  if (!error) {
    // A link, unlike a rename, never takes the place of a file that is already there.
    const bool placed = placing_ == kReplace ? rename(temporary_.c_str(), target_.c_str()) == 0
                                             : link(temporary_.c_str(), target_.c_str()) == 0;
    if (!placed) error = errno;
    if (placed && placing_ == kKeepExisting) unlink(temporary_.c_str());
  }
  if (error) {
    unlink(temporary_.c_str());
    if (!(placing_ == kKeepExisting && error == EEXIST))
      ReportFailure("cannot save", target_, error);
  } else {
    SyncFolder(FolderOf(target_));  // the rename itself must survive a crash too
  }
  Reset();
  failure_ = error;
  return error == 0;
}

// [Stale temporaries]

void RemoveStaleTemporaries(std::string_view systemPath) {
  const std::string path = LinuxPath(systemPath);
  if (!path.empty()) RemoveStaleTemporariesOfHostPath(path);
}

void RemoveStaleTemporariesOfHostPath(const std::string& path) {
  DIR* folder = opendir(FolderOf(path).c_str());
  if (!folder) return;
  const std::string name = NameOf(path);
  std::vector<std::string> stale;
  while (const dirent* entry = readdir(folder)) {
    const pid_t writer = WriterOf(entry->d_name, name);
    // Another thread of this process may be saving the same file; a process that cannot be
    // signalled (EPERM) is still running.
    if (writer > 0 && writer != getpid() && kill(writer, 0) != 0 && errno == ESRCH)
      stale.push_back(FolderOf(path) + "/" + entry->d_name);
  }
  closedir(folder);
  for (const std::string& file : stale) unlink(file.c_str());
}

// [Directories]

bool FileExists(std::string_view systemPath) {
  const std::string path = LinuxPath(systemPath);
  struct stat info;
  return !path.empty() && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool PathExists(std::string_view systemPath) {
  const std::string path = LinuxPath(systemPath);
  struct stat info;
  return !path.empty() && stat(path.c_str(), &info) == 0;
}

bool MakeDirectory(std::string_view systemPath) {
  const std::string path = LinuxPath(systemPath);
  if (path.empty()) return false;
  if (OnDriveC(systemPath)) EnsureFolder(DriveCFolder());
  return mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && IsDirectory(path));
}

// [Kept copies]

namespace {

bool SameBytes(File& a, File& b) {
  if (a.Size() != b.Size() || a.Seek(0, SeekOrigin::Begin) != 0 ||
      b.Seek(0, SeekOrigin::Begin) != 0)
    return false;
  std::vector<char> left(1 << 20), right(1 << 20);
  for (;;) {
    const std::int64_t got = a.Read(left.data(), std::int64_t(left.size()));
    if (got != b.Read(right.data(), std::int64_t(right.size()))) return false;
    if (got <= 0) return got == 0;
    if (std::memcmp(left.data(), right.data(), std::size_t(got)) != 0) return false;
  }
}

// Puts the whole of source into a new file at copy, through a companion that is linked into
// place only when every byte reached the disk: a copy is never found half made.
bool CopyInto(File& source, const std::string& copy) {
  File out;
  if (!out.CreateHostPathForWriting(copy, File::kKeepExisting)) {
    errno = out.Failure();
    return false;
  }
  std::vector<char> buffer(1 << 20);
  bool unread = source.Seek(0, SeekOrigin::Begin) != 0;
  while (!unread) {
    const std::int64_t got = source.Read(buffer.data(), std::int64_t(buffer.size()));
    if (got <= 0) {
      unread = source.Failure() || source.Position() != source.Size();
      break;
    }
    if (out.Write(buffer.data(), got) != got) break;  // Close names the reason
  }
  if (unread) {
    out.Abandon();
    errno = source.Failure() ? source.Failure() : EIO;
    return false;
  }
  const bool placed = out.Close();
  errno = out.Failure();
  return placed;
}

}  // namespace

int KeepCopy(std::string_view systemPath, const std::string& stem, int& error) {
  const std::string path = LinuxPath(systemPath);
  if (path.empty()) {
    error = ENOENT;
    return 0;
  }
  return KeepCopyOfHostPath(path, stem, error);
}

int KeepCopyOfHostPath(const std::string& path, const std::string& stem, int& error) {
  error = 0;
  File source;
  if (!source.OpenHostPathForReading(path)) {
    error = source.Failure();
    return 0;
  }
  // The numbers in use are passed over; one of them may already hold these very bytes.
  for (int n = 1; n < 100000; ++n) {
    const std::string copy = path + stem + std::to_string(n);
    struct stat info;
    if (lstat(copy.c_str(), &info) == 0) {
      File earlier;
      if (S_ISREG(info.st_mode) && earlier.OpenHostPathForReading(copy) &&
          SameBytes(source, earlier))
        return n;
      continue;
    }
    if (CopyInto(source, copy)) return n;
    if (errno != EEXIST) {  // another process took the number meanwhile: the next one
      error = errno ? errno : EIO;
      return 0;
    }
  }
  error = EEXIST;
  return 0;
}

}  // namespace platform
