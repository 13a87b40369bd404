#pragma once
// Addresses as the view takes them: URLs with a scheme, Windows paths exactly as the
// templates write them (C:\dir\img\en2.png, \\server\share\x), and bare host names
// ("www.example.cn", which becomes http://www.example.cn).
#include <string>
#include <string_view>

enum class TUrlKind { Invalid, Blank, File, Http, Https, Ftp };

struct TUrl {
  TUrlKind Kind = TUrlKind::Invalid;
  // The address as the view reports it: the text given for URLs with a scheme, a file URL
  // for a Windows path, "http://" + the text for a bare host name.
  std::u16string Text;
  // For Kind == File: the local path (absolute, backslashes).
  std::u16string Path;
  bool Valid() const { return Kind != TUrlKind::Invalid; }
};

// Classifies one address.  Invalid: blank text, control characters, an unsupported
// scheme (mailto:, javascript:, res: …) or a network scheme without a host.
TUrl ParseAddress(std::u16string_view address);

// A reference from a page (href, src, @import) made absolute against the page's address.
// References with a scheme and Windows paths stand alone (a path becomes a file URL).
// Answers "" when a relative reference has nothing to resolve against (about:blank).
std::u16string ResolveUrl(std::u16string_view reference, std::u16string_view base);

// "file:///C:/dir/a%20b.html" -> "C:\dir\a b.html"; "file://server/share/x" -> UNC;
// a path without a drive ("file:///files") is taken relative to the current directory.
// Answers "" for anything that is not a file URL.
std::u16string FileUrlToPath(std::u16string_view url);
// "C:\dir\a b.html" -> "file:///C:/dir/a%20b.html" (UNC paths -> "file://server/share/...").
std::u16string PathToFileUrl(std::u16string_view path);

// %XX sequences decoded as UTF-8 bytes; malformed sequences stay as they are.
std::u16string PercentDecode(std::u16string_view text);
