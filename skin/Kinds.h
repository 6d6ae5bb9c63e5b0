#pragma once
// What the library knows of each kind of control it draws, one row per kind (Kinds.cpp): how to
// tell it, its painter, and what its painting depends on. Adding a kind is adding a row and,
// if the library draws it, a painter in the file named for it.
#include <windows.h>

#include <span>

#include "skin/Look.h"
#include "skin/Metrics.h"
#include "skin/ReadWindow.h"
#include "skin/Role.h"

namespace skin {

// What a painter is handed. The caller has filled the client area with the kind's background,
// selected the control's font and made text transparent; a painter draws only what is its own.
struct Canvas {
  HWND window;
  HDC dc;  // the off-screen buffer for a kind painted off-screen, else the target
  RECT client;
  HBRUSH background;  // what the client area was filled with
  const Look& look;
  const Skin& skin;
  Metrics metrics;  // at the DC's DPI
};

struct Kind {
  Role role;
  // A window of this class whose style `styleMatches` is of this kind; one of this class
  // whose style matches no row (an owner-drawn list, a check box) is left to Windows.
  const wchar_t* className;
  bool (*styleMatches)(LONG style);
  // Draws the control; none for a kind Windows draws (its colours come from its parent).
  void (*paint)(const Canvas& canvas);
  // Painted in layers: drawn into a buffer and copied at once, so it does not flicker.
  bool offScreen;
  // The brush its client area is filled with; none: its parent's background. Where Windows
  // draws the kind (wholly, or its text), it fills with this brush and writes in `text`.
  Brush Look::*background;
  Color Skin::*text;
  // Messages of its own after which it has drawn itself and must be painted again, beyond
  // those every drawn kind has (focus, enabling, text, mouse and keys).
  std::span<const UINT> repaintAfter;
  // Shows the mouse over it.
  bool hot;
  // The inside colour of the flat one-pixel border that replaces its sunken 3-D edge; none:
  // its edge, if any, is Windows'.
  Color Skin::*flatEdge;
  // The room its caption has inside the outlines its painter draws, for a control whose
  // caption must fit at the skin font's size; none for one whose caption is not measured.
  SIZE (*captionRoom)(SIZE client, const TEXTMETRICW& font, const Metrics& m);
};

// The kind of `role`; none for a role that is no control the library draws (a form, a message
// box, nothing).
const Kind* KindOf(Role role);
// The role of `window`, of style `style`.
Role RoleOf(HWND window, LONG style);

// Paints `window`, of `kind`, whose parent has the role `parent`, into `dc`.
void Paint(HWND window, const Kind& kind, Role parent, HDC dc, const Look& look);
// A flat one-pixel border of `inside` in `border` in place of the sunken 3-D edge, where the
// control has one.
void PaintFlatEdge(HWND window, COLORREF border, COLORREF inside);

// The painters, each in the file named for its kind, and the room their captions have.
void PaintPushButton(const Canvas& canvas);
void PaintFrame(const Canvas& canvas);
void PaintOption(const Canvas& canvas);
void PaintList(const Canvas& canvas);
void PaintStatus(const Canvas& canvas);
SIZE PushButtonCaptionRoom(SIZE client, const TEXTMETRICW& font, const Metrics& m);
SIZE FrameCaptionRoom(SIZE client, const TEXTMETRICW& font, const Metrics& m);
SIZE OptionCaptionRoom(SIZE client, const TEXTMETRICW& font, const Metrics& m);

}  // namespace skin
