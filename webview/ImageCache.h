#pragma once
// Decoded images of a view by absolute address.  BMP, PNG and JPEG through the
// framework's graphics classes; a file that is missing or not an image of those kinds is
// "broken" and draws nothing, it never fails the page.
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "framework/core/Object.h"

class TGraphic;
class TPicture;

enum class TImageState { Unknown, Loading, Ready, Broken };

class TImageCache {
 public:
  TImageCache();
  ~TImageCache();
  TImageCache(const TImageCache&) = delete;
  TImageCache& operator=(const TImageCache&) = delete;

  // Loads a file: address at once; hands a network address to FetchRemote (the image
  // stays Loading until Deliver or Fail).  Known addresses are left alone.
  void Request(const std::u16string& url);
  TImageState State(const std::u16string& url) const;
  // The image when it is ready, else null.
  const TGraphic* Image(const std::u16string& url) const;

  // Network images: answers false when it cannot fetch (a headless container).
  std::function<bool(const std::u16string& url)> FetchRemote;
  // After a network image arrived or failed.
  std::function<void(const std::u16string& url)> OnLoaded;
  void Deliver(const std::u16string& url, std::string_view bytes);
  // An image whose bytes are at hand already (a page that is one picture).
  void Store(const std::u16string& url, std::string_view bytes);
  void Fail(const std::u16string& url);

  void Clear();
  int Count() const { return static_cast<int>(entries_.size()); }

 private:
  struct TEntry {
    TImageState State = TImageState::Unknown;
    TOwned<TPicture> Picture;
  };
  void Decode(TEntry& entry, std::string_view bytes);
  void Trim();

  std::unordered_map<std::u16string, TEntry> entries_;
};
