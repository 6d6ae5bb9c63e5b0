#pragma once
// What the library makes of a window: a kind of control it draws (Kinds.h), a window that holds
// them, or nothing of its concern.

namespace skin {

enum class Role { kNone, kForm, kDialog, kPushButton, kFrame, kOption, kList, kText, kStatus };

}  // namespace skin
