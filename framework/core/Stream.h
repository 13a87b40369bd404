#pragma once
// Byte streams: in memory, over a file, and over a part of another stream's memory.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/Object.h"

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
  DECLARE_CLASS(TStream, TObject)
  // Reads up to count bytes; answers how many were read (0 at the end).
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t size);
  // Read or raise EReadError when fewer bytes are left.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies count bytes from source (0: the whole source from its start).
  int64_t CopyFrom(TStream& source, int64_t count);
  // Everything from the current position to the end.
  std::vector<uint8_t> ReadRest();
};

class TMemoryStream : public TStream {
  DECLARE_CLASS(TMemoryStream, TStream)
  TMemoryStream() = default;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;
  void Clear();
  const uint8_t* Memory() const { return data_.data(); }
  uint8_t* Memory() { return data_.data(); }
  const std::vector<uint8_t>& Bytes() const { return data_; }
  void Assign(std::vector<uint8_t> bytes);
  // Raises EFOpenError naming the full path when the file cannot be read.
  void LoadFromFile(const std::u16string& fileName);
  void LoadFromStream(TStream& source);

 private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};

enum : uint32_t { fmOpenRead = 0, fmOpenWrite = 1, fmOpenReadWrite = 2, fmCreate = 0x10 };
enum : uint32_t { fmShareDenyNone = 0x40 };

class TFileStream : public TStream {
  DECLARE_CLASS(TFileStream, TStream)
  // Raises EFOpenError ("Cannot open file "<full path>". <system message>").
  TFileStream(const std::u16string& fileName, uint32_t mode);
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;

 protected:
  ~TFileStream() override;

 private:
  void* handle_;
};

// The absolute form of a path, as the platform resolves it against the current directory.
std::u16string ExpandFileName(const std::u16string& fileName);
bool FileExists(const std::u16string& fileName);
bool DirectoryExists(const std::u16string& path);
// Folder of the running executable, ending with the path separator.
std::u16string ExecutableFolder();
