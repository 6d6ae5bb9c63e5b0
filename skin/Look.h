#pragma once
// The look one skin file gives: its values and the GDI objects made from them, made together
// and deleted together.
#include <windows.h>

#include "skin/Paint.h"
#include "skin/SkinFile.h"

namespace skin {

inline COLORREF Ref(Color c) { return RGB(c.r, c.g, c.b); }

// The GDI objects one skin needs, made together and deleted together.
struct Look {
  Skin skin;
  Brush window, message, list, text, status, buttonFace;
  HFONT font = nullptr;

  explicit Look(const Skin& s)
      : skin(s),
        window(Ref(s.windowBackground)),
        message(Ref(s.messageBackground)),
        list(Ref(s.listBackground)),
        text(Ref(s.textBackground)),
        status(Ref(s.statusBackground)),
        buttonFace(Ref(s.buttonFace)) {}
  ~Look() {
    if (font) ::DeleteObject(font);
  }
  Look(const Look&) = delete;
  Look& operator=(const Look&) = delete;

  bool Complete() const {
    return window.get() && message.get() && list.get() && text.get() && status.get() &&
           buttonFace.get();
  }
};

// The font of the skin's controls, at the system DPI.
HFONT CreateSkinFont(const Skin& s);

}  // namespace skin
