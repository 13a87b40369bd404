#include "webview/ImageCache.h"

#include "framework/core/Stream.h"
#include "framework/graphics/Graphic.h"
#include "framework/graphics/Picture.h"
#include "webview/Url.h"

namespace {
// Pages of this program use a handful of images; a long browsing session must not keep
// every picture it ever saw.
constexpr size_t kMaxEntries = 256;
}  // namespace

TImageCache::TImageCache() = default;
TImageCache::~TImageCache() = default;

void TImageCache::Decode(TEntry& entry, std::string_view bytes) {
  entry.State = TImageState::Broken;
  entry.Picture.reset();
  if (bytes.empty()) return;
  try {
    TOwned<TMemoryStream> stream(new TMemoryStream);
    stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream->SetPosition(0);
    TOwned<TPicture> picture(new TPicture);
    picture->LoadFromStream(*stream);
    if (picture->Empty()) return;
    entry.Picture = std::move(picture);
    entry.State = TImageState::Ready;
  } catch (const std::exception&) {
    // Broken: drawn as nothing.
  }
}

void TImageCache::Trim() {
  if (entries_.size() < kMaxEntries) return;
  for (auto it = entries_.begin(); it != entries_.end();)
    it = it->second.State == TImageState::Loading ? std::next(it) : entries_.erase(it);
}

void TImageCache::Request(const std::u16string& url) {
  if (url.empty() || entries_.count(url) != 0) return;
  Trim();
  TEntry& entry = entries_[url];
  TUrl parsed = ParseAddress(url);
  if (parsed.Kind == TUrlKind::File) {
    std::string bytes;
    try {
      TOwned<TMemoryStream> file(new TMemoryStream);
      file->LoadFromFile(parsed.Path);
      bytes.assign(reinterpret_cast<const char*>(file->Memory()), static_cast<size_t>(file->Size()));
    } catch (const std::exception&) {
      entry.State = TImageState::Broken;
      return;
    }
    Decode(entry, bytes);
    return;
  }
  bool remote = parsed.Kind == TUrlKind::Http || parsed.Kind == TUrlKind::Https || parsed.Kind == TUrlKind::Ftp;
  entry.State = TImageState::Loading;
  if (!remote || !FetchRemote || !FetchRemote(url)) entry.State = TImageState::Broken;
}

TImageState TImageCache::State(const std::u16string& url) const {
  auto it = entries_.find(url);
  return it == entries_.end() ? TImageState::Unknown : it->second.State;
}

const TGraphic* TImageCache::Image(const std::u16string& url) const {
  auto it = entries_.find(url);
  if (it == entries_.end() || it->second.State != TImageState::Ready) return nullptr;
  return it->second.Picture->Graphic();
}

void TImageCache::Deliver(const std::u16string& url, std::string_view bytes) {
  auto it = entries_.find(url);
  if (it == entries_.end() || it->second.State != TImageState::Loading) return;
  Decode(it->second, bytes);
  if (OnLoaded) OnLoaded(url);
}

void TImageCache::Store(const std::u16string& url, std::string_view bytes) {
  Trim();
  Decode(entries_[url], bytes);
}

void TImageCache::Fail(const std::u16string& url) {
  auto it = entries_.find(url);
  if (it == entries_.end() || it->second.State != TImageState::Loading) return;
  it->second.State = TImageState::Broken;
  if (OnLoaded) OnLoaded(url);
}

void TImageCache::Clear() { entries_.clear(); }
