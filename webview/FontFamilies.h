#pragma once
// The face for a CSS font-family list: the first family that is installed (or that the
// platform substitutes), with generic and alias names mapped as the program's pages expect
// (serif -> 宋体, sans-serif -> 黑体, KaiTi_GB2312 -> 楷体_GB2312 …).
#include <functional>
#include <map>
#include <string>
#include <string_view>

class TFontFamilies {
 public:
  using TInstalled = std::function<bool(const std::u16string& face)>;
  explicit TFontFamilies(TInstalled installed);

  // cssFamilies as the engine hands it over, in UTF-8: "'楷体_GB2312', KaiTi, serif".
  std::u16string Resolve(std::string_view cssFamilies);
  static const char16_t* DefaultFace() { return u"宋体"; }

 private:
  bool Installed(const std::u16string& face);

  TInstalled installed_;
  std::map<std::u16string, bool> known_;
  std::map<std::string, std::u16string, std::less<>> resolved_;
};

// What GDI does with the name: a face that comes back under its own name is installed or
// substituted; a missing one comes back as some other face.
bool FaceInstalled(const std::u16string& face);
