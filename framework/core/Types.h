#pragma once
// Small value types shared by every layer: points, rectangles, colours, shift states.
#include <windows.h>

#include <cstdint>

struct TPoint {
  int X = 0, Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int x, int y) : X(x), Y(y) {}
  bool operator==(const TPoint& o) const { return X == o.X && Y == o.Y; }
  bool operator!=(const TPoint& o) const { return !(*this == o); }
  POINT ToPOINT() const { return POINT{X, Y}; }
};

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
  TRect(const RECT& r) : Left(r.left), Top(r.top), Right(r.right), Bottom(r.bottom) {}
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(const TPoint& p) const {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
  TRect Offset(int dx, int dy) const { return TRect(Left + dx, Top + dy, Right + dx, Bottom + dy); }
  TRect Inflate(int dx, int dy) const { return TRect(Left - dx, Top - dy, Right + dx, Bottom + dy); }
  TRect Intersect(const TRect& o) const;
  bool Intersects(const TRect& o) const { return !Intersect(o).IsEmpty(); }
  bool operator==(const TRect& o) const {
    return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
  }
  bool operator!=(const TRect& o) const { return !(*this == o); }
  RECT ToRECT() const { return RECT{Left, Top, Right, Bottom}; }
  static TRect Bounds(int left, int top, int width, int height) {
    return TRect(left, top, left + width, top + height);
  }
};

inline TRect TRect::Intersect(const TRect& o) const {
  TRect r(Left > o.Left ? Left : o.Left, Top > o.Top ? Top : o.Top,
          Right < o.Right ? Right : o.Right, Bottom < o.Bottom ? Bottom : o.Bottom);
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

// 0x00BBGGRR, or 0xFF0000nn for the platform's system colour nn.
using TColor = int32_t;

enum : uint32_t {
  ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64
};
using TShiftState = uint32_t;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Shift state of a mouse message's wParam plus the Alt key.
TShiftState ShiftStateFromMouse(WPARAM keys);
// Shift state of the keyboard now.
TShiftState KeyboardShiftState();
