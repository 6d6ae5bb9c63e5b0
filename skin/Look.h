#pragma once
// The look one skin file gives: its values and the GDI objects made from them, made together
// and deleted together.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "skin/Gdi.h"
#include "skin/Role.h"
#include "skin/SkinFile.h"

namespace skin {

inline COLORREF Ref(Color c) { return RGB(c.r, c.g, c.b); }

// The GDI objects one skin needs, made together and deleted together.
struct Look {
  Skin skin;
  Brush window, message, list, text, status, buttonFace;
  base::UniqueGdi<HFONT> font;

  explicit Look(const Skin& s)
      : skin(s),
        window(Ref(s.windowBackground)),
        message(Ref(s.messageBackground)),
        list(Ref(s.listBackground)),
        text(Ref(s.textBackground)),
        status(Ref(s.statusBackground)),
        buttonFace(Ref(s.buttonFace)) {}
  Look(const Look&) = delete;
  Look& operator=(const Look&) = delete;

  bool Complete() const {
    return window.get() && message.get() && list.get() && text.get() && status.get() &&
           buttonFace.get();
  }
};

// A caption of a control the skin draws, and the control's role and client size.
struct Caption {
  std::wstring text;
  Role role;
  SIZE size;
};

// The font of the skin's controls at the system DPI: the skin's face and size, in a face that
// shows every character of `texts` (the texts of the windows drawn) and at a size, grown with
// the user's text size, at which every caption fits its control.
HFONT CreateSkinFont(const Skin& s, std::wstring_view texts, const std::vector<Caption>& captions);

}  // namespace skin
