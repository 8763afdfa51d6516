#include "platform/ui/Buttons.h"

const TMetaClass& TBitBtn::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TBitBtn>("TBitBtn");
  return cls;
}
