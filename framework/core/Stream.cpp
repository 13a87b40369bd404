#include "framework/core/Stream.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"

IMPLEMENT_CLASS(TStream)
IMPLEMENT_CLASS(TMemoryStream)
IMPLEMENT_CLASS(TFileStream)

int64_t TStream::Size() {
  int64_t here = Position();
  int64_t end = Seek(0, TSeekOrigin::soEnd);
  Seek(here, TSeekOrigin::soBeginning);
  return end;
}

void TStream::SetSize(int64_t) { throw EStreamError(u"Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count > 0 && Read(buffer, count) != count) throw EReadError(u"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count > 0 && Write(buffer, count) != count) throw EStreamError(u"Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::vector<uint8_t> chunk(static_cast<size_t>(std::min<int64_t>(count, 65536)));
  int64_t left = count;
  while (left > 0) {
    int64_t n = std::min<int64_t>(left, static_cast<int64_t>(chunk.size()));
    source.ReadBuffer(chunk.data(), n);
    WriteBuffer(chunk.data(), n);
    left -= n;
  }
  return count;
}

std::vector<uint8_t> TStream::ReadRest() {
  int64_t left = Size() - Position();
  std::vector<uint8_t> out(static_cast<size_t>(std::max<int64_t>(left, 0)));
  if (!out.empty()) out.resize(static_cast<size_t>(Read(out.data(), left)));
  return out;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= Size()) return 0;
  int64_t n = std::min<int64_t>(count, Size() - position_);
  std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (position_ + count > Size()) data_.resize(static_cast<size_t>(position_ + count));
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == TSeekOrigin::soBeginning ? 0
                 : origin == TSeekOrigin::soCurrent ? position_
                                                    : Size();
  position_ = std::max<int64_t>(0, base + offset);
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  data_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
  if (position_ > size) position_ = size;
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

void TMemoryStream::Assign(std::vector<uint8_t> bytes) {
  data_ = std::move(bytes);
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::u16string& fileName) {
  TOwned<TFileStream> file(new TFileStream(fileName, fmOpenRead | fmShareDenyNone));
  LoadFromStream(*file);
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  data_ = source.ReadRest();
  position_ = 0;
}

static std::u16string OpenError(const std::u16string& fileName) {
  DWORD code = GetLastError();
  return u"Cannot open file \"" + ExpandFileName(fileName) + u"\". " + SysErrorMessage(code);
}

TFileStream::TFileStream(const std::u16string& fileName, uint32_t mode) {
  DWORD access = GENERIC_READ, disposition = OPEN_EXISTING;
  if ((mode & fmCreate) != 0) {
    access = GENERIC_READ | GENERIC_WRITE;
    disposition = CREATE_ALWAYS;
  } else if ((mode & 3) == fmOpenWrite) {
    access = GENERIC_WRITE;
  } else if ((mode & 3) == fmOpenReadWrite) {
    access = GENERIC_READ | GENERIC_WRITE;
  }
  DWORD share = (mode & fmShareDenyNone) != 0 ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
  HANDLE h = CreateFileW(reinterpret_cast<LPCWSTR>(fileName.c_str()), access, share, nullptr,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw EFOpenError(OpenError(fileName));
  handle_ = h;
}

TFileStream::~TFileStream() { CloseHandle(static_cast<HANDLE>(handle_)); }

int64_t TFileStream::Read(void* buffer, int64_t count) {
  DWORD got = 0;
  if (count <= 0) return 0;
  if (!ReadFile(static_cast<HANDLE>(handle_), buffer, static_cast<DWORD>(std::min<int64_t>(count, 0x40000000)),
                &got, nullptr))
    return 0;
  return got;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  DWORD put = 0;
  if (count <= 0) return 0;
  if (!WriteFile(static_cast<HANDLE>(handle_), buffer, static_cast<DWORD>(std::min<int64_t>(count, 0x40000000)),
                 &put, nullptr))
    return 0;
  return put;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  LARGE_INTEGER to, result;
  to.QuadPart = offset;
  DWORD method = origin == TSeekOrigin::soBeginning ? FILE_BEGIN
                 : origin == TSeekOrigin::soCurrent ? FILE_CURRENT
                                                    : FILE_END;
  if (!SetFilePointerEx(static_cast<HANDLE>(handle_), to, &result, method)) return -1;
  return result.QuadPart;
}

void TFileStream::SetSize(int64_t size) {
  Seek(size, TSeekOrigin::soBeginning);
  SetEndOfFile(static_cast<HANDLE>(handle_));
}

std::u16string ExpandFileName(const std::u16string& fileName) {
  WCHAR buffer[MAX_PATH * 4];
  DWORD n = GetFullPathNameW(reinterpret_cast<LPCWSTR>(fileName.c_str()), MAX_PATH * 4, buffer, nullptr);
  if (n == 0 || n >= MAX_PATH * 4) return fileName;
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), n);
}

bool FileExists(const std::u16string& fileName) {
  DWORD a = GetFileAttributesW(reinterpret_cast<LPCWSTR>(fileName.c_str()));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::u16string& path) {
  DWORD a = GetFileAttributesW(reinterpret_cast<LPCWSTR>(path.c_str()));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::u16string ExecutableFolder() {
  WCHAR buffer[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
  std::u16string path(reinterpret_cast<const char16_t*>(buffer), n);
  size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash + 1);
}
