// The typed stream on a disk file, with the system's file header, and its scrambling variant.
#pragma once

#include <string>

#include "platform/Files.h"
#include "storage/Stream.h"

// A path of the host system ("/home/me/work.qxe") rather than of the program ("C:\Qxe\..."), for
// the tools that are handed one.
struct CHostPath {
  std::string Path;
};

class CFile : public CStream {
 public:
  static constexpr std::int32_t kRead = 0;         // an existing file, for reading
  static constexpr std::int32_t kCreate = 0xFFFF;  // created or emptied, for writing

  // Creates the folders on the way to the file, then opens it in the mode.
  CFile(const CStr& name, const CInt& mode);
  // No folders are made for a host path.
  CFile(const CHostPath& path, const CInt& mode);
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  ~CFile() override;  // closes

  CInt Read(void* buffer, const CInt& count) override;
  CInt Write(const void* buffer, const CInt& count) override;
  void SetSize(const CInt& size) override;
  CInt GetSize() override;
  void SetPosition(const CInt& position) override;
  CInt GetPosition() override;

  // 0; -1 for a file shorter than 2 bytes; -2 when it does not begin with "Qx".
  virtual CInt ReadHeader();
  virtual CInt WriteHeader();
  // One line up to a carriage return; line feeds are skipped. Answers its length.
  virtual CInt ReadLine(CStr& line);
  virtual CInt Seek(const CInt& offset, platform::SeekOrigin origin);
  // The bytes of the text, without count or terminator.
  virtual CInt WriteText(const CStr& text);

  bool IsOpen() const { return file_.IsOpen(); }
  // Ends the file. For a file being written: true when all of it reached the disk and now
  // stands in place of the previous one; otherwise the previous file is left as it was.
  bool Close();
  // Why the open, the creation, a read or Close failed, in the user's words ("" when it did not).
  CStr FailureText() const;

  CStr FileName;
  CInt Mode;
  CStr Magic;
  CInt Version;
  CStr FileType;
  CInt SubVersion;
  CInt DataStart;

 private:
  platform::File file_;
};

// A reason in the user's words; the reasons without such words in the system's.
CStr FailureReasonText(platform::FailureReason reason, const std::string& systemWords);

// A file whose bytes are scrambled with a key; with the empty key they are stored as they are.
class CSecretFile : public CFile {
 public:
  using CFile::CFile;

  CInt Read(void* buffer, const CInt& count) override;
  CInt Write(const void* buffer, const CInt& count) override;

  CStr Key;
};
