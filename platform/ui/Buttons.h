// TBitBtn: the push button that can carry a glyph; here it behaves as a push button.
#pragma once

#include "platform/ui/StdCtrls.h"

class TBitBtn : public TButton {
  Q_CLASS(TBitBtn, TButton)
  using TButton::TButton;
};
