#include "platform/Install.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "platform/Files.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

void Report(const fs::path& path, const std::string& why) {
  std::fprintf(stderr, "%s: cannot copy %s: %s\n", program_invocation_short_name, path.c_str(),
               why.c_str());
}

// Copies beside the target, then links the copy in under its name: link refuses a name that
// exists, so a file the user made meanwhile is never overwritten, and a copy cut short by a kill
// is never left under the picture's name.
bool CopyWhole(const fs::path& source, const fs::path& target) {
  const fs::path temporary =
      target.parent_path() / ("." + target.filename().string() + ".copying-" +
                              std::to_string(getpid()));
  std::error_code ec;
  fs::remove(temporary, ec);
  if (!fs::copy_file(source, temporary, ec)) {
    Report(source, ec.message());
    return false;
  }
  const bool linked = link(temporary.c_str(), target.c_str()) == 0;
  const int error = errno;
  fs::remove(temporary, ec);
  if (!linked && error != EEXIST) Report(source, std::strerror(error));
  return linked;
}

}  // namespace

std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  return fs::path(std::string(path, size_t(length))).parent_path().string();
}

std::string BundledPicturesFolder(const std::string& programFolder) {
  if (programFolder.empty()) return "";
  std::error_code ec;
  for (const fs::path& candidate : {fs::path(programFolder) / "../share/qxworks/Pics",
                                   fs::path(programFolder) / "pics"})
    if (fs::is_directory(candidate, ec)) return candidate.lexically_normal().string();
  return "";
}

int CopyMissingFiles(const std::string& from, std::string_view to) {
  std::error_code ec;
  if (from.empty() || !fs::is_directory(from, ec)) return 0;
  const fs::path targetRoot = LinuxPath(to);
  if (targetRoot.empty()) return 0;
  int copied = 0;
  for (fs::recursive_directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fileError;  // one file's trouble does not end the walk
    if (!it->is_regular_file(fileError)) continue;
    const fs::path relative = fs::relative(it->path(), from, fileError);
    // The build tree's stamp of its last drawing is no picture.
    if (fileError || relative.filename().string().starts_with(".")) continue;
    const fs::path target = targetRoot / relative;
    if (fs::symlink_status(target, fileError).type() != fs::file_type::not_found) continue;
    fs::create_directories(target.parent_path(), fileError);
    if (fileError) {
      Report(target.parent_path(), fileError.message());
      continue;
    }
    if (CopyWhole(it->path(), target)) ++copied;
  }
  if (ec) Report(from, ec.message());
  return copied;
}

}  // namespace platform
